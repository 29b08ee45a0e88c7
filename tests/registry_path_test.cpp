#include "system/registry_path.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "tests/fake_machine.h"

namespace hostconfig {
namespace {

TEST(SplitFirstElement, CutsUpToTheFirstBackslash) {
  struct Case {
    const char* path;
    const char* element;
    const char* rest;
  } cases[] = {
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Acme", "HKEY_LOCAL_MACHINE", "SOFTWARE\\Acme"},
      {"SOFTWARE\\", "SOFTWARE", ""},
      {"Acme", "Acme", ""},
      {"", "", ""},
      // A leading backslash keeps the whole text together, however many
      // backslashes it holds.
      {"\\B\\C", "\\B\\C", ""},
      {"\\", "\\", ""},
      {"A\\\\B", "A", "\\B"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::string path = c.path;
    std::string element = "old";
    SplitFirstElement(&path, &element);
    EXPECT_EQ(c.element, element);
    EXPECT_EQ(c.rest, path);
  }
}

// Each write of a path goes to the key the path names; the same path read
// back gives the written number, so reads and writes resolve paths alike.
TEST(RegistryPath, WriteAndReadResolveTheSameKey) {
  struct Case {
    const char* path;
    const char* key;  // where the value lands; nullptr when nothing is written
  } cases[] = {
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Acme", "HKEY_LOCAL_MACHINE\\SOFTWARE\\ACME"},
      {"hkey_local_machine\\Software\\Acme", "HKEY_LOCAL_MACHINE\\SOFTWARE\\ACME"},
      {"Hkey_Classes_Root\\Acme", "HKEY_CLASSES_ROOT\\ACME"},
      {"HKEY_CURRENT_USER\\Acme", "HKEY_CURRENT_USER\\ACME"},
      {"hkey_current_config\\Acme", "HKEY_CURRENT_CONFIG\\ACME"},
      {"HKEY_DYN_DATA\\Acme", "HKEY_DYN_DATA\\ACME"},
      // Unknown roots fall back to HKEY_CURRENT_USER.
      {"HKEY_USERS\\Acme", "HKEY_CURRENT_USER\\ACME"},
      {"HKLM\\Acme", "HKEY_CURRENT_USER\\ACME"},
      {" HKEY_LOCAL_MACHINE\\Acme", "HKEY_CURRENT_USER\\ACME"},
      {"HKEY_LOCAL_MACHINE \\Acme", "HKEY_CURRENT_USER\\ACME"},
      {"Software\\Acme", "HKEY_CURRENT_USER\\ACME"},
      // A trailing backslash adds no element.
      {"HKEY_LOCAL_MACHINE\\A\\B\\", "HKEY_LOCAL_MACHINE\\A\\B"},
      // After a doubled backslash the rest is opened relative to the root.
      {"HKEY_LOCAL_MACHINE\\A\\\\B\\C", "HKEY_LOCAL_MACHINE\\B\\C"},
      {"HKEY_LOCAL_MACHINE\\A\\\\", "HKEY_LOCAL_MACHINE"},
      // No element after the root: no key is opened and nothing is written.
      {"HKEY_LOCAL_MACHINE", nullptr},
      {"HKEY_LOCAL_MACHINE\\", nullptr},
      {"\\HKEY_LOCAL_MACHINE\\Acme", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    FakeMachine m;
    EXPECT_EQ(c.key != nullptr, WriteRegistryString(m, c.path, "Value", "42"));
    EXPECT_EQ(0, m.open_keys);
    if (c.key != nullptr) {
      const FakeMachine::RegValue* value = m.FindRegistryValue(c.key, "Value");
      ASSERT_NE(nullptr, value);
      EXPECT_EQ(kRegSz, value->type);
      EXPECT_EQ(std::string("42\0", 3), value->data);
      EXPECT_EQ(1u, m.events.size());
    } else {
      EXPECT_TRUE(m.events.empty());
    }
    EXPECT_EQ(c.key != nullptr ? 42 : 0, ReadRegistryInteger(m, c.path, "Value"));
    EXPECT_EQ(0, m.open_keys);
  }
}

TEST(RegistryPath, KeepsOneKeyBetweenSteps) {
  FakeMachine m;
  ASSERT_TRUE(WriteRegistryString(m, "HKEY_LOCAL_MACHINE\\A\\B\\C\\D", "V", "1"));
  // Each key is closed once the next one is open: never more than the two.
  EXPECT_EQ(2, m.max_open_keys);
  EXPECT_EQ(0, m.open_keys);
  EXPECT_EQ(4, m.created_keys);

  FakeMachine single;
  ASSERT_TRUE(WriteRegistryString(single, "HKEY_LOCAL_MACHINE\\A", "V", "1"));
  EXPECT_EQ(1, single.max_open_keys);

  m.max_open_keys = 0;
  EXPECT_EQ(1, ReadRegistryInteger(m, "HKEY_LOCAL_MACHINE\\A\\B\\C\\D", "V"));
  EXPECT_EQ(2, m.max_open_keys);
  EXPECT_EQ(0, m.open_keys);
}

TEST(RegistryPath, WriteStoresTextWithItsNul) {
  struct Case {
    const char* name;
    std::string value;
    std::string stored;
  } cases[] = {
      {"text", "PC-042", std::string("PC-042\0", 7)},
      {"empty", "", std::string("\0", 1)},
      {"double-byte", "\xB9\xAB\xCB\xBE", std::string("\xB9\xAB\xCB\xBE\0", 5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m;
    EXPECT_TRUE(WriteRegistryString(m, "HKEY_LOCAL_MACHINE\\K", "", c.value));
    const FakeMachine::RegValue* value = m.FindRegistryValue("HKEY_LOCAL_MACHINE\\K", "");
    ASSERT_NE(nullptr, value);
    EXPECT_EQ(kRegSz, value->type);
    EXPECT_EQ(c.stored, value->data);
  }
}

TEST(RegistryPath, FailuresGiveNeutralResultsAndCloseEveryKey) {
  struct Case {
    const char* name;
    std::set<std::string> uncreatable;
    std::set<std::string> read_only;
    bool write_ok;
    std::vector<std::string> keys_after_write;  // that exist afterwards
  } cases[] = {
      {"creation fails part way: the keys before it stay",
       {"HKEY_LOCAL_MACHINE\\A\\B"}, {}, false, {"HKEY_LOCAL_MACHINE\\A"}},
      {"creation fails at the last key", {"HKEY_LOCAL_MACHINE\\A\\B\\C"}, {}, false,
       {"HKEY_LOCAL_MACHINE\\A", "HKEY_LOCAL_MACHINE\\A\\B"}},
      {"a key on the way that may only be read", {}, {"HKEY_LOCAL_MACHINE\\A"}, false,
       {"HKEY_LOCAL_MACHINE\\A"}},
      {"the last key may only be read", {}, {"HKEY_LOCAL_MACHINE\\A\\B\\C"}, false,
       {"HKEY_LOCAL_MACHINE\\A\\B\\C"}},
      {"nothing in the way", {}, {}, true, {"HKEY_LOCAL_MACHINE\\A\\B\\C"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m;
    m.uncreatable_keys = c.uncreatable;
    m.read_only_keys = c.read_only;
    EXPECT_EQ(c.write_ok, WriteRegistryString(m, "HKEY_LOCAL_MACHINE\\A\\B\\C", "V", "7"));
    EXPECT_EQ(0, m.open_keys);
    for (const std::string& key : c.keys_after_write)
      EXPECT_EQ(1u, m.registry.count(key)) << key;
    EXPECT_EQ(0u, m.registry.count("HKEY_LOCAL_MACHINE\\A\\B\\C\\V"));
  }
}

TEST(RegistryPath, ReadNeverCreatesAndNeedsFullAccess) {
  FakeMachine m;
  m.SetRegistryValue("HKEY_LOCAL_MACHINE\\A\\B", "V", kRegSz, std::string("5\0", 2));
  auto keys_before = m.registry.size();
  EXPECT_EQ(0, ReadRegistryInteger(m, "HKEY_LOCAL_MACHINE\\A\\Missing\\C", "V"));
  EXPECT_EQ(0, ReadRegistryInteger(m, "HKEY_LOCAL_MACHINE\\A\\B", "Missing"));
  EXPECT_EQ(keys_before, m.registry.size());
  EXPECT_EQ(0, m.created_keys);
  EXPECT_EQ(5, ReadRegistryInteger(m, "HKEY_LOCAL_MACHINE\\A\\B", "V"));
  m.read_only_keys = {"HKEY_LOCAL_MACHINE\\A\\B"};
  EXPECT_EQ(0, ReadRegistryInteger(m, "HKEY_LOCAL_MACHINE\\A\\B", "V"));
  EXPECT_EQ(0, m.open_keys);
}

TEST(RegistryPath, ReadsEachValueType) {
  struct Case {
    const char* name;
    uint32_t type;
    std::string data;
    int32_t expected;
  } cases[] = {
      {"text", kRegSz, std::string("123\0", 4), 123},
      {"text without NUL", kRegSz, "123", 123},
      {"text up to its first NUL", kRegSz, std::string("12\0" "34\0", 6), 12},
      {"text with leading spaces", kRegSz, std::string("  42\0", 5), 42},
      {"text with a trailing space", kRegSz, std::string("42 \0", 4), 0},
      {"text in hexadecimal", kRegSz, std::string("$1F\0", 4), 31},
      {"text with 0x", kRegSz, std::string("0x10\0", 5), 16},
      {"text with a leading zero", kRegSz, std::string("010\0", 4), 10},
      {"empty text", kRegSz, "", 0},
      {"negative text", kRegSz, std::string("-5\0", 3), -5},
      {"expandable text", kRegExpandSz, std::string("77\0", 3), 77},
      {"expandable text with a reference", kRegExpandSz, std::string("%NUM%\0", 6), 0},
      {"dword", kRegDword, std::string("\x0A\0\0\0", 4), 10},
      {"dword with all bits set", kRegDword, "\xFF\xFF\xFF\xFF", -1},
      {"dword, high byte", kRegDword, std::string("\0\0\0\x80", 4), INT32_MIN},
      {"dword, little-endian", kRegDword, "\x01\x02\x03\x04", 0x04030201},
      {"binary of 4 bytes", kRegBinary, std::string("\x01\0\0\0", 4), 1},
      {"binary of 8 bytes", kRegBinary, std::string("\x01\0\0\0\0\0\0\0", 8), 0},
      {"binary of 3 bytes", kRegBinary, std::string("\x01\0\0", 3), 0},
      {"qword", kRegQword, std::string("\x05\0\0\0\0\0\0\0", 8), 0},
      {"multi-text", kRegMultiSz, std::string("5\0\0", 3), 0},
      {"big-endian dword", kRegDwordBigEndian, std::string("\0\0\0\x05", 4), 0},
      {"link", kRegLink, std::string("\x05\0\0\0", 4), 0},
      {"none", kRegNone, std::string("\x05\0\0\0", 4), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m;
    m.SetRegistryValue("HKEY_CURRENT_USER\\K", "V", c.type, c.data);
    EXPECT_EQ(c.expected, ReadRegistryInteger(m, "HKEY_CURRENT_USER\\K", "V"));
    EXPECT_EQ(0, m.open_keys);
  }
}

TEST(RegistryPath, ReadsTextValues) {
  struct Case {
    const char* name;
    uint32_t type;
    std::string data;
    std::string expected;
  } cases[] = {
      {"text", kRegSz, std::string("PC-042\0", 7), "PC-042"},
      {"text without NUL", kRegSz, "PC-042", "PC-042"},
      {"text up to its first NUL", kRegSz, std::string("PC\0" "42\0", 6), "PC"},
      {"double-byte text", kRegSz, std::string("\xB2\xE2\0", 3), "\xB2\xE2"},
      {"empty text", kRegSz, "", ""},
      {"expandable text, not expanded", kRegExpandSz,
       std::string("%WinDir%\0", 9), "%WinDir%"},
      {"dword", kRegDword, std::string("\x41\0\0\0", 4), ""},
      {"binary", kRegBinary, "PC", ""},
      {"multi-text", kRegMultiSz, std::string("PC\0\0", 4), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m;
    m.SetRegistryValue("HKEY_LOCAL_MACHINE\\K", "V", c.type, c.data);
    EXPECT_EQ(c.expected, ReadRegistryString(m, "HKEY_LOCAL_MACHINE\\K", "V"));
    EXPECT_EQ(0, m.open_keys);
  }
}

TEST(RegistryPath, TextReadAndDeleteNeverCreateAKey) {
  FakeMachine m;
  m.SetRegistryValue("HKEY_LOCAL_MACHINE\\A\\B", "V", kRegSz, std::string("x\0", 2));
  auto keys_before = m.registry.size();
  EXPECT_EQ("", ReadRegistryString(m, "HKEY_LOCAL_MACHINE\\A\\Missing", "V"));
  EXPECT_EQ("", ReadRegistryString(m, "HKEY_LOCAL_MACHINE\\A\\B", "Missing"));
  EXPECT_FALSE(DeleteRegistryValue(m, "HKEY_LOCAL_MACHINE\\A\\Missing", "V"));
  EXPECT_FALSE(DeleteRegistryValue(m, "HKEY_LOCAL_MACHINE\\A\\B", "Missing"));
  EXPECT_EQ(keys_before, m.registry.size());
  EXPECT_EQ(0, m.created_keys);
  EXPECT_TRUE(m.events.empty());

  m.read_only_keys = {"HKEY_LOCAL_MACHINE\\A\\B"};
  EXPECT_EQ("", ReadRegistryString(m, "HKEY_LOCAL_MACHINE\\A\\B", "V"));
  EXPECT_FALSE(DeleteRegistryValue(m, "HKEY_LOCAL_MACHINE\\A\\B", "V"));
  EXPECT_NE(nullptr, m.FindRegistryValue("HKEY_LOCAL_MACHINE\\A\\B", "V"));

  m.read_only_keys.clear();
  EXPECT_EQ("x", ReadRegistryString(m, "hkey_local_machine\\a\\b", "v"));
  EXPECT_TRUE(DeleteRegistryValue(m, "hkey_local_machine\\a\\b", "v"));
  EXPECT_EQ(nullptr, m.FindRegistryValue("HKEY_LOCAL_MACHINE\\A\\B", "V"));
  EXPECT_EQ(1u, m.registry.count("HKEY_LOCAL_MACHINE\\A\\B"));
  EXPECT_EQ(0, m.open_keys);
}

TEST(TextToInteger, FollowsTheDecimalAndHexadecimalRules) {
  struct Case {
    const char* text;
    bool ok;
    int32_t value;
  } cases[] = {
      {"0", true, 0},
      {"123", true, 123},
      {"+123", true, 123},
      {"-123", true, -123},
      {"-0", true, 0},
      {"   7", true, 7},
      {"007", true, 7},
      {"0009", true, 9},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, INT32_MIN},
      {"00000000002147483647", true, 2147483647},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"99999999999999999999", false, 0},
      {"$1f", true, 31},
      {"$1F", true, 31},
      {"x10", true, 16},
      {"X10", true, 16},
      {"0x10", true, 16},
      {"0XaB", true, 171},
      {"  $10", true, 16},
      {"$7FFFFFFF", true, 2147483647},
      {"$80000000", true, INT32_MIN},
      {"$FFFFFFFF", true, -1},
      {"0xffffffff", true, -1},
      {"$000000000FFFFFFFF", true, -1},
      {"$100000000", false, 0},
      {"", false, 0},
      {"   ", false, 0},
      {"\t5", false, 0},
      {"5 ", false, 0},
      {"5x", false, 0},
      {"1.5", false, 0},
      {"-", false, 0},
      {"+", false, 0},
      {"$", false, 0},
      {"0x", false, 0},
      {"x", false, 0},
      {"-$10", false, 0},
      {"-0x10", false, 0},
      {"$-10", false, 0},
      {"+$10", false, 0},
      {"$1G", false, 0},
      {"--5", false, 0},
      {"- 5", false, 0},
      {"00x10", false, 0},
      {"0b101", false, 0},
      {"1e3", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    int32_t value = 12345;
    EXPECT_EQ(c.ok, TextToInteger(c.text, &value));
    EXPECT_EQ(c.value, value);
  }
}

}  // namespace
}  // namespace hostconfig
