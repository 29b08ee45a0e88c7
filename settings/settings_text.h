// The text of a settings file: how its bytes become text, how it splits into
// lines, how a key is found in it, and how a value is cleaned.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "settings/text_rules.h"

namespace hostconfig {

// How the bytes of a settings file were read.
enum class TextEncoding {
  kCodePage,   // the ANSI code page: the bytes as they are
  kUtf8NoMark, // UTF-8 without a byte-order mark, converted
  kUtf8Mark,   // UTF-8 after the mark EF BB BF, converted
  kUtf16Mark,  // UTF-16LE after the mark FF FE, converted
};

// A character of the file that the ANSI code page lacks: the conversion put
// "?" or a look-alike in its place.
struct LossyChar {
  size_t offset = 0;  // of the bytes that stand for it, in the decoded text
  size_t length = 0;
  char32_t code = 0;  // the character of the file
};

struct DecodedText {
  std::string text;
  TextEncoding encoding = TextEncoding::kCodePage;
  // In the order of the text; empty when the conversion kept every character.
  std::vector<LossyChar> lossy;
};

// The file's text as lines are split from it. A file starting with the
// UTF-8 mark (EF BB BF) or the UTF-16LE mark (FF FE) is converted to the ANSI
// code page without its mark. A file without a mark is converted from UTF-8
// when its text (up to the first zero byte, which ends it) holds a byte above
// 0x7F and is well-formed UTF-8 throughout. Any other file is its own bytes.
DecodedText DecodeSettingsFile(const TextRules& rules, std::string bytes);

// The lossy characters whose bytes overlap text[begin, begin + length).
std::vector<LossyChar> LossyCharsIn(const std::vector<LossyChar>& lossy,
                                    size_t begin, size_t length);

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
