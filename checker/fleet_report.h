// The fleet report: each machine entry of a settings file judged by the
// newest line its MAC has in the run logs, and the machines that ran
// without an entry.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "checker/new_entries.h"
#include "checker/run_log_reader.h"
#include "settings/text_rules.h"

namespace hostconfig {

enum class FleetStatus {
  kDone,     // the newest run succeeded and applied what the entry gives now
  kStale,    // the newest run succeeded, but the entry has changed since
  kFailed,   // the newest run failed, or its new name did not take
  kPending,  // no run yet with this entry (none logged, or none found it)
  kUnknown,  // a MAC that ran without an entry
};

std::string_view StatusWord(FleetStatus status);

struct FleetRow {
  std::optional<size_t> line;  // the entry's line; none for kUnknown
  std::string mac;
  std::string name;  // the entry's name; for kUnknown the old name
  FleetStatus status = FleetStatus::kPending;
  std::optional<LocalTime> time;  // of the newest run
  std::string detail;
};

struct FleetReport {
  std::vector<FleetRow> rows;       // entries in file order, then unknowns
  std::vector<SeenMachine> unseen;  // the unknown machines, for new entries
};

// Judges every machine entry of the decoded settings text by the newest of
// `runs` for its MAC (by time; of equal times the later one in `runs`).
FleetReport BuildFleetReport(const TextRules& rules, std::string_view text,
                             const std::vector<LoggedRun>& runs);

// The rows in aligned columns, then "N done, N stale, N failed, N pending,
// N unknown". Returns 0 when every entry is done and nothing is unknown,
// else 1.
int WriteFleetReport(const FleetReport& report, std::ostream& out);

// The --log command over a decoded settings text: reads every log (one that
// cannot be read: 2), with warnings about its lines on err, then writes the
// report and returns its exit code; with new_entries it writes only the
// lines to append for the unknown machines, and returns 0.
int RunFleetReport(const TextRules& rules, std::string_view text,
                   const std::vector<std::string>& log_paths, bool new_entries,
                   std::ostream& out, std::ostream& err);

}  // namespace hostconfig
