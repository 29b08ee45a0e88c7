// The network shell command texts built from fuzzed record fields, adapter
// name and version.
//
// Checks: the quoted program path comes first; every value appears verbatim
// in its slot, whatever it holds ("%1", "LOCAL_LINK", quotes, "%WinDir%");
// the DNS commands follow their conditions; ExpandCommandProgram changes
// only the program path; ApplyAddressCommands launches exactly those texts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/fuzz_check.h"
#include "system/address_commands.h"
#include "system/command_runner.h"
#include "tests/fake_machine.h"

namespace hostconfig {
namespace {

constexpr char kProgram[] = "\"%WinDir%\\system32\\netsh.exe\"";

std::string Field(FuzzedDataProvider& input) {
  static const char* const kTricky[] = {
      "%1", "%2", "%3", "LOCAL_LINK", "ipv4", "%WinDir%", "a \"b\" c", "%", ""};
  std::string value = input.ConsumeRandomLengthString(40);
  if (input.ConsumeBool()) value += kTricky[input.ConsumeIntegralInRange(0, 8)];
  return value;
}

}  // namespace
}  // namespace hostconfig

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace hostconfig;
  FuzzedDataProvider input(data, size);
  static const double kVersions[] = {5.0, 5.1, 5.2, 5.95, 5.9499, 6.0, 6.1, 10.0};
  const double version = kVersions[input.ConsumeIntegralInRange(0, 7)];
  MachineRecordFields record;
  record.ComputerName = Field(input);
  record.IpAddress = Field(input);
  record.SubnetMask = Field(input);
  record.GatewayAddress = Field(input);
  record.PrimaryDns = Field(input);
  record.SecondaryDns = Field(input);
  const std::string adapter = Field(input);
  const std::string windir = input.ConsumeRandomLengthString(40);

  const std::string context = version < 5.95 ? "ip" : "ipv4";
  std::vector<std::string> expected = {
      std::string(kProgram) + " interface " + context + " set address \"" +
      adapter + "\" static " + record.IpAddress + " " + record.SubnetMask + " " +
      record.GatewayAddress};
  if (!record.PrimaryDns.empty()) {
    expected.push_back(std::string(kProgram) + "  interface  " + context +
                       "  set  dns  \"" + adapter + "\"  static  " +
                       record.PrimaryDns + "  primary");
    if (!record.SecondaryDns.empty())
      expected.push_back(std::string(kProgram) + "  interface  " + context +
                         "  add  dns  \"" + adapter + "\"  " + record.SecondaryDns);
  }

  const std::vector<std::string> commands =
      BuildAddressCommands(record, adapter, version);
  FUZZ_CHECK_EQ(commands.size(), expected.size());
  for (size_t i = 0; i < commands.size(); ++i) {
    FUZZ_CHECK(commands[i].starts_with(kProgram));
    FUZZ_CHECK_EQ(commands[i], expected[i]);
  }

  // Expansion touches the program path only.
  FakeMachine machine;
  machine.environment.clear();
  machine.environment["WinDir"] = windir;
  std::string program = kProgram;
  ExpandPercentVariables(machine, &program);
  std::vector<std::string> expanded;
  for (const std::string& command : commands) {
    std::string line = ExpandCommandProgram(machine, command);
    FUZZ_CHECK_EQ(line, program + command.substr(sizeof kProgram - 1));
    expanded.push_back(line);
  }

  // The address phase launches exactly these lines, hidden and awaited.
  ApplyAddressCommands(machine, record, adapter, version);
  FUZZ_CHECK_EQ(machine.launches.size(), expanded.size());
  for (size_t i = 0; i < machine.launches.size(); ++i) {
    FUZZ_CHECK_EQ(machine.launches[i].command_line, expanded[i]);
    FUZZ_CHECK_EQ(machine.launches[i].startup.show_window, 0);
    FUZZ_CHECK_EQ(machine.launches[i].closed_handles, 2);
  }
  return 0;
}
