// --here: the preview of the run on the PC the checker runs on, with the
// adapter, MAC, name in force and Windows version read by the run's own
// code. Nothing is changed.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "os/system_interface.h"

namespace hostconfig {

// Prints what this PC is (MAC, adapter, computer name, Windows version),
// then the preview of its run over the settings file; without an entry,
// the line that gives it one. `settings` defaults to hostconfig.ini in the
// checker's folder; the file is read and compared as the run reads it.
// Returns 0 when the run would go on, 1 when it would stop (no adapter, no
// entry), 2 when the settings file cannot be read (the reason on err).
int RunHere(SystemInterface& system, const std::optional<std::string>& settings,
            std::ostream& out, std::ostream& err);

// The PC the checker runs on; null where there is none to read, outside
// Windows. here_win32.cpp and here_portable.cpp define it.
SystemInterface* ThisPc();

}  // namespace hostconfig
