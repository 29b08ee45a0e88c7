// The computer name change.
#pragma once

namespace hostconfig {

struct Run;

// Compares the name in force with run.MachineRecord.ComputerName byte for
// byte. When they differ: SetComputerNameA, then "NV Hostname" written to the
// registry. run.NameChanged is set only when SetComputerNameA succeeded.
void ApplyComputerName(Run& run);

}  // namespace hostconfig
