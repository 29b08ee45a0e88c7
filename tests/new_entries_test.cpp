#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "checker/code_page.h"
#include "checker/findings.h"
#include "checker/here.h"
#include "checker/new_entries.h"
#include "checker/preview.h"
#include "checker/settings_view.h"
#include "settings/machine_record.h"
#include "settings/settings_text.h"
#include "tests/fake_machine.h"

namespace hostconfig {
namespace {

const LocalTime kSeen{2026, 12, 11, 8, 2, 13};

SeenMachine Seen(const std::string& mac, const std::string& old_name) {
  return {mac, old_name, "Ethernet", kSeen};
}

// The settings text with the lines appended as ">>" would append them.
std::string Appended(const std::string& text,
                     const std::vector<std::string>& lines) {
  std::string out = text + (NeedsLineEndFirst(text) ? "\n" : "");
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

TEST(NewEntries, AppendedLinesCheckCleanAndGiveEachMachineItsEntry) {
  const std::string kDefaults = "Mask=255.255.255.0\r\nGateway=192.0.2.1\r\n";
  struct Case {
    const char* name;
    std::string settings;
    std::vector<SeenMachine> seen;
    std::vector<std::string> names;  // the name each machine gets
  } cases[] = {
      {"names as they were", kDefaults,
       {Seen("0A1B2C3D4E5F", "WIN-A"), Seen("0A1B2C3D4E60", "WIN-B")},
       {"WIN-A", "WIN-B"}},
      {"one cloned name on every PC", kDefaults,
       {Seen("0A1B2C3D4E5F", "WIN-7F3K2"), Seen("0A1B2C3D4E60", "WIN-7F3K2"),
        Seen("0A1B2C3D4E61", "WIN-7F3K2")},
       {"WIN-7F3K2", "WIN-7F3K2-2", "WIN-7F3K2-3"}},
      {"a name an entry already gives",
       kDefaults + "0A1B2C3D4E70=lab-01\r\n",
       {Seen("0A1B2C3D4E5F", "LAB-01")}, {"LAB-01-2"}},
      {"names a computer name may not hold",
       kDefaults,
       {Seen("0A1B2C3D4E5F", "my_pc.lab"), Seen("0A1B2C3D4E60", "12345"),
        Seen("0A1B2C3D4E61", ""), Seen("0A1B2C3D4E62", "A-VERY-LONG-NAME-OF-PC"),
        Seen("0A1B2C3D4E63", "PC;1,2"), Seen("0A1B2C3D4E64", "\xCA\xB5\xD1\xE9")},
       {"MY-PC-LAB", "PC-3D4E60", "PC-3D4E61", "A-VERY-LONG-NAM", "PC-1-2",
        "\xCA\xB5\xD1\xE9"}},
      {"a GBK name whose fullwidth comma would split it", kDefaults,
       {Seen("0A1B2C3D4E5F", "AB\xA3\xAC" "CD")}, {"PC-3D4E5F"}},
      {"a MAC written with colons, which never matches",
       kDefaults + "0A:1B:2C:3D:4E:5F=LAB-09\r\n",
       {Seen("0A1B2C3D4E5F", "WIN-A")}, {"WIN-A"}},
      {"an empty plain entry: the dashed key is used",
       kDefaults + "0A1B2C3D4E5F= ; moved\r\n",
       {Seen("0A1B2C3D4E5F", "WIN-A")}, {"WIN-A"}},
      {"no line end after the last line", kDefaults + "REBOOT=1",
       {Seen("0A1B2C3D4E5F", "WIN-A")}, {"WIN-A"}},
      {"an empty file", "", {Seen("0A1B2C3D4E5F", "WIN-A")}, {"WIN-A"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    size_t unconverted = 0;
    const TextRules rules = CheckerTextRules(936, &unconverted);
    std::vector<std::string> lines = NewEntryLines(rules, c.settings, c.seen);
    ASSERT_EQ(c.seen.size(), lines.size());
    const std::string text = Appended(c.settings, lines);
    SCOPED_TRACE(text);
    const size_t before = SplitSettingsLines(c.settings).size();
    for (const Finding& finding : CheckSettingsText(rules, text)) {
      EXPECT_LE(finding.line, before) << finding.line << ": " << finding.text;
    }
    SettingsView view(rules, text);
    for (size_t i = 0; i < c.seen.size(); ++i) {
      SCOPED_TRACE(lines[i]);
      EXPECT_NE(std::string::npos, lines[i].find(" ; seen 2026-12-11 08:02:13 "
                                                 "on adapter \"Ethernet\""));
      MachineLookup lookup = LookUpMachine(view, c.seen[i].mac);
      ASSERT_TRUE(lookup.used);
      EXPECT_GT(view.lines()[*lookup.used].number, before);
      EXPECT_EQ(c.names[i],
                SplitMachineEntry(lookup.cleaned, rules.lead).ComputerName);
    }
  }
}

TEST(NewEntries, TheFormOfTheLine) {
  size_t unconverted = 0;
  const TextRules rules = CheckerTextRules(936, &unconverted);
  EXPECT_EQ(std::vector<std::string>(
                {"0A1B2C3D4E5F=OLDNAME ; seen 2026-12-11 08:02:13 on adapter "
                 "\"Ethernet\"",
                 "0A1B2C3D4E60=OLD-PC ; seen 2026-12-11 08:02:13 on adapter "
                 "\"Ethernet\", named \"old_pc\""}),
            NewEntryLines(rules, "Mask=255.255.255.0\r\n",
                          {Seen("0A1B2C3D4E5F", "OLDNAME"),
                           Seen("0A1B2C3D4E60", "old_pc")}));
}

TEST(NewEntries, NoAppendedLineCanBeUsed) {
  // Both keys of the MAC stop the lookup at an empty value: a line added
  // below is never read, and the output says where to write instead.
  size_t unconverted = 0;
  const TextRules rules = CheckerTextRules(936, &unconverted);
  const std::string settings = "0A1B2C3D4E5F=\r\n0A-1B-2C-3D-4E-5F=\r\n";
  std::vector<std::string> lines =
      NewEntryLines(rules, settings, {Seen("0A1B2C3D4E5F", "WIN-A")});
  ASSERT_EQ(1u, lines.size());
  EXPECT_TRUE(lines[0].starts_with("; 0A1B2C3D4E5F (WIN-A): ")) << lines[0];
  EXPECT_NE(std::string::npos, lines[0].find("on line 1")) << lines[0];
}

// --here over the fake machine: what it reads, and that it changes nothing.
struct HereCase : ::testing::Test {
  HereCase() {
    machine.module_path = "C:\\kits\\hostconfig-check.exe";
    machine.AddAdapter(u"LAN 2", "0A1B2C3D4E5F", 6, {{23, 3, 3}});
    machine.computer_name = "WIN-7F3K2";
    machine.version_major = 6;
    machine.version_minor = 1;
  }
  int Here(std::optional<std::string> settings = std::nullopt) {
    return RunHere(machine, settings, out, err);
  }
  FakeMachine machine;
  std::ostringstream out, err;
};

TEST_F(HereCase, EntryFoundPrintsThePreviewOfThisPc) {
  const std::string file =
      "Mask=255.255.255.0\r\nGateway=192.0.2.1\r\nREBOOT=1\r\n"
      "0A-1B-2C-3D-4E-5F=lab-07,192.0.2.10\r\n";
  machine.files["C:\\kits\\hostconfig.ini"] = file;
  EXPECT_EQ(0, Here());
  PreviewRequest request;
  request.mac = "0A1B2C3D4E5F";
  request.adapter = "LAN 2";
  request.windows_version = 6.1;
  request.windows_version_text = "6.1";
  request.current_name = "WIN-7F3K2";
  std::ostringstream preview;
  EXPECT_EQ(0, WritePreview(SystemTextRules(machine), file, Conversion{}, request,
                            preview));
  EXPECT_EQ(
      "This PC: MAC 0A1B2C3D4E5F, adapter \"LAN 2\", computer name "
      "WIN-7F3K2, Windows 6.1\n"
      "Settings file: C:\\kits\\hostconfig.ini\n" + preview.str(),
      out.str());
  EXPECT_NE(std::string::npos,
            out.str().find("Rename: yes, from WIN-7F3K2 to LAB-07\n"));
  EXPECT_TRUE(machine.events.empty());
  EXPECT_TRUE(machine.message_boxes.empty());
  EXPECT_EQ("", err.str());
}

// On the PC, the preview decides as the run there: names compared by the
// system's upper-casing, and an adapter whose name the code page lacks named
// by its index.
TEST_F(HereCase, PreviewUsesThePcsOwnRules) {
  machine.adapters.clear();
  machine.AddAdapter(u"lan-\x0E01", "0A1B2C3D4E5F", 6, {{23, 3, 3}});
  machine.adapters[0].if_index = 12;
  machine.upper_extra["\xE9"] = "\xC9";
  machine.computer_name = "CAF\xC9-01";
  machine.files["C:\\kits\\hostconfig.ini"] =
      "0A1B2C3D4E5F=caf\xE9-01,192.0.2.10,255.255.255.0,192.0.2.1\r\n";
  EXPECT_EQ(0, Here());
  const std::string text = out.str();
  EXPECT_NE(std::string::npos, text.find("Rename: no, already named CAF\xE9-01"))
      << text;
  EXPECT_NE(std::string::npos,
            text.find("set address \"12\" static 192.0.2.10 255.255.255.0 "
                      "192.0.2.1"))
      << text;
}

TEST_F(HereCase, NoEntryPrintsTheLineToAdd) {
  const std::string file = "Mask=255.255.255.0\r\n0A1B2C3D4E60=LAB-08\r\n";
  machine.files["D:\\deploy\\lab.ini"] = file;
  EXPECT_EQ(1, Here("D:\\deploy\\lab.ini"));
  const std::string tail =
      "To give this PC an entry, add this line to the settings file:\n"
      "0A1B2C3D4E5F=WIN-7F3K2 ; seen 2026-12-11 08:02:13 on adapter "
      "\"LAN 2\"\n";
  ASSERT_TRUE(out.str().ends_with(tail)) << out.str();
  EXPECT_NE(std::string::npos, out.str().find("Settings file: D:\\deploy\\lab.ini\n"));
  EXPECT_TRUE(machine.events.empty());
  size_t unconverted = 0;
  const TextRules rules = CheckerTextRules(936, &unconverted);
  EXPECT_TRUE(CheckSettingsText(rules, file + tail.substr(tail.find('\n') + 1))
                  .empty());
}

TEST_F(HereCase, WhatStopsIt) {
  EXPECT_EQ(2, Here());  // no hostconfig.ini beside the checker
  EXPECT_EQ("hostconfig-check: C:\\kits\\hostconfig.ini: no such file\n",
            err.str());
  machine.directories.insert("C:\\kits\\hostconfig.ini");
  err.str("");
  EXPECT_EQ(2, Here());
  EXPECT_NE(std::string::npos, err.str().find("is a directory"));
  machine.directories.clear();
  machine.files["C:\\kits\\hostconfig.ini"] = "0A1B2C3D4E5F=LAB-07\r\n";
  machine.adapters.clear();
  out.str("");
  EXPECT_EQ(1, Here());
  EXPECT_TRUE(out.str().starts_with("This PC: no Ethernet or PPP adapter"))
      << out.str();
  EXPECT_TRUE(machine.events.empty());
}

}  // namespace
}  // namespace hostconfig
