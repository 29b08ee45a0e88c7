#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "settings/failure.h"
#include "settings/settings_file.h"
#include "settings/settings_text.h"
#include "util/double_byte.h"
#include "tests/fake_machine.h"
#include "tests/test_files.h"

namespace hostconfig {
namespace {

const std::string kPath = "C:\\kits\\hostconfig.ini";

LeadBytes GbkLead() {
  FakeMachine machine;
  machine.UseGbkLeadBytes();
  return machine.lead_bytes;
}

// Counts the locale comparisons and keeps the key texts they were given.
class CountingMachine : public FakeMachine {
 public:
  int compares = 0;
  std::vector<std::string> key_texts;
  bool keep_texts = true;
  bool CompareStringIgnoreCase(std::string_view a, std::string_view b) override {
    ++compares;
    if (keep_texts) key_texts.emplace_back(a);
    return FakeMachine::CompareStringIgnoreCase(a, b);
  }
};

TEST(SettingsPath, ExtensionBecomesIni) {
  struct Case {
    const char* name;
    std::string module;
    bool gbk;
    std::string expected;
  } cases[] = {
      {"extension replaced", "D:\\kits\\lab.exe", true, "D:\\kits\\lab.ini"},
      {"last extension only", "D:\\kits\\lab.v2.exe", true, "D:\\kits\\lab.v2.ini"},
      {"no extension", "D:\\kits\\lab", true, "D:\\kits\\lab.ini"},
      {"dot in a directory", "D:\\tools.old\\lab", true, "D:\\tools.old\\lab.ini"},
      {"drive-relative name", "D:lab", true, "D:lab.ini"},
      {"dot then drive colon", "x.y:lab", true, "x.y:lab.ini"},
      {"GBK directory", "D:\\\xD6\xD0\\lab.exe", true, "D:\\\xD6\xD0\\lab.ini"},
      {"GBK name, no extension", "D:\\kits\\\xD6\xD0", true, "D:\\kits\\\xD6\xD0.ini"},
      // B1 5C is one character whose second byte looks like "\".
      {"trail byte \\ is no separator", "D:\\kits\\lab.\xB1\x5C", true,
       "D:\\kits\\lab.ini"},
      {"without double-byte support it is one", "D:\\kits\\lab.\xB1\x5C", false,
       "D:\\kits\\lab.\xB1\x5C.ini"},
      {"longer than 260 bytes",
       "C:\\" + std::string(300, 'd') + "\\hostconfig.exe", true,
       "C:\\" + std::string(300, 'd') + "\\hostconfig.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, SettingsPathFor(c.module, c.gbk ? GbkLead() : LeadBytes{}));
  }
}

TEST(TrailByte, OddRunOfLeadBytesBefore) {
  const LeadBytes gbk = GbkLead();
  const std::string text = "a\xB0\xA3\xBB\xA1" "b\x81\x81\x81";
  const bool expected[] = {false, false, true, false, true, false, false, true, false};
  ASSERT_EQ(std::size(expected), text.size());
  for (size_t pos = 0; pos < text.size(); ++pos) {
    SCOPED_TRACE(pos);
    EXPECT_EQ(expected[pos], IsTrailByte(text, pos, gbk));
    EXPECT_FALSE(IsTrailByte(text, pos, LeadBytes{}));
  }
}

TEST(CleanSettingValue, CutsCommentsAndTrims) {
  struct Case {
    const char* name;
    std::string raw;
    bool gbk;
    std::string cleaned;
  } cases[] = {
      {"plain value", "255.255.255.0", true, "255.255.255.0"},
      {"ASCII semicolon", "192.0.2.53 ; lab", true, "192.0.2.53"},
      {"fullwidth semicolon", "192.0.2.53\xA3\xBBlab", true, "192.0.2.53"},
      {"fullwidth then ASCII", "a\xA3\xBB" "b;c", true, "a"},
      {"only a comment", ";255.0.0.0", true, ""},
      {"two fullwidth semicolons", "\xA3\xBB\xA3\xBB", true, ""},
      {"fullwidth after a double-byte character", "\xD6\xD0\xA3\xBBx", true,
       "\xD6\xD0"},
      // B0 A3 and BB A1 are two characters: no semicolon among them.
      {"trail byte A3 starts no match", "\xB0\xA3\xBB\xA1", true,
       "\xB0\xA3\xBB\xA1"},
      {"lead run decides", "\xA3\xA3\xBB", true, "\xA3\xA3\xBB"},
      {"without double-byte support every match counts", "\xB0\xA3\xBB\xA1", false,
       "\xB0"},
      {"comment longer than 10240 bytes",
       "192.0.2.1 ;" + std::string(20000, 'x') + "tail", true, "192.0.2.1"},
      {"tabs, spaces and control bytes", "\t 255.0.0.0 \r\n\x01", true, "255.0.0.0"},
      {"only control bytes", " \t\x1F", true, ""},
      {"inner space and quotes stay", " \"a b\" ", true, "\"a b\""},
      {"high bytes are not trimmed", "\xA0x\xA0", true, "\xA0x\xA0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string value = c.raw;
    CleanSettingValue(value, c.gbk ? GbkLead() : LeadBytes{});
    EXPECT_EQ(c.cleaned, value);
  }
}

struct LookupCase {
  const char* name;
  std::string file;
  const char* key;
  std::string raw;
};

void ExpectLookups(const LookupCase* begin, const LookupCase* end,
                   bool gbk = false) {
  for (const LookupCase* c = begin; c != end; ++c) {
    SCOPED_TRACE(c->name);
    FakeMachine machine;
    if (gbk) machine.UseGbkLeadBytes();
    machine.files[kPath] = c->file;
    std::string value = "stale";
    ReadSetting(machine, kPath, c->key, &value);
    EXPECT_EQ(c->raw, value);
  }
}

TEST(ReadSetting, MatchesTheWholeKeyTextIgnoringCase) {
  const LookupCase cases[] = {
      {"lower-case key in file", "mask=255.255.255.0\r\n", "Mask", "255.255.255.0"},
      {"upper-case key in file", "MASK=255.0.0.0", "Mask", "255.0.0.0"},
      {"space before =", "Mask = 255.255.255.0\r\n", "Mask", ""},
      {"space after = stays in the raw value", "Mask= 255.255.255.0", "Mask",
       " 255.255.255.0"},
      {"space at line start", " Mask=1", "Mask", ""},
      {"longer key text", "MaskX=1\r\nMask=2", "Mask", "2"},
      {"shorter key text", "Mas=1", "Mask", ""},
      {"further = belong to the value", "Mask=a=b", "Mask", "a=b"},
      {"line without =", "Mask\r\n", "Mask", ""},
      {"first line wins", "Mask=1\r\nMask=2", "Mask", "1"},
      {"key below a header", "[Office]\r\nGateway=192.0.2.1", "Gateway",
       "192.0.2.1"},
      {"comment line", ";Mask=1\r\nDNS1=x", "Mask", ""},
      {"quoted value keeps quotes", "Mask=\"255.0.0.0\"", "Mask", "\"255.0.0.0\""},
      {"quoted key alone", "\"Mask\"=255.255.255.0", "Mask", "255.255.255.0"},
      {"quoted key in other case", "\"MASK\"=1", "Mask", "1"},
      {"plain value wins over quoted before it", "\"Mask\"=1\r\nMask=2", "Mask",
       "2"},
      {"empty plain value, quoted after", "Mask=\r\n\"Mask\"=3", "Mask", "3"},
      {"empty plain value, quoted before", "\"Mask\"=4\r\nMask=\r\n", "Mask", "4"},
      {"empty plain value, later plain ignored", "Mask=\r\nMask=255.255.255.0",
       "Mask", ""},
      {"first quoted line wins too", "\"Mask\"=\r\n\"Mask\"=5", "Mask", ""},
      {"half-quoted key", "\"Mask=1\r\nMask\"=2", "Mask", ""},
      {"raw comment counts as a value", "Mask=;255.0.0.0\r\n\"Mask\"=255.255.255.0",
       "Mask", ";255.0.0.0"},
      {"empty file", "", "Mask", ""},
  };
  ExpectLookups(std::begin(cases), std::end(cases));
}

TEST(ReadSetting, LineEndsAndTheZeroByte) {
  const LookupCase cases[] = {
      {"CR alone", "A=1\rB=2\rC=3", "B", "2"},
      {"CR alone, last line", "A=1\rB=2\rC=3", "C", "3"},
      {"LF alone", "A=1\nB=2\n", "B", "2"},
      {"CR LF", "A=1\r\nB=2\r\n", "A", "1"},
      {"LF CR is two line ends", "A=1\n\rB=2", "B", "2"},
      {"LF CR value has no CR", "A=1\n\rB=2", "A", "1"},
      {"CR CR LF", "A=1\r\r\nB=2", "B", "2"},
      {"no line end at the end", "A=1\r\nB=2", "B", "2"},
      {"empty lines", "\r\n\r\n\nB=2\r\n\r\n", "B", "2"},
      {"zero byte hides later lines", std::string("A=1\r\n\0B=2", 9), "B", ""},
      {"zero byte ends the value", std::string("A=12\0 3\r\nB=2", 12), "A", "12"},
      {"zero byte in a line hides the next", std::string("A=1\0\r\nB=2", 9), "B", ""},
      {"zero byte in the middle of a key", std::string("Ma\0sk=1", 7), "Mask", ""},
  };
  ExpectLookups(std::begin(cases), std::end(cases));
}

TEST(ReadSetting, ByteOrderMarksAreDecoded) {
  const LookupCase cases[] = {
      {"UTF-8 mark, first line", "\xEF\xBB\xBFMask=255.255.255.0\r\n", "Mask",
       "255.255.255.0"},
      {"UTF-8 mark, later line", "\xEF\xBB\xBFMask=1\r\nDNS1=192.0.2.53", "DNS1",
       "192.0.2.53"},
      {"UTF-8 character outside the code page", "\xEF\xBB\xBFName=caf\xC3\xA9",
       "Name", "caf?"},
      {"UTF-8 character mapped to GBK", "\xEF\xBB\xBFName=\xE4\xB8\xAD",
       "Name", "\xD6\xD0"},
      {"UTF-8 fullwidth semicolon mapped", "\xEF\xBB\xBFName=A\xEF\xBC\x9B" "b",
       "Name", "A\xA3\xBB" "b"},
      {"UTF-16LE mark, first line", Utf16LeFile(u"Mask=255.255.255.0\r\n"), "Mask",
       "255.255.255.0"},
      {"UTF-16LE mark, later line", Utf16LeFile(u"Mask=1\r\nGateway=192.0.2.1"),
       "Gateway", "192.0.2.1"},
      {"UTF-16LE character outside the code page", Utf16LeFile(u"Name=caf\xE9"),
       "Name", "caf?"},
      {"UTF-16LE character mapped to GBK", Utf16LeFile(u"Name=\x4E2D"), "Name",
       "\xD6\xD0"},
      {"UTF-16LE zero unit ends the text",
       Utf16LeFile(std::u16string(u"A=1\r\n\0B=2", 9)), "B", ""},
      {"UTF-16LE odd last byte dropped", Utf16LeFile(u"A=1") + "x", "A", "1"},
      {"no mark: bytes as they are", "Name=\xD6\xD0", "Name", "\xD6\xD0"},
      {"no mark: well-formed UTF-8 converted", "Name=caf\xC3\xA9", "Name",
       "caf?"},
      {"mark bytes later in the file are text", "A=1\r\n\xEF\xBB\xBFMask=2", "Mask",
       ""},
      {"big-endian mark is not decoded",
       std::string("\xFE\xFF\0M\0a\0s\0k\0=\0" "1", 14), "Mask", ""},
  };
  for (const LookupCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine machine;
    machine.ansi_extra[u'\x4E2D'] = "\xD6\xD0";
    machine.ansi_extra[u'\xFF1B'] = "\xA3\xBB";
    machine.files[kPath] = c.file;
    std::string value;
    ReadSetting(machine, kPath, c.key, &value);
    EXPECT_EQ(c.raw, value);
  }
}

TEST(ReadSetting, ComparesTheUntrimmedKeyTextThroughTheSystem) {
  CountingMachine machine;
  machine.files[kPath] = "[Office]\r\n Mask =1\r\nGateway=2\r\nMask=3\r\n";
  std::string value;
  ReadSetting(machine, kPath, "Mask", &value);
  EXPECT_EQ("3", value);
  const std::vector<std::string> expected = {" Mask ", "Gateway", "Mask"};
  EXPECT_EQ(expected, machine.key_texts);
}

TEST(ReadSetting, AbsentOrUnreadableFiles) {
  FakeMachine absent;
  absent.files["C:\\kits\\other.ini"] = "Mask=1";
  std::string value = "stale";
  ReadSetting(absent, kPath, "Mask", &value);
  EXPECT_EQ("", value);
  EXPECT_EQ(0, absent.file_reads);

  FakeMachine directory;
  directory.directories.insert(kPath);
  value = "stale";
  ReadSetting(directory, kPath, "Mask", &value);
  EXPECT_EQ("", value);
  EXPECT_EQ(0, directory.file_reads);

  FakeMachine locked;
  locked.locked_files.insert(kPath);
  try {
    ReadSetting(locked, kPath, "Mask", &value);
    FAIL() << "a locked file must raise";
  } catch (const Failure& failure) {
    EXPECT_EQ("EFOpenError", failure.kind());
    EXPECT_STREQ("Cannot open file C:\\kits\\hostconfig.ini", failure.what());
  }
}

TEST(ReadGlobalDefaults, SetsPathAndCleanedDefaultsFromFreshReads) {
  FakeMachine machine;
  machine.UseGbkLeadBytes();
  machine.module_path = "D:\\lab\\tool.exe";
  machine.files["D:\\lab\\tool.ini"] =
      "mask=255.255.255.0\r\n"
      "Gateway=\t192.0.2.1 ; router\r\n"
      "DNS1=192.0.2.53\xA3\xBBlab\r\n"
      "\"DNS2\"=192.0.2.54\r\n";
  const std::string settings_path = SettingsPathOf(machine);
  const GlobalDefaults defaults = ReadGlobalDefaults(machine, settings_path);
  EXPECT_EQ("D:\\lab\\tool.ini", settings_path);
  EXPECT_EQ("255.255.255.0", defaults.DefaultMask);
  EXPECT_EQ("192.0.2.1", defaults.DefaultGateway);
  EXPECT_EQ("192.0.2.53", defaults.DefaultDns1);
  EXPECT_EQ("192.0.2.54", defaults.DefaultDns2);
  EXPECT_EQ(4, machine.file_reads);
}

TEST(ReadGlobalDefaults, LongModulePathAndNoFile) {
  FakeMachine machine;
  const std::string dir = "C:\\" + std::string(280, 'k') + "\\";
  machine.module_path = dir + "hostconfig.exe";
  const std::string settings_path = SettingsPathOf(machine);
  GlobalDefaults defaults = ReadGlobalDefaults(machine, settings_path);
  EXPECT_EQ(dir + "hostconfig.ini", settings_path);
  EXPECT_EQ("", defaults.DefaultMask);
  EXPECT_EQ("", defaults.DefaultGateway);
  EXPECT_EQ("", defaults.DefaultDns1);
  EXPECT_EQ("", defaults.DefaultDns2);

  machine.files[dir + "hostconfig.ini"] = "DNS2=192.0.2.54";
  defaults = ReadGlobalDefaults(machine, settings_path);
  EXPECT_EQ("192.0.2.54", defaults.DefaultDns2);
}

TEST(ReadGlobalDefaults, LockedFileEndsTheRunAtTheFirstLookup) {
  FakeMachine machine;
  machine.locked_files.insert(kPath);
  const std::string settings_path = SettingsPathOf(machine);
  EXPECT_THROW(ReadGlobalDefaults(machine, settings_path), Failure);
  EXPECT_EQ(kPath, settings_path);
}

// The pre-check passes over a line only when its key text and the key are
// both printable ASCII with different digits; every other line is compared.
TEST(ReadSetting, PassesOverOnlyLinesThatCannotMatch) {
  struct Case {
    const char* name;
    std::string file;
    const char* key;
    int compares;
  } cases[] = {
      {"other digits", "Mask2=1\r\nDNS1=2\r\n", "Mask", 0},
      {"same digits, other letters", "MASK=1", "Mask", 1},
      {"quoted key: plain and quoted compared", "\"Mask\"=1", "Mask", 2},
      {"double-byte key text", "M\xD6\xD0=1", "Mask", 1},
      {"control byte in the key text", "Ma\tsk=1", "Mask", 1},
      {"dashed MAC has the plain MAC's digits", "0A-1B-2C-3D-4E-5F=x",
       "0A1B2C3D4E5F", 1},
      {"MAC with other digits", "0A1B2C3D4E60=x", "0A1B2C3D4E5F", 0},
      {"key not printable ASCII", "Mask=1\r\nX=2", "\xD6\xD0", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CountingMachine machine;
    machine.files[kPath] = c.file;
    std::string value;
    ReadSetting(machine, kPath, c.key, &value);
    EXPECT_EQ(c.compares, machine.compares);
  }
}

// A shared file for 100,000 machines: each lookup is one pass with at most
// one locale comparison per line, also when the quoted key has to be tried,
// and none for a line whose key text cannot match (printable ASCII with
// other digits).
class LargeFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string& file = machine_.files[kPath];
    file = "Mask=255.255.255.0\r\n";
    char line[64];
    for (int i = 0; i < kEntries; ++i) {
      std::snprintf(line, sizeof line, "%012X=PC-%06d,10.%d.%d.%d\r\n", i, i,
                    i >> 16, (i >> 8) & 0xFF, i & 0xFF);
      file += line;
    }
    file += "Gateway=192.0.2.1\r\n";
    machine_.keep_texts = false;
  }
  static constexpr int kEntries = 100000;
  CountingMachine machine_;
};

TEST_F(LargeFile, LookupsCompareOnlyLinesThatCanMatch) {
  struct Case {
    const char* key;
    const char* value;
    int compares;              // with the pre-check, as the run looks up
    int compares_without;      // every line with "=" up to the match
  } cases[] = {
      // "Mask" and "Gateway" have no digits, like no MAC line.
      {"Gateway", "192.0.2.1", 2, kEntries + 2},
      // No line has the digits "1" alone.
      {"DNS1", "", 0, kEntries + 2},
      // The lines whose digits are 00000001869 (1869A to 1869F and a few
      // such as 186A9) up to the entry itself.
      {"00000001869F", "PC-099999,10.1.134.159", 6, kEntries + 1},
  };
  const auto start = std::chrono::steady_clock::now();
  const std::string& text = machine_.files[kPath];
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    machine_.compares = 0;
    EXPECT_EQ(c.value, ReadCleanSetting(machine_, kPath, c.key));
    EXPECT_EQ(c.compares, machine_.compares);

    machine_.compares = 0;
    const KeyMatch without = FindKeyInText(
        SystemTextRules(machine_).keys_equal, text, c.key, /*precheck=*/false);
    EXPECT_EQ(c.compares_without, machine_.compares);
    const KeyMatch with = FindKeyInText(SystemTextRules(machine_).keys_equal,
                                        text, c.key);
    EXPECT_EQ(without.found, with.found);
    EXPECT_EQ(without.line_start, with.line_start);
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  // Generous even for an unoptimised build under sanitizers.
  EXPECT_LT(elapsed, std::chrono::seconds(5));
}

}  // namespace
}  // namespace hostconfig
