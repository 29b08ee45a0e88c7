// The network shell commands that set the adapter's address and DNS servers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "os/system_interface.h"
#include "settings/machine_record.h"

namespace hostconfig {

// The command lines the address phase runs, in order, before expansion of
// the program path: the address command, then the primary DNS command when
// PrimaryDns is set, then the second DNS command when SecondaryDns is set
// too. Values are inserted verbatim; "ip" replaces "ipv4" below 5.95.
std::vector<std::string> BuildAddressCommands(const MachineRecordFields& record,
                                              const std::string& adapter_name,
                                              double windows_version);

// What the commands name the adapter by, in place of "LOCAL_LINK": its name,
// except from Windows 6.0 on when the name lost characters in the ANSI code
// page (no adapter bears the converted name) and the adapter has an IPv4
// interface index: then that index in decimal, which the network shell's
// ipv4 context takes in place of a name.
std::string AdapterInCommands(const std::string& name, bool name_lossy,
                              uint32_t if_index, double windows_version);

// The command with the %NAME% references of its program path (the leading
// quoted text, or the first word) expanded, and the rest untouched.
std::string ExpandCommandProgram(SystemInterface& system,
                                 const std::string& command);

// One command of the address phase, as it went.
struct CommandRun {
  std::string line;  // the command line as launched
  bool started = false;
  // The exit code of a started command; empty when it could not be read.
  std::optional<uint32_t> exit_code;
};

// Runs each command of BuildAddressCommands, its program path expanded,
// hidden and awaited; a command that cannot start, or that exits non-zero,
// does not stop the ones after it. Returns each command's line, whether it
// started, and its exit code, in order.
std::vector<CommandRun> ApplyAddressCommands(SystemInterface& system,
                                           const MachineRecordFields& record,
                                           const std::string& adapter_name,
                                           double windows_version);

}  // namespace hostconfig
