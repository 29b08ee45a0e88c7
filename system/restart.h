// The forced restart after a rename.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "os/system_interface.h"

namespace hostconfig {

inline constexpr uint32_t kEwxLogoff = 0x0;
inline constexpr uint32_t kEwxShutdown = 0x1;
inline constexpr uint32_t kEwxReboot = 0x2;
inline constexpr uint32_t kEwxForce = 0x4;
inline constexpr uint32_t kEwxPoweroff = 0x8;

// The restart phase: reads "REBOOT" afresh from the settings file; a cleaned
// value beginning with "1" calls before_restart (when given), then
// RequestGuardedRestart(restarted_for). Returns the cleaned value.
std::string RunRestartPhase(
    SystemInterface& system, const std::string& settings_path,
    const std::string& restarted_for = std::string(),
    const std::function<void()>& before_restart = nullptr);

// Records restarted_for with the restart guard (restart_guard.h; an empty
// name records nothing), then calls RestartWindows(kEwxReboot, true).
void RequestGuardedRestart(SystemInterface& system,
                           const std::string& restarted_for);

// Enables the shutdown privilege when flags ask for a restart, shutdown or
// power-off, adds EWX_FORCE when force is set, and calls ExitWindowsEx.
void RestartWindows(SystemInterface& system, uint16_t flags, bool force);

}  // namespace hostconfig
