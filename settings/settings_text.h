// The text of a settings file: how its bytes become text, how it splits into
// lines, how a key is found in it, and how a value is cleaned.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "settings/text_rules.h"

namespace hostconfig {

// The file's text as lines are split from it: a file starting with the UTF-8
// mark (EF BB BF) or the UTF-16LE mark (FF FE) is converted to the ANSI code
// page without its mark; any other file is its own bytes.
std::string DecodeSettingsText(const TextRules& rules, std::string bytes);

// The line of text that starts at *pos: the bytes up to the next CR, LF or
// zero byte. *pos moves past the line and one CR and then one LF after it,
// so CR LF is one line end and LF CR two. False at the end of the text,
// which a zero byte ends too.
bool NextSettingsLine(std::string_view text, size_t* pos,
                      std::string_view* line);

// Where the lookup of one key landed.
struct KeyMatch {
  // A line's key text compared equal to the key (or to the key in quotes).
  bool found = false;
  // The offset in the text of the line the value comes from.
  size_t line_start = 0;
  // The raw value: everything after that line's first "=", possibly empty.
  std::string_view value;
};

// The lookup of one key in decoded text. The first line whose text before
// its first "=" equals the key (by `equal`, whole and untrimmed) gives the
// value; when that value is empty, the first line with the key in double
// quotes gives it instead, empty or not. One pass, no line copied.
// With `precheck`, lines whose key text provably cannot compare equal (both
// printable ASCII, with other sequences of digits) are passed over without
// calling `equal`; the result is the same as without it.
KeyMatch FindKeyInText(const KeyComparison& equal, std::string_view text,
                       std::string_view key, bool precheck = true);

// The lookups of many keys in one pass, each exactly as FindKeyInText finds
// it; result i belongs to keys[i].
std::vector<KeyMatch> FindKeysInText(const KeyComparison& equal,
                                     std::string_view text,
                                     const std::vector<std::string_view>& keys,
                                     bool precheck);

// Fullwidth semicolons (GBK A3 BB) become ";", everything from the first ";"
// on is removed, and bytes <= 0x20 are trimmed from both ends.
void CleanSettingValue(std::string& value, const LeadBytes& lead);

// Removes every byte <= 0x20 from both ends.
void TrimControl(std::string& text);

}  // namespace hostconfig
