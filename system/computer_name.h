// The computer name change.
#pragma once

#include <string>
#include <string_view>

#include "os/system_interface.h"

namespace hostconfig {

// The name in force (GetComputerNameA with a size of 90 characters, taken up
// to its first NUL). False when the system could not give it.
bool ReadNameInForce(SystemInterface& system, std::string* name);

// True when the name in force already is the wanted name: the same bytes.
bool NameInForceMatches(std::string_view in_force, std::string_view wanted);

// Compares the name in force with computer_name byte for byte. When they
// differ: SetComputerNameA, then "NV Hostname" written to the registry.
// Returns true (the name was changed, a restart may follow) only when
// SetComputerNameA succeeded.
bool ApplyComputerName(SystemInterface& system,
                       const std::string& computer_name);

}  // namespace hostconfig
