// Where the run log is and how a line reaches it: path resolution, the
// header, busy retries within the bound, and errors that keep a line out.
#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "system/run_log.h"
#include "tests/fake_machine.h"

namespace hostconfig {
namespace {

const char kLog[] = "\\\\server\\deploy\\lab.csv";
const std::string kHeader = std::string(kRunLogHeader) + "\r\n";

RunLogLine Line(const std::string& mac) {
  RunLogLine line;
  line.time = LocalTime{2026, 12, 11, 8, 2, 13};
  line.mac = mac;
  line.adapter = "LAN";
  line.old_name = "OLD";
  line.new_name = "LAB-07";
  line.outcome = RunOutcome::kRenamed;
  return line;
}

TEST(IsAbsoluteWindowsPath, DriveUncAndRootAreAbsolute) {
  struct Case {
    const char* path;
    bool absolute;
  } cases[] = {
      {"C:\\logs\\lab.csv", true},
      {"c:/logs/lab.csv", true},
      {"Z:lab.csv", true},  // drive-relative: not under the executable's folder
      {"\\\\server\\deploy\\lab.csv", true},
      {"\\logs\\lab.csv", true},
      {"/logs/lab.csv", true},
      {"lab.csv", false},
      {"logs\\lab.csv", false},
      {".\\lab.csv", false},
      {"..\\logs\\lab.csv", false},
      {"1:\\lab.csv", false},
      {":lab.csv", false},
      {"\xB1\xBE:lab.csv", false},  // a double-byte name is no drive letter
      {"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(c.absolute, IsAbsoluteWindowsPath(c.path));
  }
}

TEST(ResolveLogPath, ExpandsVariablesAndTakesTheExecutablesFolder) {
  struct Case {
    const char* name;
    std::string module;
    std::string value;
    std::string expected;
  } cases[] = {
      {"UNC path with the computer name",
       "C:\\kits\\hostconfig.exe", "\\\\server\\deploy\\logs\\%COMPUTERNAME%.csv",
       "\\\\server\\deploy\\logs\\LAB-PC.csv"},
      {"variable standing for the whole path", "C:\\kits\\hostconfig.exe",
       "%LOGS%\\lab.csv", "E:\\logs\\lab.csv"},
      {"relative path: the executable's folder", "\\\\server\\kits\\hostconfig.exe",
       "logs\\lab.csv", "\\\\server\\kits\\logs\\lab.csv"},
      {"relative path with a variable", "C:\\kits\\hostconfig.exe",
       "%COMPUTERNAME%.csv", "C:\\kits\\LAB-PC.csv"},
      {"undefined variable stays", "C:\\kits\\hostconfig.exe", "%NOPE%.csv",
       "C:\\kits\\%NOPE%.csv"},
      {"drive path", "C:\\kits\\hostconfig.exe", "D:\\lab.csv", "D:\\lab.csv"},
      {"root of the current drive", "C:\\kits\\hostconfig.exe", "\\lab.csv",
       "\\lab.csv"},
      // 0x5C as the second byte of a double-byte character is no separator.
      {"double-byte executable name", "C:\\kits\\\x81\x5Chc.exe", "lab.csv",
       "C:\\kits\\lab.csv"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m;
    m.UseGbkLeadBytes();
    m.module_path = c.module;
    m.environment["COMPUTERNAME"] = "LAB-PC";
    m.environment["LOGS"] = "E:\\logs";
    EXPECT_EQ(c.expected, ResolveLogPath(m, c.value));
  }
}

TEST(AppendRunLog, HeaderOnlyOnANewOrEmptyFile) {
  const std::string line = FormatRunLogLine(Line("0A1B2C3D4E5F"));
  struct Case {
    const char* name;
    bool exists;
    std::string before;
    std::string after;
  } cases[] = {
      {"new file", false, "", kHeader + line},
      {"empty file", true, "", kHeader + line},
      {"file with a header", true, kHeader, kHeader + line},
      {"file with lines", true, kHeader + line, kHeader + line + line},
      {"file from elsewhere", true, "x", "x" + line},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m;
    if (c.exists) m.files[kLog] = c.before;
    EXPECT_EQ(0u, AppendRunLog(m, kLog, Line("0A1B2C3D4E5F")));
    EXPECT_EQ(c.after, m.files[kLog]);
    // One write, and the file closed again.
    EXPECT_EQ(std::vector<std::string>{std::string("AppendFile ") + kLog},
              m.sequence);
    EXPECT_EQ(0, m.open_files);
    EXPECT_TRUE(m.sleeps.empty());
  }
}

TEST(AppendRunLog, BusyLogIsRetriedAfterShortPauses) {
  FakeMachine m;
  m.busy_opens[kLog] = 5;
  EXPECT_EQ(0u, AppendRunLog(m, kLog, Line("0A1B2C3D4E5F")));
  EXPECT_EQ(kHeader + FormatRunLogLine(Line("0A1B2C3D4E5F")), m.files[kLog]);
  ASSERT_EQ(5u, m.sleeps.size());
  for (uint32_t pause : m.sleeps) {
    EXPECT_GE(pause, kLogPauseMinMilliseconds);
    EXPECT_LE(pause, kLogPauseMaxMilliseconds);
  }
  EXPECT_EQ(0, m.open_files);
}

// A log that stays busy: tries stop once 15 s have passed, measured from the
// first try, also when the tick count wraps meanwhile.
TEST(AppendRunLog, BusyLogIsGivenUpAfterTheBound) {
  for (uint32_t start : {1000u, 0xFFFFF000u}) {
    SCOPED_TRACE(start);
    FakeMachine m;
    m.tick = start;
    m.files[kLog] = kHeader;
    m.open_errors[kLog] = 32;
    EXPECT_EQ(32u, AppendRunLog(m, kLog, Line("0A1B2C3D4E5F")));
    EXPECT_EQ(kHeader, m.files[kLog]);
    ASSERT_GT(m.sleeps.size(), 15000u / kLogPauseMaxMilliseconds);
    EXPECT_EQ(kLogBusyBoundMilliseconds,
              std::accumulate(m.sleeps.begin(), m.sleeps.end(), 0u));
    // Every pause but the last, which ends at the bound, is a whole one.
    for (size_t i = 0; i + 1 < m.sleeps.size(); ++i) {
      EXPECT_GE(m.sleeps[i], kLogPauseMinMilliseconds);
      EXPECT_LE(m.sleeps[i], kLogPauseMaxMilliseconds);
    }
    EXPECT_GE(m.sleeps.back(), 1u);
    EXPECT_LE(m.sleeps.back(), kLogPauseMaxMilliseconds);
  }
}

// PCs that find the log busy together must not retry in step.
TEST(AppendRunLog, PausesDifferBetweenPcs) {
  std::vector<std::vector<uint32_t>> drawn;
  for (const char* mac : {"0A1B2C3D4E5F", "0A1B2C3D4E60"}) {
    FakeMachine m;
    m.busy_opens[kLog] = 8;
    EXPECT_EQ(0u, AppendRunLog(m, kLog, Line(mac)));
    drawn.push_back(m.sleeps);
  }
  EXPECT_NE(drawn[0], drawn[1]);
  // Nor all pauses of one PC alike.
  EXPECT_NE(std::vector<uint32_t>(8, drawn[0][0]), drawn[0]);
}

TEST(AppendRunLog, ErrorsKeepTheLineOutWithoutRetries) {
  struct Case {
    const char* name;
    uint32_t open_error;
    uint32_t write_error;
    uint32_t expected;
  } cases[] = {
      {"missing folder", 3, 0, 3},
      {"access denied", 5, 0, 5},
      {"bad network path", 53, 0, 53},
      {"full disk", 0, 112, 112},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m;
    if (c.open_error != 0) m.open_errors[kLog] = c.open_error;
    m.write_file_error = c.write_error;
    EXPECT_EQ(c.expected, AppendRunLog(m, kLog, Line("0A1B2C3D4E5F")));
    EXPECT_TRUE(m.sleeps.empty());
    EXPECT_TRUE(m.sequence.empty());
    EXPECT_EQ(0, m.open_files);
  }
}

}  // namespace
}  // namespace hostconfig
