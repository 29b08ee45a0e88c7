// Inputs from fuzzing kept as regression tests: each row is an input that a
// fuzz target reached and that sits on an edge of the code (growth bounds,
// digit runs, truncated lines, odd registry data). Fuzz findings are added
// here as rows with the input that caused them.
#include <string>

#include <gtest/gtest.h>

#include "settings/settings_file.h"
#include "settings/settings_text.h"
#include "system/command_runner.h"
#include "system/registry_path.h"
#include "tests/fake_machine.h"

namespace hostconfig {
namespace {

TEST(FuzzRegression, ExpansionOfSelfReferringValuesEnds) {
  struct Case {
    const char* name;
    std::string value;
    std::string text;
  } cases[] = {
      {"grows by one byte a pass", "x%A%", "%A%"},
      {"grows by a long value", std::string(4000, 'y') + "%A%", "%A%"},
      {"refers to itself twice", "a%A%%A%", "pre %A% post"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine machine;
    machine.environment["A"] = c.value;
    std::string text = c.text;
    ExpandPercentVariables(machine, &text);
    EXPECT_GT(text.size(), 32767u);
    EXPECT_LE(text.size(), 32767u + c.value.size());
    EXPECT_EQ(text.substr(0, c.text.find('%')), c.text.substr(0, c.text.find('%')));
  }
}

TEST(FuzzRegression, TextToIntegerEdges) {
  struct Case {
    std::string text;
    bool accepted;
    int32_t value;
  } cases[] = {
      {std::string(1000, '0') + "1", true, 1},
      {"0x" + std::string(1000, '0') + "FFFFFFFF", true, -1},
      {"-" + std::string(30, '0'), true, 0},
      {"-2147483648", true, INT32_MIN},
      {"-2147483649", false, 0},
      {"99999999999999999999", false, 0},
      {"$100000000", false, 0},
      {"+", false, 0},
      {"$-1", false, 0},
      {"-$1", false, 0},
      {"0x", false, 0},
      {std::string("1\0", 2), false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 40));
    int32_t value = 77;
    EXPECT_EQ(TextToInteger(c.text, &value), c.accepted);
    EXPECT_EQ(value, c.value);
  }
}

TEST(FuzzRegression, LookupAtTheEndOfTheText) {
  struct Case {
    const char* name;
    std::string text;
    std::string value;
  } cases[] = {
      {"key and '=' end the text", "Mask=", ""},
      {"quoted key and '=' end the text", "Mask=\n\"Mask\"=", ""},
      {"zero byte right after '='", std::string("Mask=\0" "255.0.0.0", 15), ""},
      {"lone CR after the value", "Mask=1\r", "1"},
      {"quoted key first, then the plain one empty", "\"Mask\"=2\nMask=", "2"},
      {"'=' only", "=", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine machine;
    const KeyMatch match =
        FindKeyInText(SystemTextRules(machine).keys_equal, c.text, "Mask");
    EXPECT_EQ(match.value, c.value);
  }
}

TEST(FuzzRegression, RegistryIntegerOfOddData) {
  struct Case {
    const char* name;
    uint32_t type;
    std::string data;
    int32_t value;
  } cases[] = {
      {"DWORD of eight bytes", kRegDword, std::string("\x01\0\0\0\0\0\0\0", 8), 0},
      {"string without a NUL", kRegSz, "42", 42},
      {"string with bytes after its NUL", kRegSz, std::string("7\0x", 3), 7},
      {"empty string", kRegExpandSz, "", 0},
      {"binary of three bytes", kRegBinary, "\x01\x02\x03", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine machine;
    machine.SetRegistryValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\Lab", "V", c.type, c.data);
    EXPECT_EQ(ReadRegistryInteger(machine, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Lab", "V"),
              c.value);
    EXPECT_EQ(machine.open_keys, 0);
  }
}

}  // namespace
}  // namespace hostconfig
