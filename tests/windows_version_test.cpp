#include "discovery/windows_version.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/fake_machine.h"

namespace hostconfig {
namespace {

constexpr char kCurrentVersion[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

std::string Dword(uint32_t value) {
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

TEST(DetectDecimalChar, TakesTheLocaleSeparator) {
  struct Case {
    const char* locale;
    const char* expected;
  } cases[] = {{".", "."}, {",", ","}, {"", "."}, {",.", ","}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.locale);
    FakeMachine m;
    m.decimal_separator = c.locale;
    EXPECT_EQ(c.expected, DetectDecimalChar(m));
  }
}

TEST(ReadWindowsVersion, RegistryThenGetVersionExThenZero) {
  struct Case {
    const char* name;
    std::optional<uint32_t> reg_major;
    std::optional<uint32_t> reg_minor;
    bool version_ex_ok;
    uint32_t ex_major, ex_minor;
    const char* decimal_separator;
    const char* text;
    double version;
    bool asks_version_ex;
  } cases[] = {
      {"registry 10.0", 10, 0, true, 6, 2, ".", "10.0", 10.0, false},
      {"registry 6.3", 6, 3, true, 6, 2, ".", "6.3", 6.3, false},
      {"no registry, 5.1", {}, {}, true, 5, 1, ".", "5.1", 5.1, true},
      {"no registry, 6.0", {}, {}, true, 6, 0, ".", "6.0", 6.0, true},
      {"registry major 0 is ignored", 0, 3, true, 6, 1, ".", "6.1", 6.1, true},
      {"registry minor absent reads 0", 10, {}, true, 6, 2, ".", "10.0", 10.0, false},
      {"only the minor in the registry", {}, 3, true, 5, 2, ".", "5.2", 5.2, true},
      {"comma locale", 6, 1, true, 0, 0, ",", "6.1", 6.1, false},
      {"comma locale, GetVersionEx", {}, {}, true, 5, 1, ",", "5.1", 5.1, true},
      {"two-digit minor", 6, 10, true, 0, 0, ".", "6.10", 6.1, false},
      {"two-digit minor, comma locale", 6, 10, true, 0, 0, ",", "6.10", 6.1, false},
      {"threshold", 5, 95, true, 0, 0, ".", "5.95", 5.95, false},
      {"both fail", {}, {}, false, 0, 0, ".", "0.0", 0.0, true},
      {"both fail, comma locale", {}, {}, false, 0, 0, ",", "0.0", 0.0, true},
      {"registry major 0, GetVersionEx fails", 0, 5, false, 0, 0, ".", "0.0", 0.0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m;
    if (c.reg_major)
      m.SetRegistryValue(kCurrentVersion, "CurrentMajorVersionNumber", kRegDword,
                         Dword(*c.reg_major));
    if (c.reg_minor)
      m.SetRegistryValue(kCurrentVersion, "CurrentMinorVersionNumber", kRegDword,
                         Dword(*c.reg_minor));
    m.version_ex_ok = c.version_ex_ok;
    m.version_major = c.ex_major;
    m.version_minor = c.ex_minor;
    m.decimal_separator = c.decimal_separator;
    EXPECT_EQ(c.text, ReadVersionText(m));
    m.version_ex_calls = 0;
    EXPECT_EQ(c.version, ReadWindowsVersion(m, DetectDecimalChar(m)));
    EXPECT_EQ(c.asks_version_ex, m.version_ex_calls == 1);
    EXPECT_EQ(0, m.open_keys);
    EXPECT_EQ(0, m.created_keys);
  }
}

TEST(ReadDecimal, ReadsWithTheGivenSeparator) {
  struct Case {
    const char* text;
    char separator;
    double value;
  } cases[] = {
      {"6.1", '.', 6.1},
      {"6,1", ',', 6.1},
      {"6.1", ',', 6.0},  // "." is no separator under a comma locale
      {"5,95", ',', 5.95},
      {"6.10", '.', 6.1},
      {"10.0", '.', 10.0},
      {"0.0", '.', 0.0},
      {"4294967295.2147483648", '.', 4294967295.2147483648},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.value, ReadDecimal(c.text, c.separator));
  }
}

TEST(ReadRegistryVersionText, WritesBothNumbersUnsigned) {
  FakeMachine m;
  m.SetRegistryValue(kCurrentVersion, "CurrentMajorVersionNumber", kRegDword,
                     Dword(0xFFFFFFFF));
  m.SetRegistryValue(kCurrentVersion, "CurrentMinorVersionNumber", kRegSz,
                     std::string("$80000000\0", 10));
  EXPECT_EQ("4294967295.2147483648", ReadRegistryVersionText(m));
}

}  // namespace
}  // namespace hostconfig
