#include "checker/findings.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "checker/entry_checks.h"
#include "checker/settings_view.h"
#include "settings/machine_record.h"
#include "settings/settings_file.h"
#include "system/run_log.h"
#include "util/ascii.h"

namespace hostconfig {

namespace {

constexpr std::array<std::string_view, 6> kGlobalKeys = {
    kMaskKey, kGatewayKey, kDns1Key, kDns2Key, kRebootKey, kLogFileKey};
enum GlobalIndex : size_t { kMask, kGateway, kDns1, kDns2, kReboot, kLogFile };

size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t above = row[j];
      size_t cost = UpperAscii(a[i - 1]) == UpperAscii(b[j - 1]) ? 0 : 1;
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + cost});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// A zero byte hides the rest of the file from the tool.
void CheckZeroByte(std::string_view text, size_t line_count,
                   FindingList& findings) {
  size_t zero = text.find('\0');
  if (zero == std::string_view::npos ||
      text.find_first_not_of(std::string_view("\0\r\n \t", 5), zero) ==
          std::string_view::npos) {
    return;
  }
  bool line_start = zero == 0 || text[zero - 1] == '\r' || text[zero - 1] == '\n';
  findings.Warning(line_count + (line_start ? 1 : 0),
                   "a zero byte: the tool reads nothing after it");
}

// A key that is none of the tool's: a global key with spaces around it, or
// one close to a global key's name.
void CheckUnknownKey(const Line& line, const KeyComparison& equal,
                     FindingList& findings) {
  std::string bare = Trimmed(line.key);
  std::string_view spaced, closest;
  size_t best = 3;
  for (std::string_view known : kGlobalKeys) {
    if (bare != line.key && equal(bare, known)) spaced = known;
    size_t distance = line.key.size() <= known.size() + 2
                          ? EditDistance(line.key, known)
                          : best;
    if (distance < best) {
      best = distance;
      closest = known;
    }
  }
  if (!spaced.empty()) {
    findings.Warning(line.number,
                     "key " + Quote(line.key) + " is ignored: a space "
                     "before \"=\" or at the start of the line is part of "
                     "the key (did you mean " + Quote(spaced) + "?)");
  } else if (!closest.empty()) {
    findings.Warning(line.number, "unknown key " + Quote(line.key) +
                                      " is ignored; did you mean " +
                                      Quote(closest) + "?");
  }
}

// What the pass over the lines sorts out: the lines of each global key and
// the machines, in the order of their first line.
struct SortedLines {
  std::array<std::vector<size_t>, kGlobalKeys.size()> global_lines;
  std::vector<Machine> machines;
};

// Which global key a line gives, if any.
std::optional<size_t> GlobalKeyOf(const Line& line, const KeyComparison& equal) {
  for (size_t k = 0; k < kGlobalKeys.size(); ++k) {
    if (equal(line.key, kGlobalKeys[k]) ||
        equal(line.key, Quote(kGlobalKeys[k])))
      return k;
  }
  return std::nullopt;
}

// Each line by itself.
SortedLines CheckLines(const SettingsView& view, FindingList& findings) {
  SortedLines sorted;
  std::map<std::string, size_t> machine_index;
  for (size_t i = 0; i < view.lines().size(); ++i) {
    const Line& line = view.lines()[i];
    std::string trimmed = Trimmed(line.text);
    if (trimmed.empty() || trimmed.starts_with(';') ||
        trimmed.starts_with("\xA3\xBB")) {
      continue;  // blank or a comment
    }
    if (!line.has_equals) {
      if (!(trimmed.starts_with('[') && trimmed.ends_with(']'))) {
        findings.Warning(line.number,
                         "line without \"=\" is ignored (not a [header] or a "
                         "; comment)");
      }
      continue;
    }
    if (std::optional<size_t> k = GlobalKeyOf(line, view.keys_equal())) {
      sorted.global_lines[*k].push_back(i);
      continue;
    }
    std::string_view key = line.key;
    if (key.size() >= 2 && key.starts_with('"') && key.ends_with('"'))
      key = key.substr(1, key.size() - 2);
    std::string mac = MacOfKey(key);
    if (!mac.empty()) {
      auto [it, added] = machine_index.emplace(mac, sorted.machines.size());
      if (added) sorted.machines.push_back({mac, {}});
      sorted.machines[it->second].lines.push_back(i);
      continue;
    }
    std::string why = WhyNeverMatches(line.key);
    if (!why.empty()) {
      findings.Error(line.number, Quote(line.key) + ": " + why);
    } else {
      CheckUnknownKey(line, view.keys_equal(), findings);
    }
  }
  return sorted;
}

// The value of one global key, as the run reads it.
void CheckGlobalValue(size_t k, const std::string& value, size_t number,
                      FindingList& findings) {
  if (k == kLogFile) return;  // a path: the run expands and resolves it
  if (k == kReboot) {
    if (!RestartRequested(value) && value[0] != '0') {
      findings.Warning(number, "\"REBOOT\" is " + Quote(value) +
                                   ": only a value that begins with 1 "
                                   "restarts, so this one never does");
    }
    return;
  }
  std::string fault = AddressFault(Quote(kGlobalKeys[k]), value, k == kMask);
  if (!fault.empty()) findings.Error(number, fault);
}

// The global keys, as the run reads them; returns the four defaults.
GlobalDefaults CheckGlobals(SettingsView& view, const SortedLines& sorted,
                            FindingList& findings) {
  const std::vector<Line>& lines = view.lines();
  std::array<std::string, kGlobalKeys.size()> values;
  for (size_t k = 0; k < kGlobalKeys.size(); ++k) {
    Located located = view.Locate(kGlobalKeys[k]);
    values[k] = view.Clean(located.raw);
    for (size_t index : sorted.global_lines[k]) {
      if (located.line && index != *located.line) {
        findings.Warning(lines[index].number,
                         Quote(kGlobalKeys[k]) + " is given more than once: "
                         "line " + std::to_string(lines[*located.line].number) +
                         " is the one used");
      }
    }
    if (!values[k].empty() && located.line)
      CheckGlobalValue(k, values[k], lines[*located.line].number, findings);
  }
  return GlobalDefaults{values[kMask], values[kGateway], values[kDns1],
                        values[kDns2]};
}

// Lines with the same MAC that the run never reaches.
void CheckShadowedEntries(const SettingsView& view, const Machine& machine,
                          const MachineLookup& lookup, FindingList& findings) {
  const std::vector<Line>& lines = view.lines();
  for (size_t index : machine.lines) {
    if (lookup.used == index) continue;
    if (view.Clean(lines[index].value).empty()) continue;  // nothing lost
    size_t first = lines[lookup.used      ? *lookup.used
                         : lookup.landing ? *lookup.landing
                                          : machine.lines.front()]
                       .number;
    findings.Error(lines[index].number,
                   "another entry for MAC " + machine.mac + " (line " +
                       std::to_string(first) +
                       ") comes first: this one is never used");
  }
}


// Names and addresses already given, with their line numbers.
struct Seen {
  std::map<std::string, size_t> names;
  std::map<std::string, size_t> addresses;
};

void CheckRepeated(std::map<std::string, size_t>& seen,
                   const std::string& value, std::string_view what,
                   size_t number, FindingList& findings) {
  auto [it, added] = seen.emplace(value, number);
  if (!added) {
    findings.Error(number, std::string(what) + " is also given on line " +
                               std::to_string(it->second));
  }
}

// One machine's entry, as the run on that machine would find it.
void CheckMachine(SettingsView& view, const Machine& machine,
                  const GlobalDefaults& defaults, const Conversion& conversion,
                  Seen& seen, FindingList& findings) {
  MachineLookup lookup = LookUpMachine(view, machine.mac);
  CheckShadowedEntries(view, machine, lookup, findings);
  std::optional<size_t> at = lookup.used ? lookup.used : lookup.landing;
  size_t number = view.lines()[at ? *at : machine.lines.front()].number;
  MachineRecordFields fields = SplitMachineEntry(lookup.cleaned, view.lead());
  if (fields.ComputerName.empty()) {
    findings.Error(number, "the entry for MAC " + machine.mac +
                               " gives no computer name: the run stops with "
                               "\"No valid setting!\"");
    return;
  }
  std::vector<LossyChar> lost = LossyCharsOfEntryName(
      view, lookup, fields.ComputerName.size(), conversion);
  if (!lost.empty()) {
    // What the conversion made of the name is not the name: it is reported
    // once, and not checked as a name.
    findings.Error(number, "computer name " + Quote(fields.ComputerName) +
                               " holds characters that code page " +
                               std::to_string(conversion.code_page) +
                               " lacks (" + CodePointList(lost) +
                               "): the run leaves the name unchanged and "
                               "does not restart");
  } else {
    std::string fault = NameFault(fields.ComputerName);
    if (!fault.empty()) findings.Error(number, fault);
    CheckRepeated(seen.names, fields.ComputerName,
                  "computer name " + Quote(fields.ComputerName), number,
                  findings);
  }
  CheckOwnFields(fields, number, findings);
  if (fields.IpAddress.empty()) {
    if (!fields.SubnetMask.empty() || !fields.GatewayAddress.empty() ||
        !fields.PrimaryDns.empty() || !fields.SecondaryDns.empty()) {
      findings.Warning(number,
                       "no address is given, so this entry's mask, gateway "
                       "and DNS servers are never set");
    }
    return;
  }
  MachineRecordFields filled = fields;
  FillFromDefaults(&filled, defaults);
  CheckAddressAfterDefaults(filled, number, findings);
  CheckRepeated(seen.addresses, fields.IpAddress, "address " + fields.IpAddress,
                number, findings);
  CheckSubnet(filled, number, findings);
}

}  // namespace

std::vector<Machine> FindMachines(const SettingsView& view) {
  FindingList ignored;
  return CheckLines(view, ignored).machines;
}

std::vector<Finding> FindingList::Sorted() {
  std::stable_sort(items_.begin(), items_.end(),
                   [](const Finding& a, const Finding& b) {
                     return a.line < b.line;
                   });
  return std::move(items_);
}

std::vector<Finding> CheckSettingsText(const TextRules& rules,
                                       std::string_view text) {
  return CheckSettingsText(rules, text, Conversion{});
}

std::vector<Finding> CheckSettingsText(const TextRules& rules,
                                       std::string_view text,
                                       const Conversion& conversion) {
  FindingList findings;
  SettingsView view(rules, text);
  CheckZeroByte(text, view.lines().size(), findings);
  SortedLines sorted = CheckLines(view, findings);
  GlobalDefaults defaults = CheckGlobals(view, sorted, findings);

  // Every machine's plain and dashed MAC in one pass of the lookup.
  std::vector<std::string> keys;
  for (const Machine& machine : sorted.machines) {
    keys.push_back(machine.mac);
    keys.push_back(DashedMacFor(machine.mac));
  }
  view.Prefetch(keys);
  Seen seen;
  for (const Machine& machine : sorted.machines)
    CheckMachine(view, machine, defaults, conversion, seen, findings);
  return findings.Sorted();
}

}  // namespace hostconfig
