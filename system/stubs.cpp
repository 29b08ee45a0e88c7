// Placeholders until the system changes land; each file of system/ replaces
// its part of this one.
#include "app/run_state.h"
#include "system/address_commands.h"
#include "system/command_runner.h"
#include "system/computer_name.h"
#include "system/registry_path.h"
#include "system/restart.h"
namespace hostconfig {
void SplitFirstElement(std::string*, std::string*) {}
bool WriteRegistryString(SystemInterface&, std::string, const std::string&, const std::string&) { return false; }
int32_t ReadRegistryInteger(SystemInterface&, std::string, const std::string&) { return 0; }
bool TextToInteger(const std::string&, int32_t*) { return false; }
void ApplyComputerName(Run&) {}
void ExpandPercentVariables(SystemInterface&, std::string*) {}
bool LaunchProcess(SystemInterface&, const std::string&, const std::string*, bool, uint16_t) { return false; }
std::vector<std::string> BuildAddressCommands(const MachineRecordFields&, const std::string&, double) { return {}; }
std::string ExpandCommandProgram(SystemInterface&, const std::string& c) { return c; }
void ApplyAddressCommands(Run&) {}
void RunRestartPhase(Run&) {}
void RestartWindows(SystemInterface&, uint16_t, bool) {}
}  // namespace hostconfig
