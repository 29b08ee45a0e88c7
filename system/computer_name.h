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

// What the rename phase did.
enum class RenameOutcome {
  kUnchanged,  // the name in force already was the entry's
  kRenamed,    // the system took the new name
  kRefused,    // the system refused the new name
  kNotConvertible,  // the ANSI code page cannot hold the entry's name
};

struct RenameResult {
  RenameOutcome outcome = RenameOutcome::kUnchanged;
  // The name in force when the run started; empty when unreadable.
  std::string old_name;
  // The system's error code of a refused rename.
  uint32_t error = 0;
  // A restart may follow: the name was changed in this run.
  bool NameChanged() const { return outcome == RenameOutcome::kRenamed; }
};

// Compares the name in force with computer_name byte for byte. When they
// differ: SetComputerNameA, then "NV Hostname" written to the registry.
// Only a rename that SetComputerNameA accepted counts as changed.
RenameResult ApplyComputerName(SystemInterface& system,
                               const std::string& computer_name);

// The rename phase for an entry whose name the ANSI code page cannot hold:
// what the conversion made of it ("?" or a look-alike) is another name, so
// it is neither passed to SetComputerNameA nor written as "NV Hostname".
// Only the name in force is read; the name counts as not changed.
RenameResult KeepNameNotConvertible(SystemInterface& system);

}  // namespace hostconfig
