#include "system/restart_guard.h"

#include "system/registry_path.h"

namespace hostconfig {

std::string ReadRestartRecord(SystemInterface& system) {
  return ReadRegistryString(system, kRestartGuardKey, kRestartGuardValue);
}

void RecordRestart(SystemInterface& system, const std::string& name) {
  WriteRegistryString(system, kRestartGuardKey, kRestartGuardValue, name);
}

void ClearRestartRecord(SystemInterface& system) {
  DeleteRegistryValue(system, kRestartGuardKey, kRestartGuardValue);
}

}  // namespace hostconfig
