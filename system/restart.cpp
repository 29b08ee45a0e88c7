#include "system/restart.h"

#include "settings/settings_file.h"
#include "system/restart_guard.h"

namespace hostconfig {

namespace {

constexpr uint32_t kTokenAdjustPrivileges = 0x20;
constexpr uint32_t kTokenQuery = 0x8;
constexpr uint32_t kSePrivilegeEnabled = 2;

// Enables the shutdown privilege in the process token, when the token can
// be opened. Nothing else is examined: a refused privilege shows in the
// restart request failing.
void EnableShutdownPrivilege(SystemInterface& system) {
  Handle token = 0;
  if (!system.OpenProcessToken(kTokenAdjustPrivileges | kTokenQuery, &token))
    return;
  uint64_t luid = 0;
  system.LookupPrivilegeValue("SeShutdownPrivilege", &luid);
  system.AdjustTokenPrivileges(token, luid, kSePrivilegeEnabled);
  system.CloseHandle(token);
}

}  // namespace

std::string RunRestartPhase(SystemInterface& system,
                            const std::string& settings_path,
                            const std::string& restarted_for,
                            const std::function<void()>& before_restart) {
  std::string setting = ReadCleanSetting(system, settings_path, kRebootKey);
  if (!RestartRequested(setting)) return setting;
  if (before_restart) before_restart();
  RequestGuardedRestart(system, restarted_for);
  return setting;
}

void RequestGuardedRestart(SystemInterface& system,
                           const std::string& restarted_for) {
  // Recorded first: once the request is made the process may be ended at
  // any moment.
  if (!restarted_for.empty()) RecordRestart(system, restarted_for);
  RestartWindows(system, kEwxReboot, /*force=*/true);
}

void RestartWindows(SystemInterface& system, uint16_t flags, bool force) {
  if (flags & (kEwxReboot | kEwxShutdown | kEwxPoweroff))
    EnableShutdownPrivilege(system);
  uint32_t exit_flags = flags;
  if (force) exit_flags |= kEwxForce;
  system.ExitWindowsEx(exit_flags, 0);
}

}  // namespace hostconfig
