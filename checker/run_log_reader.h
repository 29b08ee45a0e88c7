// The runs that the tool's logs record, read leniently: a line that is not
// a run line is reported and passed over, never fatal.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "system/run_log.h"

namespace hostconfig {

// One run, and where its line stands.
struct LoggedRun {
  RunLogLine line;
  std::string log;         // the log's name, as given
  size_t line_number = 0;  // the record's first line in the log, from 1
};

// Appends the runs of one log to *runs, in file order. The header may stand
// first; blank lines are passed over. Every other record that is not a
// whole run line gets "LOG:LINE: warning: ..." on `warnings` and is passed
// over: a cut line (no line end after it, or a quote never closed), a
// wrong number of fields, a bad field, a header further down. A log whose
// first record is neither the header nor a run line is not a run log: one
// warning, and none of it is read.
void ReadRunLog(std::string_view name, std::string_view bytes,
                std::vector<LoggedRun>* runs, std::ostream& warnings);

// True when run a is newer than run b by time; a tie is no.
bool NewerByTime(const RunLogLine& a, const RunLogLine& b);

}  // namespace hostconfig
