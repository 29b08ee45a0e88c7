#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system/run_log.h"

namespace hostconfig {
namespace {

RunLogLine Sample() {
  RunLogLine line;
  line.time = LocalTime{2026, 12, 11, 8, 2, 13};
  line.mac = "0A1B2C3D4E5F";
  line.adapter = "LAN, \"left\"";
  line.old_name = "OLD\xBB\xFA";  // GBK bytes pass as they are
  line.new_name = "LAB-07";
  line.address = "192.0.2.10";
  line.mask = "255.255.255.0";
  line.gateway = "192.0.2.1";
  line.dns1 = "192.0.2.53";
  line.netsh_exit = {0, 0, 1};
  line.restart = false;
  line.outcome = RunOutcome::kCommandFailed;
  line.detail = "command 3 exited with 1";
  return line;
}

TEST(RunLogFormat, LineIsQuotedCsvEndingInCrLf) {
  EXPECT_EQ(
      "2026-12-11 08:02:13,0A1B2C3D4E5F,\"LAN, \"\"left\"\"\",OLD\xBB\xFA,LAB-07,"
      "192.0.2.10,255.255.255.0,192.0.2.1,192.0.2.53,,0 0 1,no,command-failed,"
      "command 3 exited with 1\r\n",
      FormatRunLogLine(Sample()));
  EXPECT_EQ("\"a\r\nb\"", QuoteCsvField("a\r\nb"));
  EXPECT_EQ("plain", QuoteCsvField("plain"));
}

TEST(RunLogFormat, ParsesWhatItWrites) {
  const std::string text = std::string(kRunLogHeader) + "\r\n" +
                           FormatRunLogLine(Sample());
  size_t pos = 0;
  std::vector<std::string> fields;
  ASSERT_TRUE(NextCsvRecord(text, &pos, &fields));
  EXPECT_EQ(kRunLogFields, fields.size());
  ASSERT_TRUE(NextCsvRecord(text, &pos, &fields));
  std::string problem;
  std::optional<RunLogLine> line = ParseRunLogRecord(fields, &problem);
  ASSERT_TRUE(line) << problem;
  EXPECT_EQ(FormatRunLogLine(Sample()), FormatRunLogLine(*line));
  EXPECT_FALSE(NextCsvRecord(text, &pos, &fields));
}

TEST(RunLogFormat, BadRecordsAreNamed) {
  struct Case {
    const char* name;
    std::string record;
    const char* problem;
  } cases[] = {
      {"cut line", "2026-12-11 08:02:13,0A1B2C3D4E5F,LAN", "3 fields"},
      {"bad time", "2026-12-11T08:02:13,0A1B2C3D4E5F,,,,,,,,,,no,renamed,",
       "is not YYYY-MM-DD"},
      {"bad MAC", "2026-12-11 08:02:13,0A-1B-2C,,,,,,,,,,no,renamed,",
       "is not a MAC address"},
      {"bad exit codes", "2026-12-11 08:02:13,0A1B2C3D4E5F,,,,,,,,,0  1,no,renamed,",
       "not a list of exit codes"},
      {"bad restart", "2026-12-11 08:02:13,0A1B2C3D4E5F,,,,,,,,,,maybe,renamed,",
       "neither yes nor no"},
      {"unknown outcome", "2026-12-11 08:02:13,0A1B2C3D4E5F,,,,,,,,,,no,done,",
       "unknown outcome \"done\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    size_t pos = 0;
    std::vector<std::string> fields;
    ASSERT_TRUE(NextCsvRecord(c.record, &pos, &fields));
    std::string problem;
    EXPECT_FALSE(ParseRunLogRecord(fields, &problem));
    EXPECT_NE(std::string::npos, problem.find(c.problem)) << problem;
  }
  // A quote that is never closed takes the rest of the text.
  size_t pos = 0;
  std::vector<std::string> fields;
  const std::string open = "a,\"b\r\nc,d";
  EXPECT_FALSE(NextCsvRecord(open, &pos, &fields));
  EXPECT_EQ(open.size(), pos);
}

}  // namespace
}  // namespace hostconfig
