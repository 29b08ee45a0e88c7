#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "checker/checker.h"
#include "tests/checker_program.h"
#include "checker/code_page.h"
#include "checker/findings.h"
#include "checker/fleet_report.h"
#include "checker/settings_view.h"
#include "settings/settings_text.h"
#include "system/run_log.h"

namespace hostconfig {
namespace {

const std::string kHeader = std::string(kRunLogHeader) + "\r\n";
const char kDefaults[] =
    "Mask=255.255.255.0\r\nGateway=192.0.2.1\r\nDNS1=192.0.2.53\r\n";

// A log line of a run on MAC at 08:00:SECOND that applied NAME and ADDRESS
// with the defaults above.
std::string Ran(const std::string& mac, RunOutcome outcome,
                const std::string& name, const std::string& address,
                uint16_t second, const std::string& detail = "") {
  RunLogLine line;
  line.time = LocalTime{2026, 12, 11, 8, 0, second};
  line.mac = mac;
  line.adapter = "Ethernet";
  line.old_name = "WIN-7F3K2";
  line.new_name = name;
  if (!address.empty()) {
    line.address = address;
    line.mask = "255.255.255.0";
    line.gateway = "192.0.2.1";
    line.dns1 = "192.0.2.53";
    line.netsh_exit = {0, 0};
  }
  line.outcome = outcome;
  line.detail = detail;
  return FormatRunLogLine(line);
}

std::string NoEntry(const std::string& mac, uint16_t second,
                    const std::string& old_name = "WIN-7F3K2") {
  RunLogLine line;
  line.time = LocalTime{2026, 12, 11, 8, 0, second};
  line.mac = mac;
  line.adapter = "Ethernet";
  line.old_name = old_name;
  line.outcome = RunOutcome::kNoEntry;
  return FormatRunLogLine(line);
}

constexpr RunOutcome kRenamed = RunOutcome::kRenamed;

struct Log {
  std::string name, bytes;
};

struct Outcome {
  std::vector<std::string> rows;  // "LINE MAC STATUS" each
  int exit_code = 0;
  std::string warnings;
};

Outcome Report(const std::string& settings, const std::vector<Log>& logs) {
  size_t unconverted = 0;
  const TextRules rules = CheckerTextRules(936, &unconverted);
  const std::string text = DecodeSettingsFile(rules, settings).text;
  std::vector<LoggedRun> runs;
  std::ostringstream warnings, out;
  for (const Log& log : logs) ReadRunLog(log.name, log.bytes, &runs, warnings);
  FleetReport report = BuildFleetReport(rules, text, runs);
  Outcome outcome;
  for (const FleetRow& row : report.rows) {
    outcome.rows.push_back((row.line ? std::to_string(*row.line) : "-") + " " +
                           row.mac + " " + std::string(StatusWord(row.status)));
  }
  outcome.exit_code = WriteFleetReport(report, out);
  outcome.warnings = warnings.str();
  return outcome;
}

TEST(FleetReport, StatusOfEveryRow) {
  const std::string lab = std::string(kDefaults) +
                          "0A1B2C3D4E5F=LAB-01,192.0.2.11\r\n"  // 4
                          "0A1B2C3D4E60=LAB-02,192.0.2.12\r\n";  // 5
  const std::string a = "0A1B2C3D4E5F", b = "0A1B2C3D4E60";
  struct Case {
    const char* name;
    std::string settings;
    std::vector<Log> logs;
    std::vector<std::string> rows;
    int exit_code;
    std::vector<std::string> warnings;  // each a part of one warning line
  } cases[] = {
      {"both applied as the entries give them now", lab,
       {{"a.csv", kHeader + Ran(a, kRenamed, "LAB-01", "192.0.2.11", 1) +
                      Ran(b, RunOutcome::kUnchanged, "LAB-02", "192.0.2.12", 2)}},
       {"4 " + a + " done", "5 " + b + " done"}, 0, {}},
      {"no log line: pending", lab,
       {{"a.csv", kHeader + Ran(a, kRenamed, "LAB-01", "192.0.2.11", 1)}},
       {"4 " + a + " done", "5 " + b + " pending"}, 1, {}},
      {"the address changed since the run: stale", lab,
       {{"a.csv", kHeader + Ran(a, kRenamed, "LAB-01", "192.0.2.99", 1) +
                      Ran(b, kRenamed, "LAB-02", "192.0.2.12", 2)}},
       {"4 " + a + " stale", "5 " + b + " done"}, 1, {}},
      {"a default changed since the run: stale",
       "Mask=255.255.0.0\r\nGateway=192.0.2.1\r\nDNS1=192.0.2.53\r\n"
       "0A1B2C3D4E5F=LAB-01,192.0.2.11\r\n",
       {{"a.csv", kHeader + Ran(a, kRenamed, "LAB-01", "192.0.2.11", 1)}},
       {"4 " + a + " stale"}, 1, {}},
      {"the name changed since the run: stale", lab,
       {{"a.csv", kHeader + Ran(a, kRenamed, "LAB-09", "192.0.2.11", 1) +
                      Ran(b, kRenamed, "LAB-02", "192.0.2.12", 2)}},
       {"4 " + a + " stale", "5 " + b + " done"}, 1, {}},
      {"every failing outcome: failed", lab + "0A1B2C3D4E61=LAB-03\r\n"
                                              "0A1B2C3D4E62=LAB-04\r\n",
       {{"a.csv", kHeader +
                      Ran(a, RunOutcome::kCommandFailed, "LAB-01", "192.0.2.11",
                          1, "command 1 exited with 1") +
                      Ran(b, RunOutcome::kRenameFailed, "LAB-02", "192.0.2.12", 2) +
                      Ran("0A1B2C3D4E61", RunOutcome::kFailed, "LAB-03", "", 3) +
                      Ran("0A1B2C3D4E62", RunOutcome::kRenameNotApplied,
                          "LAB-04", "", 4)}},
       {"4 " + a + " failed", "5 " + b + " failed", "6 0A1B2C3D4E61 failed",
        "7 0A1B2C3D4E62 failed"},
       1, {}},
      {"a run before the entry was written: pending", lab,
       {{"a.csv", kHeader + NoEntry(a, 1) +
                      Ran(b, kRenamed, "LAB-02", "192.0.2.12", 2)}},
       {"4 " + a + " pending", "5 " + b + " done"}, 1, {}},
      {"the newest by time wins, not the last in the file", lab,
       {{"a.csv", kHeader +
                      Ran(a, RunOutcome::kCommandFailed, "LAB-01", "192.0.2.11", 9) +
                      Ran(a, kRenamed, "LAB-01", "192.0.2.11", 1) +
                      Ran(b, kRenamed, "LAB-02", "192.0.2.12", 2)}},
       {"4 " + a + " failed", "5 " + b + " done"}, 1, {}},
      {"of two lines with one time, the later one wins", lab,
       {{"a.csv", kHeader + Ran(a, RunOutcome::kFailed, "LAB-01", "", 5) +
                      Ran(b, kRenamed, "LAB-02", "192.0.2.12", 2)},
        {"b.csv", kHeader + Ran(a, kRenamed, "LAB-01", "192.0.2.11", 5)}},
       {"4 " + a + " done", "5 " + b + " done"}, 0, {}},
      {"unknown MACs, one of them written with colons in the file",
       lab + "0A:1B:2C:3D:4E:70=LAB-05\r\n",
       {{"a.csv", kHeader + Ran(a, kRenamed, "LAB-01", "192.0.2.11", 1) +
                      Ran(b, kRenamed, "LAB-02", "192.0.2.12", 2) +
                      NoEntry("0A1B2C3D4E71", 3) + NoEntry("0A1B2C3D4E70", 4) +
                      NoEntry("0A1B2C3D4E71", 5)}},
       {"4 " + a + " done", "5 " + b + " done", "- 0A1B2C3D4E71 unknown",
        "- 0A1B2C3D4E70 unknown"},
       1, {}},
      {"an empty plain entry gives way to the dashed one on its line",
       std::string(kDefaults) + "0A1B2C3D4E5F=\r\n0A-1B-2C-3D-4E-5F=LAB-01,192.0.2.11\r\n",
       {{"a.csv", kHeader + Ran(a, kRenamed, "LAB-01", "192.0.2.11", 1)}},
       {"5 " + a + " done"}, 0, {}},
      {"bad lines are passed over, the good ones count", lab,
       {{"a.csv", kHeader +
                      Ran(a, kRenamed, "LAB-01", "192.0.2.11", 1) +  // 2
                      "2026-12-11 08:00:02,0A1B2C3D4E60,Ethernet\r\n" +  // 3
                      kHeader +                                          // 4
                      "2026-12-11 08:00:03,0a1b2c3d4e60,E,O,LAB-02,,,,,,,no,"
                      "renamed,\r\n" +                                   // 5
                      "2026-12-11 08:00:04,0A1B2C3D4E60,E,O,LAB-02,,,,,,,no,"
                      "exploded,\r\n" +                                  // 6
                      "\r\n" +                                           // 7
                      "\"2026-12-11 08:00:05\",0A1B2C3D4E60,\"two\r\nlines\","
                      "O,LAB-02,192.0.2.12,255.255.255.0,192.0.2.1,"
                      "192.0.2.53,,0,no,renamed,\r\n" +                  // 8-9
                      "2026-12-11 08:00:06,0A1B2C3D4E60,E,O,LAB-02,,,,,,,no,"
                      "fail"}},                                          // 10
       {"4 " + a + " done", "5 " + b + " done"}, 0,
       {"a.csv:3: warning: 3 fields, not 14", "a.csv:4: warning: a header line",
        "a.csv:5: warning: \"0a1b2c3d4e60\" is not a MAC address",
        "a.csv:6: warning: unknown outcome \"exploded\"",
        "a.csv:10: warning: the last line has no line end"}},
      {"a quote never closed ends the log", lab,
       {{"a.csv", kHeader + Ran(a, kRenamed, "LAB-01", "192.0.2.11", 1) +
                      "2026-12-11 08:00:02,0A1B2C3D4E60,\"Eth"}},
       {"4 " + a + " done", "5 " + b + " pending"}, 1,
       {"a.csv:3: warning: a quoted field is never closed"}},
      {"a file of another program is passed over whole", lab,
       {{"other.csv", "Name,Value\r\n" +
                          Ran(a, kRenamed, "LAB-01", "192.0.2.11", 1)},
        {"a.csv", Ran(b, kRenamed, "LAB-02", "192.0.2.12", 2)}},
       {"4 " + a + " pending", "5 " + b + " done"}, 1,
       {"other.csv:1: warning: not a hostconfig run log"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Outcome outcome = Report(c.settings, c.logs);
    EXPECT_EQ(c.rows, outcome.rows);
    EXPECT_EQ(c.exit_code, outcome.exit_code);
    size_t lines = 0;
    for (char ch : outcome.warnings) lines += ch == '\n';
    EXPECT_EQ(c.warnings.size(), lines) << outcome.warnings;
    for (const std::string& warning : c.warnings) {
      EXPECT_NE(std::string::npos, outcome.warnings.find(warning))
          << warning << "\n" << outcome.warnings;
    }
  }
}

TEST(FleetReport, RowsInAlignedColumnsAndTheSummary) {
  const std::string settings = std::string(kDefaults) +
                               "0A1B2C3D4E5F=lab-01,192.0.2.11\r\n"
                               "0A1B2C3D4E60=LAB-0002,192.0.2.12\r\n";
  size_t unconverted = 0;
  const TextRules rules = CheckerTextRules(936, &unconverted);
  std::vector<LoggedRun> runs;
  std::ostringstream warnings, out;
  ReadRunLog("a.csv",
             kHeader +
                 Ran("0A1B2C3D4E5F", RunOutcome::kCommandFailed, "LAB-01",
                     "192.0.2.11", 1, "command 2 exited with 1") +
                 NoEntry("0A1B2C3D4E70", 2, "OLD,\"PC\""),
             &runs, warnings);
  EXPECT_EQ(1, WriteFleetReport(BuildFleetReport(rules, settings, runs), out));
  EXPECT_EQ(
      "line  mac           name      status   time                 detail\n"
      "4     0A1B2C3D4E5F  LAB-01    failed   2026-12-11 08:00:01  "
      "command-failed: command 2 exited with 1 [a.csv:2]\n"
      "5     0A1B2C3D4E60  LAB-0002  pending  -                    "
      "no run logged yet\n"
      "-     0A1B2C3D4E70  OLD,\"PC\"  unknown  2026-12-11 08:00:02  "
      "no entry; seen on adapter \"Ethernet\" [a.csv:3]\n"
      "0 done, 0 stale, 1 failed, 1 pending, 1 unknown\n",
      out.str());
  EXPECT_EQ("", warnings.str());
}

// The command line: files on disk, as an administrator runs it.
struct FleetProgram : CheckerProgramTest {};

TEST_F(FleetProgram, NewEntriesAppendedCheckCleanAndReportPending) {
  // MAC collection: defaults only, every PC ran once and stopped.
  std::string ini = Write("lab.ini", kDefaults);
  std::string log = Write(
      "lab.csv", kHeader + NoEntry("0A1B2C3D4E5F", 1) + NoEntry("0A1B2C3D4E60", 2) +
                     "garbage\r\n");
  EXPECT_EQ(1, Run({ini, "--log", log}));
  EXPECT_TRUE(out_.str().ends_with("0 done, 0 stale, 0 failed, 0 pending, 2 unknown\n"))
      << out_.str();
  EXPECT_EQ(0, Run({ini, "--log", log, "--new-entries"}));
  EXPECT_EQ(log + ":4: warning: 1 fields, not 14; the line is passed over\n",
            err_.str());
  Write("lab.ini", out_.str(), std::ios::app);
  EXPECT_EQ(0, Run({ini}));
  EXPECT_EQ("read as code page 936\n0 errors, 0 warnings\n", out_.str());
  EXPECT_EQ(1, Run({ini, "--log", log}));
  EXPECT_TRUE(out_.str().ends_with("0 done, 0 stale, 0 failed, 2 pending, 0 unknown\n"))
      << out_.str();
  // Nothing is unknown any more: nothing more to append.
  EXPECT_EQ(0, Run({ini, "--log", log, "--new-entries"}));
  EXPECT_EQ("", out_.str());
}

TEST_F(FleetProgram, UsageErrors) {
  std::string ini = Write("lab.ini", kDefaults);
  std::string log = Write("lab.csv", kHeader);
  struct Bad {
    const char* name;
    std::vector<std::string> args;
    const char* message;
  } bad[] = {
      {"log without its name", {ini, "--log"}, "--log needs a value"},
      {"new entries without a log", {ini, "--new-entries"}, "needs --log"},
      {"a log and a MAC", {ini, "--log", log, "--mac", "0A1B2C3D4E5F"},
       "do not go together"},
      {"a missing log", {ini, "--log", log, "--log", (dir_ / "no.csv").string()},
       "no.csv: no such file"},
      {"a log but no settings file", {"--log", log}, "no settings file given"},
      {"--here with a log", {"--here", "--log", log}, "--here takes no other"},
      {"--here outside Windows", {"--here"}, "--here needs Windows"},
      {"--here outside Windows, with a file", {"--here", ini}, "--here needs Windows"},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.name);
    EXPECT_EQ(2, Run(b.args));
    EXPECT_NE(std::string::npos, err_.str().find(b.message)) << err_.str();
    EXPECT_EQ("", out_.str());
  }
}

}  // namespace
}  // namespace hostconfig
