#include "checker/fleet_report.h"

#include <algorithm>
#include <array>
#include <map>
#include <ostream>
#include <set>

#include "checker/findings.h"
#include "checker/read_file.h"
#include "checker/settings_view.h"
#include "settings/machine_record.h"

namespace hostconfig {

namespace {

constexpr std::string_view kNoName =
    "the entry gives no computer name: the run stops with \"No valid "
    "setting!\"";

std::string Shown(std::string_view value) {
  return value.empty() ? "(empty)" : OnOneLine(value);
}

// How the values a run applied differ from those the entry gives now:
// "name LAB-01 -> LAB-02, address ..."; empty when they are the same.
std::string Changes(const RunLogLine& run, const MachineRecordFields& now) {
  const std::array<std::array<std::string_view, 3>, 6> fields = {{
      {"name", run.new_name, now.ComputerName},
      {"address", run.address, now.IpAddress},
      {"mask", run.mask, now.SubnetMask},
      {"gateway", run.gateway, now.GatewayAddress},
      {"dns1", run.dns1, now.PrimaryDns},
      {"dns2", run.dns2, now.SecondaryDns},
  }};
  std::string changes;
  for (const auto& [what, then, wanted] : fields) {
    if (then == wanted) continue;
    if (!changes.empty()) changes += ", ";
    changes += std::string(what) + " " + Shown(then) + " -> " + Shown(wanted);
  }
  return changes;
}

// The status of an entry whose run uses `filled`, by its MAC's newest run.
void Judge(const MachineRecordFields& filled, const LoggedRun* newest,
           FleetRow* row) {
  if (newest == nullptr) {
    row->detail = filled.ComputerName.empty() ? kNoName : "no run logged yet";
    return;
  }
  const RunLogLine& run = newest->line;
  row->time = run.time;
  switch (run.outcome) {
    case RunOutcome::kRenamed:
    case RunOutcome::kUnchanged: {
      std::string changes = Changes(run, filled);
      row->status = changes.empty() ? FleetStatus::kDone : FleetStatus::kStale;
      row->detail = changes.empty() ? std::string(OutcomeWord(run.outcome))
                                    : "entry changed since: " + changes;
      break;
    }
    case RunOutcome::kNoEntry:
      // The machine ran before its entry was written (MAC collection).
      row->detail = filled.ComputerName.empty()
                        ? std::string(kNoName)
                        : "its last run found no entry; run it again";
      break;
    default:  // rename-failed, command-failed, failed, rename-not-applied
      row->status = FleetStatus::kFailed;
      row->detail = std::string(OutcomeWord(run.outcome)) +
                    (run.detail.empty() ? "" : ": " + OnOneLine(run.detail));
      break;
  }
  row->detail += " [" + newest->log + ":" +
                 std::to_string(newest->line_number) + "]";
}

// The index in runs of each MAC's newest run, and the MACs in the order
// they first appear.
struct Newest {
  std::map<std::string, size_t> index;
  std::vector<std::string> order;
};

Newest FindNewest(const std::vector<LoggedRun>& runs) {
  Newest newest;
  for (size_t i = 0; i < runs.size(); ++i) {
    auto [it, added] = newest.index.emplace(runs[i].line.mac, i);
    if (added) {
      newest.order.push_back(runs[i].line.mac);
    } else if (!NewerByTime(runs[it->second].line, runs[i].line)) {
      it->second = i;  // newer, or as new and later
    }
  }
  return newest;
}

}  // namespace

std::string_view StatusWord(FleetStatus status) {
  switch (status) {
    case FleetStatus::kDone: return "done";
    case FleetStatus::kStale: return "stale";
    case FleetStatus::kFailed: return "failed";
    case FleetStatus::kPending: return "pending";
    case FleetStatus::kUnknown: return "unknown";
  }
  return "unknown";
}

FleetReport BuildFleetReport(const TextRules& rules, std::string_view text,
                             const std::vector<LoggedRun>& runs) {
  FleetReport report;
  Newest newest = FindNewest(runs);
  SettingsView view(rules, text);
  std::vector<Machine> machines = FindMachines(view);
  std::vector<std::string> keys;
  for (const Machine& machine : machines) {
    keys.push_back(machine.mac);
    keys.push_back(DashedMacFor(machine.mac));
  }
  view.Prefetch(keys);
  const GlobalDefaults defaults = ViewDefaults(view);
  for (const Machine& machine : machines) {
    MachineLookup lookup = LookUpMachine(view, machine.mac);
    size_t at = lookup.used      ? *lookup.used
                : lookup.landing ? *lookup.landing
                                 : machine.lines.front();
    MachineRecordFields filled = SplitMachineEntry(lookup.cleaned, rules.lead);
    FillFromDefaults(&filled, defaults);
    FleetRow row;
    row.line = view.lines()[at].number;
    row.mac = machine.mac;
    row.name = OnOneLine(filled.ComputerName);
    auto found = newest.index.find(machine.mac);
    Judge(filled, found == newest.index.end() ? nullptr : &runs[found->second],
          &row);
    report.rows.push_back(std::move(row));
  }
  std::set<std::string> entered;
  for (const Machine& machine : machines) entered.insert(machine.mac);
  for (const std::string& mac : newest.order) {
    if (entered.contains(mac)) continue;
    const LoggedRun& run = runs[newest.index[mac]];
    report.rows.push_back(
        {std::nullopt, mac, OnOneLine(run.line.old_name), FleetStatus::kUnknown,
         run.line.time,
         "no entry; seen on adapter \"" + OnOneLine(run.line.adapter) +
             "\" [" + run.log + ":" + std::to_string(run.line_number) + "]"});
    report.unseen.push_back(
        {mac, run.line.old_name, run.line.adapter, run.line.time});
  }
  return report;
}

int WriteFleetReport(const FleetReport& report, std::ostream& out) {
  std::vector<std::array<std::string, 6>> table = {
      {"line", "mac", "name", "status", "time", "detail"}};
  std::array<size_t, 5> counts{};
  for (const FleetRow& row : report.rows) {
    table.push_back({row.line ? std::to_string(*row.line) : "-", row.mac,
                     row.name.empty() ? "-" : row.name,
                     std::string(StatusWord(row.status)),
                     row.time ? FormatLogTime(*row.time) : "-", row.detail});
    ++counts[static_cast<size_t>(row.status)];
  }
  std::array<size_t, 5> widths{};
  for (const auto& cells : table)
    for (size_t c = 0; c < widths.size(); ++c)
      widths[c] = std::max(widths[c], cells[c].size());
  for (const auto& cells : table) {
    std::string line;
    for (size_t c = 0; c < widths.size(); ++c)
      line += cells[c] + std::string(widths[c] - cells[c].size() + 2, ' ');
    line += cells[5];
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << "\n";
  }
  out << counts[0] << " done, " << counts[1] << " stale, " << counts[2]
      << " failed, " << counts[3] << " pending, " << counts[4] << " unknown\n";
  return counts[0] == report.rows.size() ? 0 : 1;
}

int RunFleetReport(const TextRules& rules, std::string_view text,
                   const std::vector<std::string>& log_paths, bool new_entries,
                   std::ostream& out, std::ostream& err) {
  std::vector<LoggedRun> runs;
  for (const std::string& path : log_paths) {
    std::string bytes;
    if (!ReadNamedFile(path, &bytes, err)) return 2;
    ReadRunLog(path, bytes, &runs, err);
  }
  FleetReport report = BuildFleetReport(rules, text, runs);
  if (!new_entries) return WriteFleetReport(report, out);
  // Appended with ">>", the first line must not join the file's last line.
  if (!report.unseen.empty() && NeedsLineEndFirst(text)) out << "\n";
  for (const std::string& line : NewEntryLines(rules, text, report.unseen))
    out << line << "\n";
  return 0;
}

}  // namespace hostconfig
