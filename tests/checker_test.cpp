#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/run.h"
#include "checker/checker.h"
#include "tests/checker_program.h"
#include "checker/code_page.h"
#include "checker/settings_view.h"
#include "settings/settings_text.h"
#include "tests/fake_machine.h"

namespace hostconfig {
namespace {

// One expected finding: its line, its kind and a part of its text that
// names the fault.
struct Expected {
  size_t line;
  bool error;
  std::string text;
};

constexpr bool E = true;   // error
constexpr bool W = false;  // warning

std::string Describe(const std::vector<Finding>& findings) {
  std::string out;
  for (const Finding& f : findings) {
    out += std::to_string(f.line) + (f.error ? ": error: " : ": warning: ") +
           f.text + "\n";
  }
  return out;
}

std::vector<Finding> Check(const std::string& bytes, uint32_t code_page = 936) {
  size_t unconverted = 0;
  const TextRules rules = CheckerTextRules(code_page, &unconverted);
  std::string text = DecodeSettingsFile(rules, bytes).text;
  return CheckSettingsText(rules, text);
}

const char kDefaults[] =
    "Mask=255.255.255.0\r\nGateway=192.0.2.1\r\nDNS1=192.0.2.53\r\n";

TEST(Checker, FindingsOfEachFile) {
  struct Case {
    const char* name;
    std::string file;
    std::vector<Expected> expected;
  } cases[] = {
      {"clean file with every entry form",
       std::string(kDefaults) +
           "DNS2=192.0.2.54\r\nREBOOT=1 ; restart after a rename\r\n"
           "[Lab]\r\n; comment line\r\n\r\n"
           "0A1B2C3D4E5F=lab-01,192.0.2.11\r\n"
           "0a-1b-2c-3d-4e-60=LAB-02, 192.0.2.12 ,,,192.0.2.153\r\n"
           "\"0A1B2C3D4E61\"=LAB-03\r\n"
           "0A1B2C3D4E62=LAB-04,198.51.100.21,255.255.255.252,198.51.100.22\r\n"
           "0A1B2C3D4E63=;moved to room 2\r\n0A-1B-2C-3D-4E-63=LAB-05\r\n",
       {}},
      {"a second entry for one MAC, in any spelling",
       std::string(kDefaults) +
           "0A1B2C3D4E5F=LAB-01,192.0.2.11\r\n"   // 4
           "0a1b2c3d4e5f=LAB-02,192.0.2.12\r\n"   // 5
           "0A-1B-2C-3D-4E-5F=LAB-03\r\n"         // 6
           "\"0a-1b-2c-3d-4e-5f\"=LAB-04\r\n"     // 7
           "\"0A1B2C3D4E5F\"=LAB-05\r\n",         // 8
       {{5, E, "another entry for MAC 0A1B2C3D4E5F (line 4)"},
        {6, E, "(line 4) comes first"},
        {7, E, "(line 4) comes first"},
        {8, E, "(line 4) comes first"}}},
      {"an empty plain value gives way to the quoted and dashed keys",
       std::string(kDefaults) +
           "0A1B2C3D4E5F=\r\n"                    // 4: empty, skipped
           "0A-1B-2C-3D-4E-5F=LAB-01\r\n"         // 5: never used
           "\"0A1B2C3D4E5F\"=LAB-02\r\n",         // 6: used (quoted plain)
       {{5, E, "(line 6) comes first: this one is never used"}}},
      {"a plain entry that is only a comment hides a later plain one",
       std::string(kDefaults) + "0A1B2C3D4E5F=;old\r\n0A1B2C3D4E5F=LAB-01\r\n",
       {{4, E, "gives no computer name"},
        {5, E, "(line 4) comes first: this one is never used"}}},
      {"machine entries that can never match",
       "0A1B2C3D4E5F =LAB-01\r\n"
       " 0A1B2C3D4E60=LAB-02\r\n"
       "0A:1B:2C:3D:4E:61=LAB-03\r\n"
       "0A1B2C3D4E6=LAB-04\r\n"
       "0A1B2C3D4E6G=LAB-05\r\n"
       "0A1B.2C3D.4E63=LAB-06\r\n"
       "\"0A1B2C3D4E64=LAB-07\r\n"
       "0A1B2C-3D4E65=LAB-08\r\n"
       "Timeout=10\r\nLocation=Room 2\r\n",
       {{1, E, "space before \"=\""},
        {2, E, "space before \"=\""},
        {3, E, "colons"},
        {4, E, "11 digits, not 12"},
        {5, E, "\"G\" is not a hexadecimal digit"},
        {6, E, "six pairs joined by \"-\""},
        {7, E, "unbalanced double quote"},
        {8, E, "six pairs joined by \"-\""}}},
      {"entries without a computer name",
       std::string(kDefaults) +
           "0A1B2C3D4E5F=,192.0.2.11\r\n"
           "0A1B2C3D4E60=   ,192.0.2.12\r\n"
           "0A1B2C3D4E61=\r\n"
           "0A1B2C3D4E62=;LAB-04\r\n",
       {{4, E, "MAC 0A1B2C3D4E5F gives no computer name"},
        {5, E, "MAC 0A1B2C3D4E60 gives no computer name"},
        {6, E, "MAC 0A1B2C3D4E61 gives no computer name"},
        {7, E, "MAC 0A1B2C3D4E62 gives no computer name"}}},
      {"invalid addresses and masks, in the entry and in the defaults",
       "Mask=255.255.0.255\r\nGateway=192.0.2.256\r\nDNS1=dns.example\r\n"
       "DNS2=1.2.3\r\n"
       "0A1B2C3D4E5F=LAB-01,192.0.2.011x\r\n"
       "0A1B2C3D4E60=LAB-02,192.0.2.12,255.255.255.0,192.0.2.1,8.8.8.8.8\r\n"
       "0A1B2C3D4E61=LAB-03,192.0.2.13,255.0.255.0,192.0.2.1,,1.1.1.1 1\r\n"
       "0A1B2C3D4E62=LAB-04,192.0.2.14,0.0.0.0,192.0.2.1\r\n",
       {{1, E, "\"Mask\" 255.255.0.255 is not a valid mask"},
        {2, E, "\"Gateway\" \"192.0.2.256\" is not a valid IPv4 address"},
        {3, E, "\"DNS1\" \"dns.example\" is not a valid IPv4 address"},
        {4, E, "\"DNS2\" \"1.2.3\" is not a valid IPv4 address"},
        {5, E, "address \"192.0.2.011x\" is not a valid IPv4 address"},
        {6, E, "DNS server \"8.8.8.8.8\" is not a valid IPv4 address"},
        {7, E, "mask 255.0.255.0 is not a valid mask"},
        {7, E, "second DNS server \"1.1.1.1 1\" is not a valid IPv4"},
        {8, E, "mask 0.0.0.0 is not a valid mask"}}},
      {"an address that the run would skip without a word",
       "DNS1=192.0.2.53\r\n"
       "0A1B2C3D4E5F=LAB-01,192.0.2.11,255.255.255.0\r\n"
       "0A1B2C3D4E60=LAB-02,192.0.2.12\r\n"
       "0A1B2C3D4E61=LAB-03,192.0.2.13,,192.0.2.1\r\n"
       "0A1B2C3D4E62=LAB-04,192.0.2.14,255.255.255.0,192.0.2.1\r\n"
       "0A1B2C3D4E63=LAB-05\r\n",
       {{2, E, "has no gateway (and \"Gateway\" gives none)"},
        {3, E, "has no mask and no gateway"},
        {4, E, "has no mask (and \"Mask\" gives none)"}}},
      {"gateway outside the subnet, network and broadcast addresses",
       std::string(kDefaults) +
           "0A1B2C3D4E5F=LAB-01,192.0.2.11,,198.51.100.1\r\n"
           "0A1B2C3D4E60=LAB-02,192.0.2.0\r\n"
           "0A1B2C3D4E61=LAB-03,192.0.2.255\r\n"
           "0A1B2C3D4E62=LAB-04,192.0.2.130,255.255.255.128,192.0.2.1\r\n"
           "0A1B2C3D4E63=LAB-05,192.0.2.4,255.255.255.254,192.0.2.5\r\n",
       {{4, E, "gateway 198.51.100.1 is outside subnet 192.0.2.0/24"},
        {5, E, "192.0.2.0 is the network address of subnet 192.0.2.0/24"},
        {6, E, "192.0.2.255 is the broadcast address of subnet 192.0.2.0/24"},
        {7, E, "gateway 192.0.2.1 is outside subnet 192.0.2.128/25"}}},
      {"two machines with one address or one name",
       std::string(kDefaults) +
           "0A1B2C3D4E5F=lab-01,192.0.2.11\r\n"
           "0A1B2C3D4E60=LAB-01,192.0.2.12\r\n"
           "0A1B2C3D4E61=LAB-03,192.0.2.11\r\n"
           "0A1B2C3D4E62=LAB-04\r\n"
           "0A1B2C3D4E63=LAB-05\r\n",
       {{5, E, "computer name \"LAB-01\" is also given on line 4"},
        {6, E, "address 192.0.2.11 is also given on line 4"}}},
      {"computer names too long or with characters a name may not hold",
       "0A1B2C3D4E5F=ABCDEFGHIJKLMNOP\r\n"       // 16 bytes
       "0A1B2C3D4E60=ABCDEFGHIJKLMNO\r\n"        // 15 bytes: fine
       "0A1B2C3D4E61=LAB 03\r\n"
       "0A1B2C3D4E62=LAB_04\r\n"
       "0A1B2C3D4E63=LAB.05\r\n"
       "0A1B2C3D4E64=12345\r\n"
       // Seven GBK characters (14 bytes) pass, eight (16 bytes) do not.
       "0A1B2C3D4E65=\xCA\xB5\xD1\xE9\xCA\xD2\xB5\xDA\xD2\xBB\xBB\xFA\xB7\xBF\r\n"
       "0A1B2C3D4E66=\xCA\xB5\xD1\xE9\xCA\xD2\xB5\xDA\xD2\xBB\xBB\xFA\xB7\xBF\xBC\xE4\r\n",
       {{1, E, "is 16 bytes long; at most 15"},
        {3, E, "holds a space"},
        {4, E, "holds \"_\""},
        {5, E, "holds \".\""},
        {6, E, "is only digits"},
        {8, E, "is 16 bytes long"}}},
      {"warnings: repeated keys, REBOOT, stray lines, near misses",
       "Mask=255.255.255.0\r\n"           // 1
       "mask=255.255.0.0\r\n"             // 2
       "REBOOT=yes\r\n"                   // 3
       "Gatway=192.0.2.1\r\n"             // 4
       "DNS3=192.0.2.55\r\n"              // 5
       "Mask =255.0.0.0\r\n"              // 6
       "[Office]\r\n"                     // 7
       "hello world\r\n"                  // 8
       "# not a comment\r\n"              // 9
       "Gateway=\r\n"                     // 10
       "\"Gateway\"=192.0.2.1\r\n",       // 11
       {{2, W, "\"Mask\" is given more than once: line 1 is the one used"},
        {3, W, "\"REBOOT\" is \"yes\""},
        {4, W, "unknown key \"Gatway\" is ignored; did you mean \"Gateway\"?"},
        {5, W, "did you mean \"DNS1\"?"},
        {6, W, "key \"Mask \" is ignored: a space"},
        {8, W, "line without \"=\""},
        {9, W, "line without \"=\""},
        {10, W, "\"Gateway\" is given more than once: line 11 is the one used"}}},
      {"REBOOT values that begin with 0 or 1 are fine",
       "REBOOT=10 ; yes\r\n", {}},
      {"entry fields that the run never uses",
       "Mask=255.255.255.0\r\nGateway=192.0.2.1\r\n"
       "\r\n\r\n"
       "0A1B2C3D4E5F=LAB-01,,255.255.0.0\r\n"
       "0A1B2C3D4E60=LAB-02,192.0.2.12,,,,192.0.2.54\r\n",
       {{5, W, "no address is given"},
        {6, W, "second DNS server 192.0.2.54 without a first one"}}},
      {"LogFile is a global key: misspelt, given twice",
       "LogFile=a.csv\r\nLogFlie=b.csv\r\nlogfile=c.csv\r\n",
       {{2, W, "did you mean \"LogFile\"?"},
        {3, W, "\"LogFile\" is given more than once: line 1 is the one used"}}},
      {"a zero byte hides the rest of the file",
       std::string("Mask=255.255.255.0\r\n0A1B2C3D4E5F=LAB-01\0", 40) +
           "\r\n0A1B2C3D4E60=LAB-02\r\n",
       {{2, W, "a zero byte"}}},
      {"line numbers follow CR, LF, CR LF and LF CR line ends",
       "Mask=255.255.255.0\rGateway=192.0.2.1\n\n0A1B2C3D4E5F=LAB_1\n\r"
       "0A1B2C3D4E60=LAB_2\r\n0A1B2C3D4E61=LAB_3",
       {{4, E, "\"LAB_1\""}, {6, E, "\"LAB_2\""}, {7, E, "\"LAB_3\""}}},
      {"fullwidth commas and semicolons in GBK",
       std::string(kDefaults) +
           "0A1B2C3D4E5F=\xCA\xB5\xD1\xE9\xCA\xD2\xA3\xAC" "192.0.2.11"
           "\xA3\xBB\xB1\xB8\xD7\xA2\r\n"
           // A fullwidth semicolon starts a comment, here before a field
           // that would repeat an address.
           "0A1B2C3D4E60=LAB-02\xA3\xBB,192.0.2.11\r\n",
       {}},
      {"a UTF-8 file with its mark keeps its line numbers",
       "\xEF\xBB\xBFMask=255.255.255.0\r\n0A1B2C3D4E5F=LAB_01\r\n",
       {{2, E, "holds \"_\""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Finding> found = Check(c.file);
    SCOPED_TRACE("found:\n" + Describe(found));
    ASSERT_EQ(c.expected.size(), found.size());
    for (size_t i = 0; i < found.size(); ++i) {
      EXPECT_EQ(c.expected[i].line, found[i].line) << i;
      EXPECT_EQ(c.expected[i].error, found[i].error) << i;
      EXPECT_NE(std::string::npos, found[i].text.find(c.expected[i].text))
          << "expected text: " << c.expected[i].text;
    }
  }
}

TEST(Checker, LinesSplitAsTheToolSplitsThem) {
  const char bytes[] = "a\r\nb\rc\n\rd\n\ne\0f\n";
  std::string text(bytes, sizeof bytes - 1);
  std::vector<std::string_view> expected = {"a", "b", "c", "", "d", "", "e"};
  EXPECT_EQ(expected, SplitSettingsLines(text));
  EXPECT_EQ(std::vector<std::string_view>{"x"}, SplitSettingsLines("x\r\n"));
}

TEST(Checker, MacArguments) {
  EXPECT_EQ("0A1B2C3D4E5F", NormalizeMacArgument("0a1b2c3d4e5f"));
  EXPECT_EQ("0A1B2C3D4E5F", NormalizeMacArgument("0A-1B-2C-3D-4E-5F"));
  EXPECT_EQ("0A1B2C3D4E5F", NormalizeMacArgument("0a:1b:2c:3d:4e:5f"));
  EXPECT_EQ("", NormalizeMacArgument("0A1B2C3D4E5"));
  EXPECT_EQ("", NormalizeMacArgument("0A1B2C3D4E5G"));
  EXPECT_EQ("", NormalizeMacArgument("0A-1B:2C-3D-4E-5F0"));
}

// The program against real files: output format, summary and exit codes.
class CheckerProgram : public CheckerProgramTest {};

TEST_F(CheckerProgram, ExitCodesAndOutput) {
  std::string clean = Write("clean.ini", std::string(kDefaults) +
                                             "0A1B2C3D4E5F=LAB-01,192.0.2.11\r\n");
  std::string warned = Write("warned.ini", "REBOOT=yes\r\n0A1B2C3D4E5F=LAB-01\r\n");
  std::string broken =
      Write("broken.ini", "0A1B2C3D4E5F=LAB-01\r\n0A:1B:2C:3D:4E:60=LAB-02\r\n"
                          "0A1B2C3D4E5F=LAB-03\r\n");
  EXPECT_EQ(0, Run({clean}));
  EXPECT_EQ("read as code page 936\n0 errors, 0 warnings\n", out_.str());
  EXPECT_EQ(0, Run({warned}));
  EXPECT_EQ("read as code page 936\n" + warned + ":1: warning: \"REBOOT\" is \"yes\": only a value that "
                     "begins with 1 restarts, so this one never does\n"
                     "0 errors, 1 warning\n",
            out_.str());
  EXPECT_EQ(1, Run({broken}));
  EXPECT_EQ("read as code page 936\n" + broken + ":2: error: \"0A:1B:2C:3D:4E:60\": colons in the MAC "
                     "address: this entry never matches (write 0A1B2C3D4E5F "
                     "or 0A-1B-2C-3D-4E-5F)\n" +
                broken + ":3: error: another entry for MAC 0A1B2C3D4E5F "
                         "(line 1) comes first: this one is never used\n"
                         "2 errors, 0 warnings\n",
            out_.str());

  struct Bad {
    const char* name;
    std::vector<std::string> args;
    const char* message;
  } bad[] = {
      {"no file", {}, "no settings file given"},
      {"missing file", {(dir_ / "none.ini").string()}, "no such file"},
      {"directory", {dir_.string()}, "is a directory"},
      {"two files", {clean, warned}, "more than one file"},
      {"unknown option", {clean, "--fix"}, "unknown option --fix"},
      {"option without value", {clean, "--mac"}, "--mac needs a value"},
      {"bad MAC", {clean, "--mac", "0A1B2C3D4E5"}, "is not 12 hexadecimal"},
      {"bad version", {clean, "--mac", "0A1B2C3D4E5F", "--version", "ten"},
       "is not a number"},
      {"name without MAC", {clean, "--name", "X"}, "need --mac"},
      {"unknown code page", {clean, "--code-page", "12345"}, "unknown code page"},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.name);
    EXPECT_EQ(2, Run(b.args));
    EXPECT_NE(std::string::npos, err_.str().find(b.message)) << err_.str();
    EXPECT_TRUE(out_.str().empty());
  }
}

TEST_F(CheckerProgram, CodePageDecidesTrailBytes) {
  // B0 A3 BB is one GBK character followed by BB: no fullwidth semicolon
  // under 936, so the whole text is the name; under 1252 the A3 BB is one
  // and cuts the name short.
  std::string path =
      Write("cp.ini", "0A1B2C3D4E5F=AB\xB0\xA3\xBB" "CDEFGHIJKLMN\r\n");
  EXPECT_EQ(1, Run({path, "--code-page", "936"}));
  EXPECT_NE(std::string::npos, out_.str().find("is 17 bytes long"));
  EXPECT_EQ(0, Run({path, "--code-page", "1252"}));
}

// The preview against the run itself, over the same file on a fake machine:
// the commands, the rename and the restart must be what the run does.
TEST_F(CheckerProgram, PreviewMatchesTheRun) {
  struct Case {
    const char* name;
    std::string file;
    std::string current_name;
    uint32_t major, minor;
    const char* version;
    int exit_code;
  } cases[] = {
      {"full entry, renamed and restarted",
       "Mask=255.255.255.0\r\nGateway=192.0.2.1\r\nDNS1=192.0.2.53\r\n"
       "DNS2=192.0.2.54\r\nREBOOT=1\r\n0A1B2C3D4E5F=lab-07,192.0.2.10\r\n",
       "OLDNAME", 10, 0, "10.0", 0},
      {"already named, no restart",
       "REBOOT=1\r\n0A1B2C3D4E5F=LAB-07,192.0.2.10,255.255.0.0,192.0.2.1\r\n",
       "LAB-07", 6, 1, "6.1", 0},
      {"dashed entry on Windows XP: the ip context",
       "Gateway=192.0.2.1\r\n0a-1b-2c-3d-4e-5f=LAB-08,192.0.2.10,255.255.255.0,"
       ",192.0.2.53\r\n",
       "OLD", 5, 1, "5.1", 0},
      {"name only: no commands", "Mask=255.255.255.0\r\n0A1B2C3D4E5F=LAB-09\r\n",
       "OLD", 10, 0, "10.0", 0},
      {"no entry: the run stops", "0A1B2C3D4E60=LAB-10\r\n", "OLD", 10, 0,
       "10.0", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = Write("preview.ini", c.file);
    int code = Run({path, "--mac", "0a-1b-2c-3d-4e-5f", "--adapter", "LAN 2",
                    "--version", c.version, "--name", c.current_name});
    EXPECT_EQ(c.exit_code, code);
    std::string preview = out_.str();
    SCOPED_TRACE(preview);

    FakeMachine machine;
    machine.AddAdapter(u"LAN 2", "0A1B2C3D4E5F", 6, {{23, 3, 3}});
    machine.computer_name = c.current_name;
    machine.version_major = c.major;
    machine.version_minor = c.minor;
    machine.files["C:\\kits\\hostconfig.ini"] = c.file;
    ASSERT_EQ(0, RunProgram(machine));

    std::string windir = machine.ExpandEnvironmentStrings("%WinDir%");
    std::vector<std::string> previewed, launched;
    std::istringstream lines(preview);
    bool renames = false, restarts = false;
    for (std::string line; std::getline(lines, line);) {
      if (line.starts_with("  \"%WinDir%")) {
        previewed.push_back("CreateProcess \"" + windir + line.substr(11));
      }
      if (line.starts_with("Rename: yes")) renames = true;
      if (line.starts_with("Restart: yes")) restarts = true;
    }
    bool renamed = false, restarted = false;
    for (const std::string& event : machine.events) {
      if (event.starts_with("CreateProcess ")) launched.push_back(event);
      if (event.starts_with("SetComputerName ")) renamed = true;
      if (event.starts_with("ExitWindows ")) restarted = true;
    }
    EXPECT_EQ(launched, previewed);
    EXPECT_EQ(renamed, renames);
    EXPECT_EQ(restarted, restarts);
    EXPECT_EQ(c.exit_code == 1, !machine.message_boxes.empty());
  }
}

TEST_F(CheckerProgram, PreviewShowsTheEntryAndTheDefaults) {
  std::string path = Write(
      "show.ini", "Mask=255.255.255.0\r\nGateway=192.0.2.1\r\nREBOOT=0\r\n"
                  "0A1B2C3D4E5F=lab-07, 192.0.2.10 ; desk\r\n");
  EXPECT_EQ(0, Run({path, "--mac", "0A1B2C3D4E5F"}));
  EXPECT_EQ(
      "read as code page 936\n"
      "Preview for MAC 0A1B2C3D4E5F, adapter \"Local Area Connection\", "
      "Windows 10.0 (nothing is changed)\n"
      "Entry: line 4: 0A1B2C3D4E5F=lab-07, 192.0.2.10 ; desk\n"
      "  ComputerName:    LAB-07\n"
      "  IpAddress:       192.0.2.10\n"
      "  SubnetMask:      255.255.255.0 (default \"Mask\", line 1)\n"
      "  GatewayAddress:  192.0.2.1 (default \"Gateway\", line 2)\n"
      "  PrimaryDns:      (empty)\n"
      "  SecondaryDns:    (empty)\n"
      "Rename: to LAB-07, unless already named LAB-07 (letter case "
      "ignored)\n"
      "Restart: no (\"REBOOT\" is \"0\", line 3)\n"
      "Commands, in order, as passed before %WinDir% is expanded:\n"
      "  \"%WinDir%\\system32\\netsh.exe\" interface ipv4 set address "
      "\"Local Area Connection\" static 192.0.2.10 255.255.255.0 192.0.2.1\n",
      out_.str());
}

}  // namespace
}  // namespace hostconfig
