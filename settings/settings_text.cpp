#include "settings/settings_text.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "util/ascii.h"
#include "util/double_byte.h"
#include "util/utf8.h"

namespace hostconfig {

namespace {

// What the pre-check needs of a key text: whether it is printable ASCII
// throughout, and a hash of its sequence of ASCII digits.
struct DigitProfile {
  bool printable = true;
  uint64_t digits = 0xCBF29CE484222325u;  // FNV-1a offset basis
};

DigitProfile ProfileOf(std::string_view text) {
  DigitProfile profile;
  for (char c : text) {
    if (!IsPrintableAscii(c)) {
      profile.printable = false;
    } else if (IsAsciiDigit(c)) {
      profile.digits = (profile.digits ^ static_cast<unsigned char>(c)) *
                       0x100000001B3u;  // FNV-1a prime
    }
  }
  return profile;
}

// The pre-check. A key text and a key that are both printable ASCII and
// whose sequences of ASCII digits differ can never compare equal, so the
// comparison is not needed:
// - printable ASCII bytes (0x20-0x7E) mean the same characters in every
//   ANSI code page, and none of them can be the second byte of a
//   double-byte character when every byte is below 0x80;
// - digits are never ignorable, never take part in a contraction or an
//   expansion, and keep primary weights of their own in every Windows
//   locale, so equal sort keys imply equal digit sequences.
// Different hashes imply different digit sequences; equal hashes only mean
// that the comparison is made.
bool CannotCompareEqual(const DigitProfile& a, const DigitProfile& b) {
  return a.printable && b.printable && a.digits != b.digits;
}

// One key's lookup as the lines go by.
struct KeyState {
  std::string_view key;
  std::string quoted;
  DigitProfile profile;
  bool plain_seen = false;  // matched, with an empty value
  size_t plain_line = 0;
  bool quoted_seen = false;
  KeyMatch quoted_match;
  bool done = false;
  KeyMatch result;

  // Takes one line with "=". Returns true when the lookup has ended.
  bool Take(const KeyComparison& equal, std::string_view name,
            std::string_view value, size_t line_start) {
    if (!plain_seen && equal(name, key)) {
      if (!value.empty()) {
        result = KeyMatch{true, line_start, value};
        return done = true;
      }
      plain_seen = true;
      plain_line = line_start;
    } else if (!quoted_seen && name.find('"') != std::string_view::npos &&
               equal(name, quoted)) {
      // Only key texts holding a '"' can equal the quoted key, which spares
      // the second comparison on almost every line.
      quoted_seen = true;
      quoted_match = KeyMatch{true, line_start, value};
    }
    return done = plain_seen && quoted_seen;
  }

  // The plain key gave no value: the quoted key's line, else the plain
  // key's empty one.
  void Finish() {
    if (result.found) return;
    if (quoted_seen) {
      result = quoted_match;
    } else if (plain_seen) {
      result = KeyMatch{true, plain_line, std::string_view()};
    }
  }
};

// Up to this many keys every key is tested on every line; beyond it the
// keys are found by the hash of their digits.
constexpr size_t kDirectKeys = 8;

std::u16string Utf16OfUtf8(std::string_view bytes) {
  std::u16string wide;
  DecodeUtf8(bytes, &wide);
  return wide;
}

// Little-endian code units; an odd last byte is dropped.
std::u16string Utf16OfUtf16Le(std::string_view bytes) {
  std::u16string wide;
  wide.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    wide += static_cast<char16_t>(
        static_cast<unsigned char>(bytes[i]) |
        (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return wide;
}

// A file without a mark is UTF-8 when the text the tool reads of it, up to
// its first zero byte, holds a byte above 0x7F and is well-formed UTF-8.
// Text of the double-byte code pages almost never is: their second bytes
// break the sequences that their lead bytes would start in UTF-8.
bool IsUtf8WithoutMark(std::string_view bytes) {
  const std::string_view text = bytes.substr(0, bytes.find('\0'));
  const bool beyond_ascii =
      std::any_of(text.begin(), text.end(),
                  [](char c) { return static_cast<unsigned char>(c) > 0x7F; });
  return beyond_ascii && IsWellFormedUtf8(text);
}

// The code point of the character at wide[i] and how many code units it
// takes: a surrogate pair is one character.
char32_t CodeAt(std::u16string_view wide, size_t i, size_t* units) {
  const char16_t c = wide[i];
  if (c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size() &&
      wide[i + 1] >= 0xDC00 && wide[i + 1] < 0xE000) {
    *units = 2;
    return 0x10000 + ((char32_t(c) - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
  }
  *units = 1;
  return c;
}

// UTF-16 to the ANSI code page. One conversion in the usual case; only when
// it lost characters is the text converted once more, character by
// character, to learn which bytes stand for the lost ones. ASCII needs no
// call: it converts to itself in every ANSI code page.
void ConvertToAnsi(const TextRules& rules, std::u16string_view wide,
                   DecodedText* decoded) {
  bool lossy = false;
  decoded->text = rules.from_utf16(wide, &lossy);
  if (!lossy) return;
  std::string text;
  text.reserve(decoded->text.size());
  for (size_t i = 0; i < wide.size();) {
    if (wide[i] < 0x80) {
      text += static_cast<char>(wide[i++]);
      continue;
    }
    size_t units = 1;
    const char32_t code = CodeAt(wide, i, &units);
    bool changed = false;
    const std::string piece = rules.from_utf16(wide.substr(i, units), &changed);
    if (changed) decoded->lossy.push_back({text.size(), piece.size(), code});
    text += piece;
    i += units;
  }
  decoded->text = std::move(text);
}

}  // namespace

DecodedText DecodeSettingsFile(const TextRules& rules, std::string bytes) {
  DecodedText decoded;
  std::string_view view = bytes;
  if (view.starts_with("\xEF\xBB\xBF")) {
    decoded.encoding = TextEncoding::kUtf8Mark;
    ConvertToAnsi(rules, Utf16OfUtf8(view.substr(3)), &decoded);
  } else if (view.starts_with("\xFF\xFE")) {
    decoded.encoding = TextEncoding::kUtf16Mark;
    ConvertToAnsi(rules, Utf16OfUtf16Le(view.substr(2)), &decoded);
  } else if (IsUtf8WithoutMark(view)) {
    decoded.encoding = TextEncoding::kUtf8NoMark;
    ConvertToAnsi(rules, Utf16OfUtf8(view), &decoded);
  } else {
    decoded.text = std::move(bytes);
  }
  return decoded;
}

std::vector<LossyChar> LossyCharsIn(const std::vector<LossyChar>& lossy,
                                    size_t begin, size_t length) {
  std::vector<LossyChar> found;
  for (const LossyChar& c : lossy) {
    if (c.offset < begin + length && begin < c.offset + c.length)
      found.push_back(c);
  }
  return found;
}

bool NextSettingsLine(std::string_view text, size_t* pos,
                      std::string_view* line) {
  size_t i = *pos;
  if (i >= text.size() || text[i] == '\0') return false;
  size_t start = i;
  while (i < text.size() && text[i] != '\r' && text[i] != '\n' &&
         text[i] != '\0')
    ++i;
  *line = text.substr(start, i - start);
  if (i < text.size() && text[i] == '\r') ++i;
  if (i < text.size() && text[i] == '\n') ++i;
  *pos = i;
  return true;
}

std::vector<KeyMatch> FindKeysInText(const KeyComparison& equal,
                                     std::string_view text,
                                     const std::vector<std::string_view>& keys,
                                     bool precheck) {
  std::vector<KeyState> states(keys.size());
  for (size_t k = 0; k < keys.size(); ++k) {
    states[k].key = keys[k];
    states[k].quoted = "\"" + std::string(keys[k]) + "\"";
    states[k].profile = ProfileOf(keys[k]);
  }
  // With many keys, each line is offered only to the keys with its digits
  // (and to those that are not printable ASCII).
  const bool by_digits = precheck && keys.size() > kDirectKeys;
  std::unordered_map<uint64_t, std::vector<size_t>> by_hash;
  std::vector<size_t> always;
  if (by_digits) {
    for (size_t k = 0; k < keys.size(); ++k) {
      if (states[k].profile.printable) {
        by_hash[states[k].profile.digits].push_back(k);
      } else {
        always.push_back(k);
      }
    }
  }

  size_t remaining = keys.size();
  auto offer = [&](size_t k, std::string_view name, std::string_view value,
                   size_t line_start) {
    KeyState& state = states[k];
    if (!state.done && state.Take(equal, name, value, line_start)) --remaining;
  };
  size_t pos = 0;
  std::string_view line;
  while (remaining > 0) {
    const size_t line_start = pos;
    if (!NextSettingsLine(text, &pos, &line)) break;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view name = line.substr(0, equals);
    const std::string_view value = line.substr(equals + 1);
    const DigitProfile profile =
        precheck ? ProfileOf(name) : DigitProfile{false, 0};
    if (by_digits && profile.printable) {
      auto bucket = by_hash.find(profile.digits);
      if (bucket != by_hash.end())
        for (size_t k : bucket->second) offer(k, name, value, line_start);
      for (size_t k : always) offer(k, name, value, line_start);
      continue;
    }
    for (size_t k = 0; k < keys.size(); ++k) {
      if (precheck && CannotCompareEqual(profile, states[k].profile)) continue;
      offer(k, name, value, line_start);
    }
  }

  std::vector<KeyMatch> matches;
  matches.reserve(keys.size());
  for (KeyState& state : states) {
    state.Finish();
    matches.push_back(state.result);
  }
  return matches;
}

KeyMatch FindKeyInText(const KeyComparison& equal, std::string_view text,
                       std::string_view key, bool precheck) {
  return FindKeysInText(equal, text, {key}, precheck).front();
}

void TrimControl(std::string& text) {
  auto control = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  size_t end = text.size();
  while (end > 0 && control(text[end - 1])) --end;
  size_t begin = 0;
  while (begin < end && control(text[begin])) ++begin;
  text = text.substr(begin, end - begin);
}

void CleanSettingValue(std::string& value, const LeadBytes& lead) {
  ReplaceDoubleByte(value, "\xA3\xBB", ';', lead);
  // The whole comment goes, however long it is.
  size_t comment = value.find(';');
  if (comment != std::string::npos) value.erase(comment);
  TrimControl(value);
}

}  // namespace hostconfig
