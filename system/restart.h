// The forced restart after a rename.
#pragma once

#include <cstdint>
#include <string>

namespace hostconfig {

class SystemInterface;
struct Run;

inline constexpr uint32_t kEwxLogoff = 0x0;
inline constexpr uint32_t kEwxShutdown = 0x1;
inline constexpr uint32_t kEwxReboot = 0x2;
inline constexpr uint32_t kEwxForce = 0x4;
inline constexpr uint32_t kEwxPoweroff = 0x8;

// True when the cleaned "REBOOT" value asks for a restart: it begins with "1".
bool RestartRequested(const std::string& cleaned);

// Reads "REBOOT" afresh into run.RestartSetting; a cleaned value beginning
// with "1" calls RestartWindows(kEwxReboot, true).
void RunRestartPhase(Run& run);

// Enables the shutdown privilege when flags ask for a restart, shutdown or
// power-off, adds EWX_FORCE when force is set, and calls ExitWindowsEx.
void RestartWindows(SystemInterface& system, uint16_t flags, bool force);

}  // namespace hostconfig
