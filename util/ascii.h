// ASCII letter case and character classes. Only the bytes "a" to "z" and
// "A" to "Z" change case; every other byte, double-byte characters
// included, is left alone.
#pragma once

#include <string>
#include <string_view>

namespace hostconfig {

inline char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c;
}

inline char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Upper-cases a to z in place, byte by byte.
inline void UpperCaseAscii(std::string& text) {
  for (char& c : text) c = UpperAscii(c);
}

inline std::string UpperAscii(std::string_view text) {
  std::string out(text);
  UpperCaseAscii(out);
  return out;
}

// Equal when the texts differ only in the case of ASCII letters.
inline bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  return true;
}

inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

inline bool IsHexDigit(char c) {
  return IsAsciiDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

inline bool IsAsciiAlnum(char c) {
  return IsAsciiDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// 0x20 to 0x7E: the bytes that mean the same character in every ANSI code
// page and never belong to a double-byte character.
inline bool IsPrintableAscii(char c) { return c >= 0x20 && c <= 0x7E; }

}  // namespace hostconfig
