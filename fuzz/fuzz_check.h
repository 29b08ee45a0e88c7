// Invariant checks for the fuzz targets: a broken invariant prints what was
// expected and aborts, which libFuzzer records as a finding with its input.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace hostconfig::fuzz {

// Printable form of a byte string: bytes outside 0x20..0x7E as \xNN.
inline std::string Escaped(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : bytes) {
    unsigned char b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F && b != '\\') {
      out += c;
    } else {
      out += "\\x";
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
  return out;
}

inline std::string Show(std::string_view bytes) {
  return "\"" + Escaped(bytes) + "\"";
}
inline std::string Show(const std::string& bytes) {
  return Show(std::string_view(bytes));
}
inline std::string Show(const char* bytes) { return Show(std::string_view(bytes)); }
inline std::string Show(long long number) { return std::to_string(number); }
inline std::string Show(int number) { return std::to_string(number); }
inline std::string Show(unsigned number) { return std::to_string(number); }
inline std::string Show(unsigned long number) { return std::to_string(number); }
inline std::string Show(unsigned long long number) { return std::to_string(number); }
inline std::string Show(bool flag) { return flag ? "true" : "false"; }

[[noreturn]] inline void Fail(const char* file, int line, const char* what,
                              const std::string& detail) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s\n%s\n", file, line, what,
               detail.c_str());
  std::abort();
}

}  // namespace hostconfig::fuzz

#define FUZZ_CHECK(condition)                                                \
  do {                                                                       \
    if (!(condition))                                                        \
      ::hostconfig::fuzz::Fail(__FILE__, __LINE__, #condition, std::string()); \
  } while (0)

#define FUZZ_CHECK_EQ(actual, expected)                                      \
  do {                                                                       \
    const auto& fuzz_a = (actual);                                           \
    const auto& fuzz_e = (expected);                                         \
    if (!(fuzz_a == fuzz_e))                                                 \
      ::hostconfig::fuzz::Fail(                                              \
          __FILE__, __LINE__, #actual " == " #expected,                      \
          "  actual:   " + ::hostconfig::fuzz::Show(fuzz_a) +                 \
              "\n  expected: " + ::hostconfig::fuzz::Show(fuzz_e));           \
  } while (0)
