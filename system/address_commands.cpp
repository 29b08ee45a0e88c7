#include "system/address_commands.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "system/command_runner.h"

namespace hostconfig {

namespace {

constexpr std::string_view kAddressTemplate =
    "\"%WinDir%\\system32\\netsh.exe\" interface ipv4 set address "
    "\"LOCAL_LINK\" static %1 %2 %3";
constexpr std::string_view kPrimaryDnsTemplate =
    "\"%WinDir%\\system32\\netsh.exe\"  interface  ipv4  set  dns  "
    "\"LOCAL_LINK\"  static  %1  primary";
constexpr std::string_view kSecondDnsTemplate =
    "\"%WinDir%\\system32\\netsh.exe\"  interface  ipv4  add  dns  "
    "\"LOCAL_LINK\"  %1";

// Below this version the network shell names its context "ip".
constexpr double kIpv4ContextVersion = 5.95;
// From this version on the network shell takes an interface index wherever
// it takes an interface name.
constexpr double kIndexForNameVersion = 6.0;
constexpr uint16_t kSwHide = 0;

using Substitution = std::pair<std::string_view, std::string_view>;

// The template with the first occurrence of each placeholder replaced by its
// value. Only the template is searched; the values are copied in as they are,
// so a value holding "%1" or "LOCAL_LINK" stays exactly as given.
std::string FillTemplate(std::string_view tmpl,
                         std::initializer_list<Substitution> substitutions) {
  struct Slot {
    size_t pos;
    size_t length;
    std::string_view value;
  };
  std::vector<Slot> slots;
  for (const Substitution& s : substitutions) {
    size_t pos = tmpl.find(s.first);
    if (pos != std::string_view::npos)
      slots.push_back(Slot{pos, s.first.size(), s.second});
  }
  std::sort(slots.begin(), slots.end(),
            [](const Slot& a, const Slot& b) { return a.pos < b.pos; });
  std::string out;
  size_t from = 0;
  for (const Slot& slot : slots) {
    out.append(tmpl.substr(from, slot.pos - from));
    out.append(slot.value);
    from = slot.pos + slot.length;
  }
  out.append(tmpl.substr(from));
  return out;
}

}  // namespace

std::vector<std::string> BuildAddressCommands(const MachineRecordFields& record,
                                              const std::string& adapter_name,
                                              double windows_version) {
  std::string_view context = windows_version < kIpv4ContextVersion ? "ip" : "ipv4";
  std::vector<std::string> commands;
  commands.push_back(FillTemplate(kAddressTemplate,
                                  {{"ipv4", context},
                                   {"LOCAL_LINK", adapter_name},
                                   {"%1", record.IpAddress},
                                   {"%2", record.SubnetMask},
                                   {"%3", record.GatewayAddress}}));
  if (record.PrimaryDns.empty()) return commands;
  commands.push_back(FillTemplate(kPrimaryDnsTemplate,
                                  {{"ipv4", context},
                                   {"LOCAL_LINK", adapter_name},
                                   {"%1", record.PrimaryDns}}));
  if (record.SecondaryDns.empty()) return commands;
  commands.push_back(FillTemplate(kSecondDnsTemplate,
                                  {{"ipv4", context},
                                   {"LOCAL_LINK", adapter_name},
                                   {"%1", record.SecondaryDns}}));
  return commands;
}

std::string AdapterInCommands(const std::string& name, bool name_lossy,
                              uint32_t if_index, double windows_version) {
  if (!name_lossy || if_index == 0 || windows_version < kIndexForNameVersion)
    return name;
  return std::to_string(if_index);
}

std::string ExpandCommandProgram(SystemInterface& system,
                                 const std::string& command) {
  // The program path is the leading quoted text, or the first word when the
  // command does not begin with a quote.
  size_t end = 0;
  if (command.starts_with('"')) {
    size_t close = command.find('"', 1);
    end = close == std::string::npos ? command.size() : close + 1;
  } else {
    end = std::min(command.find(' '), command.size());
  }
  std::string program = command.substr(0, end);
  ExpandPercentVariables(system, &program);
  return program + command.substr(end);
}

std::vector<CommandRun> ApplyAddressCommands(SystemInterface& system,
                                           const MachineRecordFields& record,
                                           const std::string& adapter_name,
                                           double windows_version) {
  std::vector<CommandRun> runs;
  for (const std::string& command :
       BuildAddressCommands(record, adapter_name, windows_version)) {
    CommandRun run;
    run.line = ExpandCommandProgram(system, command);
    // Each command runs hidden and is awaited; a failed one does not stop
    // the ones after it.
    run.started = LaunchProcess(system, run.line, nullptr, /*wait=*/true,
                                kSwHide, &run.exit_code);
    runs.push_back(std::move(run));
  }
  return runs;
}

}  // namespace hostconfig
