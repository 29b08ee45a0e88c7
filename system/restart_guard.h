// The restart guard: the name the last forced restart was requested for,
// kept in the registry, so that a name the system takes but never puts in
// force restarts the machine once and not at every run.
#pragma once

#include <string>

#include "os/system_interface.h"

namespace hostconfig {

inline constexpr char kRestartGuardKey[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\hostconfig";
inline constexpr char kRestartGuardValue[] = "RestartedFor";

// The name recorded before the last forced restart; empty when there is no
// record or it cannot be read.
std::string ReadRestartRecord(SystemInterface& system);

// Records name as the one a forced restart is about to be requested for.
// A record that cannot be written is not reported: the restart goes ahead.
void RecordRestart(SystemInterface& system, const std::string& name);

// Removes the record; nothing happens when there is none.
void ClearRestartRecord(SystemInterface& system);

}  // namespace hostconfig
