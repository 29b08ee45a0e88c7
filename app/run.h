// The run: start-up, six phases in a fixed order, two early stops.
#pragma once

#include "app/console.h"
#include "os/system_interface.h"

namespace hostconfig {

// Performs the phases in order; returns at the end of the run and at each
// early stop. A Failure passes out of it.
void RunSequence(SystemInterface& system, Console& console);

// The whole process: RunSequence, the failure report on a failure, and the
// closing of standard output. Returns the exit code: 0 after a run or an
// early stop, 1 after a failure end. Arguments are never consulted.
int RunProgram(SystemInterface& system);

}  // namespace hostconfig
