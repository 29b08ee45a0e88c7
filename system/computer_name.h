// The computer name change.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "os/system_interface.h"

namespace hostconfig {

// The name in force (GetComputerNameA with a size of 90 characters, taken up
// to its first NUL). False when the system could not give it.
bool ReadNameInForce(SystemInterface& system, std::string* name);

// Upper-cases a name by some set of rules: the system's (CharUpperBuffA)
// in the run, ASCII only where no system is at hand.
using NameUpperCase = std::function<std::string(std::string_view)>;

// True when the name in force already is the wanted name. Windows keeps
// the NetBIOS name upper-cased by its own rules, so names that differ only
// in letter case are the same name: both are upper-cased before the bytes
// are compared.
bool NameInForceMatches(std::string_view in_force, std::string_view wanted,
                        const NameUpperCase& upper);

// What the rename phase did.
enum class RenameOutcome {
  kUnchanged,  // the name in force already was the entry's
  kRenamed,    // the system took the new name
  kRefused,    // the system refused the new name
  kNotConvertible,  // the ANSI code page cannot hold the entry's name
  // The system took the name again, but a forced restart was already
  // requested for this very name and it is still not in force: another
  // restart would not put it in force either, so none follows.
  kNotApplied,
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

// Compares the name in force with computer_name, ignoring letter case by
// the system's rules. When they match, a restart record (restart_guard.h)
// is removed: the restart it was for has done its work. When they differ:
// SetComputerNameA, then "NV Hostname" written to the registry. Only a
// rename that SetComputerNameA accepted counts as changed, and not when the
// restart record names computer_name already (kNotApplied).
RenameResult ApplyComputerName(SystemInterface& system,
                               const std::string& computer_name);

// The rename phase for an entry whose name the ANSI code page cannot hold:
// what the conversion made of it ("?" or a look-alike) is another name, so
// it is neither passed to SetComputerNameA nor written as "NV Hostname".
// Only the name in force is read; the name counts as not changed.
RenameResult KeepNameNotConvertible(SystemInterface& system);

}  // namespace hostconfig
