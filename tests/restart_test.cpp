#include "system/restart.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings_file.h"
#include "tests/fake_machine.h"

namespace hostconfig {
namespace {

TEST(RestartWindows, EnablesTheShutdownPrivilegeThenExits) {
  struct Case {
    const char* name;
    uint16_t flags;
    bool force;
    bool token_ok;
    bool enables_privilege;
    uint32_t exit_flags;
  } cases[] = {
      {"forced reboot", kEwxReboot, true, true, true, 6},
      {"reboot", kEwxReboot, false, true, true, 2},
      {"shutdown", kEwxShutdown, true, true, true, 5},
      {"power-off", kEwxPoweroff, true, true, true, 12},
      {"shutdown with power-off", kEwxShutdown | kEwxPoweroff, false, true, true, 9},
      {"log-off", kEwxLogoff, true, true, false, 4},
      {"log-off, unforced", kEwxLogoff, false, true, false, 0},
      // The force flag passed in is no reason for the privilege.
      {"force alone", kEwxForce, false, true, false, 4},
      {"token refused", kEwxReboot, true, false, false, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m;
    m.open_token_ok = c.token_ok;
    RestartWindows(m, c.flags, c.force);
    bool asks_token = (c.flags & (kEwxReboot | kEwxShutdown | kEwxPoweroff)) != 0;
    EXPECT_EQ(asks_token ? 0x28u : 0u, m.token_access);
    std::vector<std::string> lookups;
    std::vector<std::string> events;
    if (c.enables_privilege) {
      lookups = {"SeShutdownPrivilege"};
      events = {"AdjustToken"};
      EXPECT_EQ(2u, m.adjusted_attributes);
    }
    events.push_back("ExitWindows " + std::to_string(c.exit_flags));
    EXPECT_EQ(lookups, m.privilege_lookups);
    EXPECT_EQ(c.enables_privilege ? 1 : 0, m.privilege_adjustments);
    EXPECT_EQ(c.enables_privilege ? 1 : 0, m.token_closes);
    EXPECT_EQ(events, m.events);
  }
}

TEST(RestartRequested, WhenTheCleanedValueBeginsWithOne) {
  struct Case {
    const char* cleaned;
    bool restart;
  } cases[] = {
      {"1", true},   {"10", true},   {"1abc", true}, {"", false},
      {"0", false},  {"01", false},  {"yes", false}, {"true", false},
      {" 1", false}, {"-1", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cleaned);
    EXPECT_EQ(c.restart, RestartRequested(c.cleaned));
  }
}

TEST(RunRestartPhase, ReadsRebootAfreshFromTheSettingsFile) {
  struct Case {
    const char* name;
    const char* file;  // nullptr: no settings file
    const char* setting;
    bool restarts;
  } cases[] = {
      {"1", "[x]\r\nREBOOT=1\r\n", "1", true},
      {"10", "REBOOT=10\r\n", "10", true},
      {"1 with a comment", "REBOOT=1;restart after the rename\r\n", "1", true},
      {"1 with spaces", "REBOOT=  1  \r\n", "1", true},
      {"1 with a fullwidth comment", "REBOOT=1\xA3\xBB" "comment\r\n", "1", true},
      {"key in another case", "reboot=1\r\n", "1", true},
      {"0", "REBOOT=0\r\n", "0", false},
      {"empty", "REBOOT=\r\n", "", false},
      {"yes", "REBOOT=yes\r\n", "yes", false},
      {"only a comment", "REBOOT=;1\r\n", "", false},
      {"missing key", "DNS1=10.0.0.53\r\n", "", false},
      {"no settings file", nullptr, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m;
    m.UseGbkLeadBytes();
    const std::string settings_path = "C:\\kits\\hostconfig.ini";
    if (c.file != nullptr) m.files[settings_path] = c.file;
    EXPECT_EQ(c.setting, RunRestartPhase(m, settings_path));
    std::vector<uint32_t> exits;
    if (c.restarts) exits = {6};
    EXPECT_EQ(exits, m.exit_windows_flags);
    EXPECT_EQ(c.restarts ? 1 : 0, m.privilege_adjustments);
  }
}

// The name the restart is for is recorded just before the request, and
// only when a restart is requested.
TEST(RunRestartPhase, RecordsTheNameJustBeforeTheRestart) {
  struct Case {
    const char* name;
    const char* file;
    std::string restarted_for;
    std::vector<std::string> events;
  } cases[] = {
      {"restart", "REBOOT=1\r\n", "PC-042",
       {"RegSetValue HKEY_LOCAL_MACHINE\\SOFTWARE\\HOSTCONFIG\\RestartedFor=" +
            std::string("PC-042\0", 7),
        "AdjustToken", "ExitWindows 6"}},
      {"no restart asked for", "REBOOT=0\r\n", "PC-042", {}},
      {"no name to record", "REBOOT=1\r\n", "", {"AdjustToken", "ExitWindows 6"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m;
    const std::string settings_path = "C:\\kits\\hostconfig.ini";
    m.files[settings_path] = c.file;
    RunRestartPhase(m, settings_path, c.restarted_for);
    EXPECT_EQ(c.events, m.events);
    EXPECT_EQ(0, m.open_keys);
  }
}

}  // namespace
}  // namespace hostconfig
