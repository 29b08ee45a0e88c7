#include "system/command_runner.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/fake_machine.h"

namespace hostconfig {
namespace {

TEST(ExpandPercentVariables, ExpandsPassByPass) {
  struct Case {
    const char* text;
    std::string expected;
  } cases[] = {
      {"", ""},
      {"no references", "no references"},
      {"%WinDir%\\system32", "C:\\WINDOWS\\system32"},
      {"\"%windir%\\system32\\netsh.exe\" x", "\"C:\\WINDOWS\\system32\\netsh.exe\" x"},
      {"%WinDir% and %TEMP%.", "C:\\WINDOWS and C:\\T."},
      {"%WinDir%%WinDir%", "C:\\WINDOWSC:\\WINDOWS"},
      {"a%%b", "ab"},
      {"%%", ""},
      {"100%", "100"},
      {"%", ""},
      {"a%b", "ab"},
      // Two signs enclose a defined name; the third vanishes.
      {"%WinDir%x%y", "C:\\WINDOWSxy"},
      // An undefined name stops everything from it on.
      {"%FOO% %WinDir%", "%FOO% %WinDir%"},
      {"%WinDir% %FOO% %WinDir%", "C:\\WINDOWS %FOO% %WinDir%"},
      // "%%" vanishes, and the "%" that takes its place stops the expansion.
      {"%%%WinDir%", "%WinDir%"},
      {"%%%%", "%%"},
      // A value that begins with "%" stops the expansion after it.
      {"%PCT%rest %WinDir%", "%abcrest %WinDir%"},
      // A "%" later in a value takes part in the following passes.
      {"%NEST%!", "xC:\\WINDOWS!"},
      // The whole value, however long.
      {"<%LONG%>", "<" + std::string(300, 'L') + ">"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    FakeMachine m;
    m.environment["TEMP"] = "C:\\T";
    m.environment["PCT"] = "%abc";
    m.environment["NEST"] = "x%WinDir%";
    m.environment["LONG"] = std::string(300, 'L');
    std::string text = c.text;
    ExpandPercentVariables(m, &text);
    EXPECT_EQ(c.expected, text);
  }
}

TEST(ExpandPercentVariables, StopsASelfReferringVariable) {
  FakeMachine m;
  const std::string value = std::string(100, 'a') + "%SELF%";
  m.environment["SELF"] = value;
  std::string text = "%SELF%";
  ExpandPercentVariables(m, &text);
  EXPECT_GT(text.size(), 32767u);
  EXPECT_LE(text.size(), 32767u + value.size());
  EXPECT_TRUE(text.ends_with("%SELF%"));
}

TEST(LaunchProcess, StartsHiddenAndAwaitsTheEnd) {
  struct Case {
    const char* name;
    bool create_ok;
    bool wait;
    int timeouts;
    bool with_directory;
    bool result;
    int waits;
  } cases[] = {
      {"ends at once", true, true, 0, false, true, 1},
      {"runs for a while", true, true, 3, false, true, 4},
      {"in a directory", true, true, 0, true, true, 1},
      {"without waiting", true, false, 3, false, true, 0},
      {"cannot start", false, true, 3, false, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m;
    m.create_process_ok = c.create_ok;
    m.wait_timeouts = c.timeouts;
    std::string directory = "C:\\work";
    EXPECT_EQ(c.result, LaunchProcess(m, "prog.exe arg", c.with_directory ? &directory : nullptr,
                                      c.wait, 0));
    EXPECT_EQ(1, m.create_process_calls);
    if (!c.create_ok) {
      EXPECT_TRUE(m.launches.empty());
      continue;
    }
    ASSERT_EQ(1u, m.launches.size());
    const FakeMachine::Launch& launch = m.launches[0];
    EXPECT_EQ("prog.exe arg", launch.command_line);
    EXPECT_TRUE(launch.inherit_handles);
    EXPECT_EQ(c.with_directory, launch.has_directory);
    EXPECT_EQ(68u, launch.startup.cb);
    EXPECT_EQ(0x101u, launch.startup.flags);
    EXPECT_EQ(0u, launch.startup.show_window);
    EXPECT_EQ(std::vector<Handle>(c.waits, launch.process), launch.waited);
    EXPECT_EQ(std::vector<uint32_t>(c.waits, 100), launch.wait_milliseconds);
    std::vector<Handle> both = {launch.process, launch.thread};
    EXPECT_EQ(both, launch.closed);
  }
}

TEST(LaunchProcess, PassesTheWindowState) {
  FakeMachine m;
  EXPECT_TRUE(LaunchProcess(m, "x", nullptr, false, 5));
  ASSERT_EQ(1u, m.launches.size());
  EXPECT_EQ(5u, m.launches[0].startup.show_window);
}

TEST(LaunchProcess, ReadsTheExitCodeAfterTheWait) {
  struct Case {
    const char* name;
    bool create_ok;
    bool wait;
    int timeouts;
    bool exit_code_ok;
    std::vector<uint32_t> exit_codes;
    std::optional<uint32_t> expected;
  } cases[] = {
      {"exits 0", true, true, 0, true, {0}, 0u},
      {"exits 1 after a while", true, true, 3, true, {1}, 1u},
      {"exits with a large code", true, true, 0, true, {0xC0000005u}, 0xC0000005u},
      {"code cannot be read", true, true, 0, false, {1}, std::nullopt},
      {"not awaited: no code", true, false, 0, true, {1}, std::nullopt},
      {"cannot start: no code", false, true, 0, true, {1}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m;
    m.create_process_ok = c.create_ok;
    m.wait_timeouts = c.timeouts;
    m.exit_code_ok = c.exit_code_ok;
    m.exit_codes = c.exit_codes;
    std::optional<uint32_t> code = 77u;  // a stale value must not survive
    EXPECT_EQ(c.create_ok, LaunchProcess(m, "prog.exe", nullptr, c.wait, 0, &code));
    EXPECT_EQ(c.expected, code);
  }
}

}  // namespace
}  // namespace hostconfig
