// Whole runs with "LogFile": the line each kind of run leaves, when it is
// written, and that a log which cannot be written changes nothing else.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "app/run.h"
#include "system/run_log.h"
#include "tests/fake_machine.h"

namespace hostconfig {
namespace {

const char kIni[] = "C:\\kits\\hostconfig.ini";
const char kLog[] = "\\\\server\\logs\\lab.csv";
const char kLogSetting[] = "LogFile=\\\\server\\logs\\lab.csv\r\n";
const char kDefaults[] =
    "Mask=255.255.255.0\r\nGateway=192.0.2.1\r\nDNS1=192.0.2.53\r\n"
    "DNS2=192.0.2.54\r\n";
const std::string kHeader = std::string(kRunLogHeader) + "\r\n";
const char kTime[] = "2026-12-11 08:02:13,";
const char kMacAndAdapter[] = "0A1B2C3D4E5F,Local Area Connection,";
const char kLabFields[] =
    "192.0.2.10,255.255.255.0,192.0.2.1,192.0.2.53,192.0.2.54,";

// A machine like the run tests': one Ethernet adapter with a DHCPv6
// address, the name OLDNAME, Windows 10.
FakeMachine Machine(const std::string& settings) {
  FakeMachine m;
  m.AddAdapter(u"Local Area Connection", "0A1B2C3D4E5F", 6, {{23, 3, 3}});
  m.computer_name = "OLDNAME";
  m.version_major = 10;
  m.version_minor = 0;
  m.files[kIni] = settings;
  return m;
}

// What a run shows and changes, beside the log.
struct Observed {
  int exit_code;
  std::string stdout_text;
  std::vector<std::string> boxes;
  std::vector<std::string> events;
  std::vector<std::string> sequence;
  std::vector<std::string> launches;
  std::vector<uint32_t> restarts;
};

Observed Observe(FakeMachine& m, int exit_code) {
  Observed o{exit_code, m.StdoutText(), {}, m.events, m.sequence, {},
             m.exit_windows_flags};
  for (const FakeMachine::Box& box : m.message_boxes)
    o.boxes.push_back(box.caption + "|" + box.text);
  for (const FakeMachine::Launch& launch : m.launches)
    o.launches.push_back(launch.command_line);
  return o;
}

void ExpectSame(const Observed& a, const Observed& b) {
  EXPECT_EQ(a.exit_code, b.exit_code);
  EXPECT_EQ(a.stdout_text, b.stdout_text);
  EXPECT_EQ(a.boxes, b.boxes);
  EXPECT_EQ(a.events, b.events);
  EXPECT_EQ(a.sequence, b.sequence);
  EXPECT_EQ(a.launches, b.launches);
  EXPECT_EQ(a.restarts, b.restarts);
}

// How a case's machine differs from the plain one.
using Tweak = void (*)(FakeMachine&);
void Plain(FakeMachine&) {}
void RenameRefused(FakeMachine& m) { m.set_name_ok = false; }
void NoProcessStarts(FakeMachine& m) { m.create_process_ok = false; }
void GbkSystem(FakeMachine& m) { m.UseGbkLeadBytes(); }
void NameWithComma(FakeMachine& m) { m.computer_name = "OLD,PC"; }
// Standard output is a console whose writes fail from write `from` on
// (0 the banner, 1 the line of message 0, 2 message 3, 3 message 4).
template <size_t from>
void ConsoleFailsFrom(FakeMachine& m) {
  m.stdout_kind = StdoutKind::kCharacterDevice;
  m.write_error = 112;
  m.fail_writes_from = from;
}
template <uint32_t first, uint32_t second, uint32_t third>
void ExitCodes(FakeMachine& m) { m.exit_codes = {first, second, third}; }
template <Tweak a, Tweak b>
void Both(FakeMachine& m) { a(m); b(m); }

TEST(RunLogRun, OneLinePerOutcome) {
  struct Case {
    const char* name;
    std::string entries;  // after LogFile and the defaults
    Tweak tweak;
    std::string line;  // after the time, the MAC and the adapter
  } cases[] = {
      {"renamed, no restart asked", "0A1B2C3D4E5F=lab-07,192.0.2.10\r\n", Plain,
       std::string("OLDNAME,LAB-07,") + kLabFields + "0 0 0,no,renamed,"},
      {"renamed and restarted",
       "REBOOT=1\r\n0A1B2C3D4E5F=lab-07,192.0.2.10\r\n", Plain,
       std::string("OLDNAME,LAB-07,") + kLabFields + "0 0 0,yes,renamed,"},
      {"unchanged, REBOOT ignored",
       "REBOOT=1\r\n0A1B2C3D4E5F=oldname,192.0.2.10\r\n", Plain,
       std::string("OLDNAME,OLDNAME,") + kLabFields + "0 0 0,no,unchanged,"},
      {"unchanged without an address: no command",
       "0A1B2C3D4E5F=OLDNAME\r\n", Plain,
       "OLDNAME,OLDNAME,,255.255.255.0,192.0.2.1,192.0.2.53,192.0.2.54,,no,"
       "unchanged,"},
      {"no entry: no fields of an entry", "0A0B0C0D0E0F=OTHER,192.0.2.9\r\n",
       Plain, "OLDNAME,,,,,,,,no,no-entry,"},
      {"entry without a name", "0A1B2C3D4E5F=,192.0.2.10\r\n", Plain,
       "OLDNAME,,,,,,,,no,no-entry,"},
      {"rename refused", "REBOOT=1\r\n0A1B2C3D4E5F=lab-07,192.0.2.10\r\n",
       RenameRefused,
       std::string("OLDNAME,LAB-07,") + kLabFields +
           "0 0 0,no,rename-failed,the system refused the name: error 87"},
      {"rename refused and a command failed",
       "0A1B2C3D4E5F=lab-07,192.0.2.10\r\n",
       Both<RenameRefused, ExitCodes<0, 0, 1>>,
       std::string("OLDNAME,LAB-07,") + kLabFields +
           "0 0 1,no,rename-failed,the system refused the name: error 87; "
           "command 3 of 3 exited with 1"},
      {"second command exits 1, the third still runs",
       "REBOOT=1\r\n0A1B2C3D4E5F=lab-07,192.0.2.10\r\n",
       ExitCodes<0, 1, 0>,
       std::string("OLDNAME,LAB-07,") + kLabFields +
           "0 1 0,yes,command-failed,command 2 of 3 exited with 1"},
      {"network shell cannot be started",
       "0A1B2C3D4E5F=oldname,192.0.2.10\r\n", NoProcessStarts,
       std::string("OLDNAME,OLDNAME,") + kLabFields +
           ",no,command-failed,command 1 of 3 could not be started"},
      {"console fails at the rename line: the failure end",
       "REBOOT=1\r\n0A1B2C3D4E5F=lab-07,192.0.2.10\r\n",
       ConsoleFailsFrom<2>,
       std::string("OLDNAME,LAB-07,") + kLabFields + ",no,failed,I/O error 112"},
      {"console fails at the address line, after the rename",
       "REBOOT=1\r\n0A1B2C3D4E5F=lab-07,192.0.2.10\r\n",
       ConsoleFailsFrom<3>,
       std::string("OLDNAME,LAB-07,") + kLabFields + ",no,failed,I/O error 112"},
      {"names that need quotes", "0A1B2C3D4E5F=\"lab\"07\r\n",
       NameWithComma,
       "\"OLD,PC\",\"\"\"LAB\"\"07\",,255.255.255.0,192.0.2.1,192.0.2.53,"
       "192.0.2.54,,no,renamed,"},
      {"GBK name", "0A1B2C3D4E5F=\xBB\xFA\xB7\xBF-07,192.0.2.10\r\n",
       GbkSystem,
       std::string("OLDNAME,\xBB\xFA\xB7\xBF-07,") + kLabFields +
           "0 0 0,no,renamed,"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m =
        Machine(std::string(kLogSetting) + kDefaults + c.entries);
    c.tweak(m);
    RunProgram(m);
    EXPECT_EQ(kHeader + kTime + kMacAndAdapter + c.line + "\r\n", m.files[kLog]);
  }
}

TEST(RunLogRun, AdapterNameIsQuoted) {
  FakeMachine m = Machine(std::string(kLogSetting) +
                          "0A1B2C3D4E5F=OLDNAME,192.0.2.10,255.0.0.0,192.0.2.1\r\n");
  m.adapters.clear();
  m.AddAdapter(u"LAN, \"Intel\"", "0A1B2C3D4E5F", 6, {{23, 3, 3}});
  RunProgram(m);
  EXPECT_EQ(kHeader + kTime +
                "0A1B2C3D4E5F,\"LAN, \"\"Intel\"\"\",OLDNAME,OLDNAME,"
                "192.0.2.10,255.0.0.0,192.0.2.1,,,0,no,unchanged,\r\n",
            m.files[kLog]);
}

// Runs after one another append to the same log; the header comes once.
TEST(RunLogRun, LaterRunsAppendWithoutAHeader) {
  const std::string settings =
      std::string(kLogSetting) + "0A1B2C3D4E5F=OLDNAME\r\n";
  FakeMachine m = Machine(settings);
  RunProgram(m);
  const std::string first = m.files[kLog];
  FakeMachine again = Machine(settings);
  again.files[kLog] = first;
  RunProgram(again);
  ASSERT_TRUE(first.starts_with(kHeader));
  EXPECT_EQ(first + first.substr(kHeader.size()), again.files[kLog]);
}

// The line is on disk before the box that may stay open for hours, and
// before the restart request that ends the process.
TEST(RunLogRun, LineComesBeforeTheBoxAndTheRestart) {
  struct Case {
    const char* name;
    const char* entries;
    std::string first_after_log;
  } cases[] = {
      {"no entry", "", "MessageBox No valid setting!"},
      // The restart guard's record, then the privilege and the request.
      {"restart", "REBOOT=1\r\n0A1B2C3D4E5F=LAB-07\r\n",
       std::string("RegSetValue HKEY_LOCAL_MACHINE\\SOFTWARE\\HOSTCONFIG\\"
                   "RestartedFor=LAB-07") + '\0'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m = Machine(std::string(kLogSetting) + c.entries);
    EXPECT_EQ(0, RunProgram(m));
    auto log = std::find(m.sequence.begin(), m.sequence.end(),
                         std::string("AppendFile ") + kLog);
    ASSERT_NE(m.sequence.end(), log);
    ASSERT_NE(m.sequence.end(), log + 1);
    EXPECT_EQ(c.first_after_log, *(log + 1));
  }
}

TEST(RunLogRun, NoLineForTheNoAdapterStop) {
  FakeMachine m = Machine(std::string(kLogSetting) + "0A1B2C3D4E5F=LAB-07\r\n");
  m.adapters.clear();
  m.locked_files.insert(kIni);  // would fail a run that read it
  EXPECT_EQ(0, RunProgram(m));
  EXPECT_EQ(0, m.file_reads);
  EXPECT_EQ(0u, m.files.count(kLog));
  EXPECT_EQ(1u, m.message_boxes.size());
}

// The key is looked up like "Mask"; the path may use variables and be
// relative to the executable's folder.
TEST(RunLogRun, WhereTheLogGoes) {
  struct Case {
    const char* setting;
    const char* path;  // empty: no log
  } cases[] = {
      {"LogFile=logs\\%COMPUTERNAME%.csv\r\n", "C:\\kits\\logs\\LAB-PC.csv"},
      {"logfile=\\\\server\\%COMPUTERNAME%.csv ; per PC\r\n",
       "\\\\server\\LAB-PC.csv"},
      {"\"LogFile\"=  lab.csv  \r\n", "C:\\kits\\lab.csv"},
      {"LogFile=\r\nLogFile=second.csv\r\n", ""},  // the first line counts
      {"LogFile=first.csv\r\nLogFile=second.csv\r\n", "C:\\kits\\first.csv"},
      {"LogFile = lab.csv\r\n", ""},  // nothing may stand around the key
      {"LogFile=;lab.csv\r\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setting);
    FakeMachine m = Machine(std::string(c.setting) + "0A1B2C3D4E5F=OLDNAME\r\n");
    m.environment["COMPUTERNAME"] = "LAB-PC";
    const size_t files_before = m.files.size();
    RunProgram(m);
    if (std::string(c.path).empty()) {
      EXPECT_EQ(files_before, m.files.size());
      EXPECT_TRUE(m.sequence.empty());
    } else {
      EXPECT_TRUE(m.files[c.path].starts_with(kHeader));
      EXPECT_EQ(std::vector<std::string>{std::string("AppendFile ") + c.path},
                m.sequence);
    }
  }
}

// A log that cannot be written: the run shows and changes exactly what the
// same run without "LogFile" does, and waits at most the bound.
TEST(RunLogRun, UnwritableLogChangesNothing) {
  struct Cause {
    const char* name;
    uint32_t open_error;
    uint32_t write_error;
  } causes[] = {
      {"missing folder", 3, 0},
      {"access denied", 5, 0},
      {"busy past the bound", 32, 0},
      {"full disk", 0, 112},
  };
  struct Run {
    const char* name;
    std::string entries;
    Tweak tweak;
  } runs[] = {
      {"rename, commands, restart",
       "REBOOT=1\r\n0A1B2C3D4E5F=lab-07,192.0.2.10\r\n", Plain},
      {"no entry", "", Plain},
      {"command fails", "0A1B2C3D4E5F=lab-07,192.0.2.10\r\n",
       ExitCodes<0, 1, 0>},
      {"failure end", "REBOOT=1\r\n0A1B2C3D4E5F=lab-07,192.0.2.10\r\n",
       ConsoleFailsFrom<3>},
  };
  for (const Cause& cause : causes) {
    for (const Run& run : runs) {
      SCOPED_TRACE(std::string(cause.name) + ", " + run.name);
      FakeMachine plain = Machine(std::string(kDefaults) + run.entries);
      run.tweak(plain);
      const Observed expected = Observe(plain, RunProgram(plain));

      FakeMachine logged =
          Machine(std::string(kLogSetting) + kDefaults + run.entries);
      run.tweak(logged);
      if (cause.open_error != 0) logged.open_errors[kLog] = cause.open_error;
      logged.write_file_error = cause.write_error;
      ExpectSame(expected, Observe(logged, RunProgram(logged)));
      EXPECT_LE(std::accumulate(logged.sleeps.begin(), logged.sleeps.end(), 0u),
                kLogBusyBoundMilliseconds);
      EXPECT_EQ(0, logged.open_files);
      const std::string& log = logged.files[kLog];
      EXPECT_TRUE(log.empty()) << log;
    }
  }
}

// A log that is busy for a while is written once it is free, and the run
// is the same as without it.
TEST(RunLogRun, BusyLogIsWrittenOnceFree) {
  const std::string entries = "REBOOT=1\r\n0A1B2C3D4E5F=lab-07,192.0.2.10\r\n";
  FakeMachine plain = Machine(std::string(kDefaults) + entries);
  const Observed expected = Observe(plain, RunProgram(plain));
  FakeMachine logged = Machine(std::string(kLogSetting) + kDefaults + entries);
  logged.busy_opens[kLog] = 10;
  Observed observed = Observe(logged, RunProgram(logged));
  EXPECT_EQ(10u, logged.sleeps.size());
  EXPECT_EQ(kHeader + kTime + kMacAndAdapter + "OLDNAME,LAB-07," + kLabFields +
                "0 0 0,yes,renamed,\r\n",
            logged.files[kLog]);
  // Beside the log write, the run is the plain one.
  auto write = std::find(observed.sequence.begin(), observed.sequence.end(),
                         std::string("AppendFile ") + kLog);
  ASSERT_NE(observed.sequence.end(), write);
  observed.sequence.erase(write);
  ExpectSame(expected, observed);
}

}  // namespace
}  // namespace hostconfig
