#include "system/address_commands.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/fake_machine.h"

namespace hostconfig {
namespace {

const std::vector<std::string> kIpv4Commands = {
    "\"%WinDir%\\system32\\netsh.exe\" interface ipv4 set address \"LAN\" static "
    "10.0.0.5 255.255.255.0 10.0.0.1",
    "\"%WinDir%\\system32\\netsh.exe\"  interface  ipv4  set  dns  \"LAN\"  static  "
    "10.0.0.53  primary",
    "\"%WinDir%\\system32\\netsh.exe\"  interface  ipv4  add  dns  \"LAN\"  10.0.0.54",
};
const std::vector<std::string> kIpCommands = {
    "\"%WinDir%\\system32\\netsh.exe\" interface ip set address \"LAN\" static "
    "10.0.0.5 255.255.255.0 10.0.0.1",
    "\"%WinDir%\\system32\\netsh.exe\"  interface  ip  set  dns  \"LAN\"  static  "
    "10.0.0.53  primary",
    "\"%WinDir%\\system32\\netsh.exe\"  interface  ip  add  dns  \"LAN\"  10.0.0.54",
};

MachineRecordFields Record(const std::string& dns1, const std::string& dns2) {
  MachineRecordFields record;
  record.ComputerName = "PC-042";
  record.IpAddress = "10.0.0.5";
  record.SubnetMask = "255.255.255.0";
  record.GatewayAddress = "10.0.0.1";
  record.PrimaryDns = dns1;
  record.SecondaryDns = dns2;
  return record;
}

TEST(BuildAddressCommands, TemplatesByVersionAndDns) {
  struct Case {
    const char* name;
    double version;
    const char* dns1;
    const char* dns2;
    bool ip_context;
    size_t commands;
  } cases[] = {
      {"5.1, both DNS", 5.1, "10.0.0.53", "10.0.0.54", true, 3},
      {"5.2, both DNS", 5.2, "10.0.0.53", "10.0.0.54", true, 3},
      {"just below 5.95", 5.9499, "10.0.0.53", "10.0.0.54", true, 3},
      {"unknown version", 0.0, "10.0.0.53", "10.0.0.54", true, 3},
      {"5.95, both DNS", 5.95, "10.0.0.53", "10.0.0.54", false, 3},
      {"6.0, both DNS", 6.0, "10.0.0.53", "10.0.0.54", false, 3},
      {"10.0, both DNS", 10.0, "10.0.0.53", "10.0.0.54", false, 3},
      {"5.1, primary DNS only", 5.1, "10.0.0.53", "", true, 2},
      {"6.0, primary DNS only", 6.0, "10.0.0.53", "", false, 2},
      {"10.0, primary DNS only", 10.0, "10.0.0.53", "", false, 2},
      // No primary DNS: no DNS command at all, whatever the second holds.
      {"5.1, second DNS only", 5.1, "", "10.0.0.54", true, 1},
      {"5.95, second DNS only", 5.95, "", "10.0.0.54", false, 1},
      {"10.0, second DNS only", 10.0, "", "10.0.0.54", false, 1},
      {"5.1, no DNS", 5.1, "", "", true, 1},
      {"6.0, no DNS", 6.0, "", "", false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::string>& all = c.ip_context ? kIpCommands : kIpv4Commands;
    std::vector<std::string> expected(all.begin(), all.begin() + c.commands);
    EXPECT_EQ(expected, BuildAddressCommands(Record(c.dns1, c.dns2), "LAN", c.version));
  }
}

TEST(BuildAddressCommands, TemplatesKeepTheirLengths) {
  // With every value empty, each command is its template less the
  // placeholders: 85 - 10 - 6, 91 - 10 - 2, 74 - 10 - 2 characters.
  MachineRecordFields empty;
  empty.PrimaryDns = "-";
  empty.SecondaryDns = "-";
  std::vector<std::string> commands = BuildAddressCommands(empty, "", 10.0);
  ASSERT_EQ(3u, commands.size());
  EXPECT_EQ(69u, commands[0].size());
  EXPECT_EQ(80u, commands[1].size());
  EXPECT_EQ(63u, commands[2].size());
  EXPECT_EQ("\"%WinDir%\\system32\\netsh.exe\" interface ipv4 set address \"\" static   ",
            commands[0]);
}

// A name that lost characters in the ANSI code page names no adapter; from
// Windows 6.0 on the commands name the adapter by its interface index
// instead. Every other name stays as it is, byte for byte.
TEST(AdapterInCommands, IndexOnlyForALossyNameFromWindows60) {
  struct Case {
    const char* name;
    std::string adapter;
    bool lossy;
    uint32_t if_index;
    double version;
    std::string expected;
  } cases[] = {
      {"lossy name, 10.0", "lan-?", true, 12, 10.0, "12"},
      {"lossy name, 6.0", "lan-?", true, 7, 6.0, "7"},
      {"lossy name, 6.1, large index", "lan-?", true, 4294967295u, 6.1,
       "4294967295"},
      {"lossy name, just below 6.0", "lan-?", true, 12, 5.9999, "lan-?"},
      {"lossy name, 5.95 (ipv4 context, no index)", "lan-?", true, 12, 5.95,
       "lan-?"},
      {"lossy name, 5.1", "lan-?", true, 12, 5.1, "lan-?"},
      {"lossy name without an IPv4 index", "lan-?", true, 0, 10.0, "lan-?"},
      {"name the code page holds", "LAN", false, 12, 10.0, "LAN"},
      {"double-byte name the code page holds", "\xB1\xBE\xB5\xD8", false,
       12, 10.0, "\xB1\xBE\xB5\xD8"},
      {"name holding a question mark of its own", "LAN?", false, 12, 10.0,
       "LAN?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected,
              AdapterInCommands(c.adapter, c.lossy, c.if_index, c.version));
  }
}

TEST(ApplyAddressCommands, InsertsValuesVerbatim) {
  struct Case {
    const char* name;
    std::string adapter;
    MachineRecordFields record;
    std::vector<std::string> expected;
  } cases[] = {
      {"adapter name holding a placeholder", "LAN %1",
       {"PC", "10.0.0.5", "255.0.0.0", "10.0.0.1", "", ""},
       {"\"C:\\WINDOWS\\system32\\netsh.exe\" interface ipv4 set address \"LAN %1\" "
        "static 10.0.0.5 255.0.0.0 10.0.0.1"}},
      {"adapter name with a percent sign", "Office 100%",
       {"PC", "10.0.0.5", "255.0.0.0", "10.0.0.1", "", ""},
       {"\"C:\\WINDOWS\\system32\\netsh.exe\" interface ipv4 set address \"Office 100%\" "
        "static 10.0.0.5 255.0.0.0 10.0.0.1"}},
      {"adapter name with a quote", "A \"B",
       {"PC", "10.0.0.5", "255.0.0.0", "10.0.0.1", "", ""},
       {"\"C:\\WINDOWS\\system32\\netsh.exe\" interface ipv4 set address \"A \"B\" "
        "static 10.0.0.5 255.0.0.0 10.0.0.1"}},
      {"adapter named like a placeholder", "LOCAL_LINK",
       {"PC", "10.0.0.5", "255.0.0.0", "10.0.0.1", "", ""},
       {"\"C:\\WINDOWS\\system32\\netsh.exe\" interface ipv4 set address \"LOCAL_LINK\" "
        "static 10.0.0.5 255.0.0.0 10.0.0.1"}},
      {"adapter named like the context", "ipv4",
       {"PC", "10.0.0.5", "255.0.0.0", "10.0.0.1", "", ""},
       {"\"C:\\WINDOWS\\system32\\netsh.exe\" interface ipv4 set address \"ipv4\" "
        "static 10.0.0.5 255.0.0.0 10.0.0.1"}},
      {"adapter name with a reference", "%WinDir%",
       {"PC", "10.0.0.5", "255.0.0.0", "10.0.0.1", "", ""},
       {"\"C:\\WINDOWS\\system32\\netsh.exe\" interface ipv4 set address \"%WinDir%\" "
        "static 10.0.0.5 255.0.0.0 10.0.0.1"}},
      {"empty adapter name", "",
       {"PC", "10.0.0.5", "255.0.0.0", "10.0.0.1", "", ""},
       {"\"C:\\WINDOWS\\system32\\netsh.exe\" interface ipv4 set address \"\" "
        "static 10.0.0.5 255.0.0.0 10.0.0.1"}},
      {"values holding later placeholders", "LAN",
       {"PC", "%2", "%3", "%1", "%1", "LOCAL_LINK"},
       {"\"C:\\WINDOWS\\system32\\netsh.exe\" interface ipv4 set address \"LAN\" "
        "static %2 %3 %1",
        "\"C:\\WINDOWS\\system32\\netsh.exe\"  interface  ipv4  set  dns  \"LAN\"  "
        "static  %1  primary",
        "\"C:\\WINDOWS\\system32\\netsh.exe\"  interface  ipv4  add  dns  \"LAN\"  "
        "LOCAL_LINK"}},
      {"values holding references and signs", "LAN",
       {"PC", "%WinDir%", "100%", "%%", "%TEMP%", "a%b"},
       {"\"C:\\WINDOWS\\system32\\netsh.exe\" interface ipv4 set address \"LAN\" "
        "static %WinDir% 100% %%",
        "\"C:\\WINDOWS\\system32\\netsh.exe\"  interface  ipv4  set  dns  \"LAN\"  "
        "static  %TEMP%  primary",
        "\"C:\\WINDOWS\\system32\\netsh.exe\"  interface  ipv4  add  dns  \"LAN\"  "
        "a%b"}},
      {"double-byte adapter name", "\xB1\xBE\xB5\xD8",
       {"PC", "10.0.0.5", "255.0.0.0", "10.0.0.1", "", ""},
       {"\"C:\\WINDOWS\\system32\\netsh.exe\" interface ipv4 set address "
        "\"\xB1\xBE\xB5\xD8\" static 10.0.0.5 255.0.0.0 10.0.0.1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m;
    m.environment["TEMP"] = "C:\\T";
    ApplyAddressCommands(m, c.record, c.adapter, 10.0);
    std::vector<std::string> launched;
    for (const FakeMachine::Launch& launch : m.launches)
      launched.push_back(launch.command_line);
    EXPECT_EQ(c.expected, launched);
  }
}

TEST(ApplyAddressCommands, RunsEachCommandHiddenAndAwaited) {
  FakeMachine m;
  m.environment["WinDir"] = "D:\\Win 10";
  m.wait_timeouts = 2;
  const std::vector<CommandRun> runs =
      ApplyAddressCommands(m, Record("10.0.0.53", "10.0.0.54"), "LAN", 5.1);

  ASSERT_EQ(3u, m.launches.size());
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const FakeMachine::Launch& launch = m.launches[i];
    std::string expected = kIpCommands[i];
    expected.replace(1, 8, "D:\\Win 10");
    EXPECT_EQ(expected, launch.command_line);
    EXPECT_EQ(0u, launch.startup.show_window);
    EXPECT_FALSE(launch.has_directory);
    // Each command has ended (three waits, both handles closed) before the
    // next one started.
    EXPECT_EQ(3, launch.waits);
    EXPECT_EQ(2, launch.closed_handles);
  }
  EXPECT_EQ(m.launches[2].command_line, runs.back().line);
}

TEST(ApplyAddressCommands, GoesOnAfterACommandThatCannotStart) {
  FakeMachine m;
  m.create_process_ok = false;
  ApplyAddressCommands(m, Record("10.0.0.53", "10.0.0.54"), "LAN", 10.0);
  EXPECT_EQ(3, m.create_process_calls);
}

TEST(ApplyAddressCommands, GivesEachCommandsStartAndExitCode) {
  struct Case {
    const char* name;
    bool create_ok;
    std::vector<uint32_t> exit_codes;
    bool exit_code_ok;
    std::vector<std::optional<uint32_t>> expected;
  } cases[] = {
      {"all exit 0", true, {0, 0, 0}, true, {0u, 0u, 0u}},
      // A command that exits non-zero does not stop the ones after it.
      {"second exits 1", true, {0, 1, 0}, true, {0u, 1u, 0u}},
      {"first exits 1", true, {1, 0, 0}, true, {1u, 0u, 0u}},
      {"codes cannot be read", true, {1, 1, 1}, false,
       {std::nullopt, std::nullopt, std::nullopt}},
      {"none can start", false, {0, 0, 0}, true,
       {std::nullopt, std::nullopt, std::nullopt}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m;
    m.create_process_ok = c.create_ok;
    m.exit_codes = c.exit_codes;
    m.exit_code_ok = c.exit_code_ok;
    const std::vector<CommandRun> runs =
        ApplyAddressCommands(m, Record("10.0.0.53", "10.0.0.54"), "LAN", 5.1);
    EXPECT_EQ(3, m.create_process_calls);
    ASSERT_EQ(3u, runs.size());
    for (size_t i = 0; i < runs.size(); ++i) {
      SCOPED_TRACE(i);
      std::string expected = kIpCommands[i];
      expected.replace(1, 8, "C:\\WINDOWS");
      EXPECT_EQ(expected, runs[i].line);
      EXPECT_EQ(c.create_ok, runs[i].started);
      EXPECT_EQ(c.expected[i], runs[i].exit_code);
    }
  }
}

TEST(ExpandCommandProgram, ExpandsOnlyTheProgramPath) {
  struct Case {
    const char* command;
    const char* expected;
  } cases[] = {
      {"\"%WinDir%\\netsh.exe\" %WinDir% 100%", "\"C:\\WINDOWS\\netsh.exe\" %WinDir% 100%"},
      {"\"%WinDir%\\netsh.exe\"", "\"C:\\WINDOWS\\netsh.exe\""},
      {"\"%FOO%\\netsh.exe\" %WinDir%", "\"%FOO%\\netsh.exe\" %WinDir%"},
      {"%WinDir%\\netsh.exe %WinDir%", "C:\\WINDOWS\\netsh.exe %WinDir%"},
      {"\"%WinDir% unclosed", "\"C:\\WINDOWS unclosed"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    FakeMachine m;
    EXPECT_EQ(c.expected, ExpandCommandProgram(m, c.command));
  }
}

}  // namespace
}  // namespace hostconfig
