// The run: start-up, six phases in a fixed order, two early stops.
#pragma once

#include "app/console.h"
#include "app/run_log_record.h"
#include "os/system_interface.h"

namespace hostconfig {

// Performs the phases in order; returns at the end of the run and at each
// early stop. Fills log as it goes and writes its line when "LogFile" names
// one; on a Failure, which passes out of it, log holds what the run had
// gathered so far.
void RunSequence(SystemInterface& system, Console& console,
                 RunLogRecord& log);

// The whole process: RunSequence, the failure report and then the log line
// on a failure, and the closing of standard output. Returns the exit code: 0 after a run or an
// early stop, 1 after a failure end. Arguments are never consulted.
int RunProgram(SystemInterface& system);

}  // namespace hostconfig
