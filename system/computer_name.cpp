#include "system/computer_name.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/run_state.h"
#include "system/registry_path.h"

namespace hostconfig {

namespace {

constexpr uint32_t kNameSize = 90;
constexpr char kTcpipParameters[] =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\services\\Tcpip\\Parameters";

// The name in force, received in run.TextBuffer. False when the system
// could not give it.
bool ReadNameInForce(Run& run, std::string* name) {
  std::string received;
  if (!run.System.GetComputerName(kNameSize, &received)) return false;
  run.TextBuffer.fill('\0');
  size_t length = std::min(received.size(), run.TextBuffer.size() - 1);
  std::memcpy(run.TextBuffer.data(), received.data(), length);
  *name = run.TextBuffer.data();  // up to the first NUL
  return true;
}

}  // namespace

void ApplyComputerName(Run& run) {
  const std::string& wanted = run.MachineRecord.ComputerName;
  std::string in_force;
  if (ReadNameInForce(run, &in_force) && in_force == wanted) {
    run.NameChanged = false;
    return;
  }
  bool renamed = run.System.SetComputerName(wanted);
  // Written whatever the rename gave, so the name is on record for the next
  // start even where the rename call is refused.
  WriteRegistryString(run.System, kTcpipParameters, "NV Hostname", wanted);
  // Only a rename that took effect is worth a restart: a refused one would
  // restart the machine for nothing, at every run.
  run.NameChanged = renamed;
}

}  // namespace hostconfig
