// The settings file: where it is, the lookup of one key, the cleaning of a
// value, and the global defaults.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "os/system_interface.h"

namespace hostconfig {

struct Run;

// The executable's path with its extension replaced by ".ini" (or ".ini"
// appended when its name has none). Lead bytes keep a "\" or "." that is the
// second byte of a double-byte character from counting. Any length works.
std::string SettingsPathFor(std::string_view module_path, const LeadBytes& lead);

// The file's text as lines are split from it: a file starting with the UTF-8
// mark (EF BB BF) or the UTF-16LE mark (FF FE) is converted to the ANSI code
// page without its mark; any other file is its own bytes.
std::string DecodeSettingsText(SystemInterface& system, std::string bytes);

// The line of text that starts at *pos: the bytes up to the next CR, LF or
// zero byte. *pos moves past the line and one CR and then one LF after it,
// so CR LF is one line end and LF CR two. False at the end of the text,
// which a zero byte ends too.
bool NextSettingsLine(std::string_view text, size_t* pos,
                      std::string_view* line);

// The raw value of `key` in the settings file at `path`, or empty text. The
// first line whose text before its first "=" equals the key (ignoring case,
// by the system's locale compare) gives the value; when that value is empty
// the key in double quotes is looked up instead. A missing file or a
// directory reads as empty. Raises Failure "EFOpenError" ("Cannot open file
// PATH") when the file is present but cannot be opened.
void ReadSetting(SystemInterface& system, const std::string& path,
                 std::string_view key, std::string* value);

// ReadSetting's lookup over text already decoded, quoted retry included, in
// one pass over the text and without copying lines. Lines end at CR, LF or
// CR LF; a zero byte ends the text. Sets *value (empty when not found).
void FindKeyInText(SystemInterface& system, std::string_view text,
                   std::string_view key, std::string* value);

// Fullwidth semicolons (GBK A3 BB) become ";", everything from the first ";"
// on is removed, and bytes <= 0x20 are trimmed from both ends.
void CleanSettingValue(std::string& value, const LeadBytes& lead);

// Removes every byte <= 0x20 from both ends.
void TrimControl(std::string& text);

// Replaces every `from` (a two-byte pattern) by `to`, left to right, never
// starting a match on the second byte of a double-byte character.
void ReplaceDoubleByte(std::string& text, std::string_view from, char to,
                       const LeadBytes& lead);

// True when position `pos` of text holds the second byte of a double-byte
// character: the lead bytes directly in front of it are odd in number.
bool IsTrailByte(std::string_view text, size_t pos, const LeadBytes& lead);

// ReadSetting followed by CleanSettingValue: the cleaned value of a key.
std::string ReadCleanSetting(SystemInterface& system, const std::string& path,
                             std::string_view key);

// Sets run.SettingsPath and the four defaults from "Mask", "Gateway", "DNS1"
// and "DNS2".
void ReadGlobalDefaults(Run& run);

}  // namespace hostconfig
