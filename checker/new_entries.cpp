#include "checker/new_entries.h"

#include <set>

#include "checker/entry_checks.h"
#include "checker/findings.h"
#include "checker/settings_view.h"
#include "settings/machine_record.h"
#include "system/run_log.h"
#include "util/ascii.h"
#include "util/double_byte.h"

namespace hostconfig {

namespace {

constexpr size_t kMaxNameBytes = 15;

// At most max bytes of text, never half a double-byte character.
std::string CutTo(std::string_view text, size_t max, const LeadBytes& lead) {
  size_t end = 0;
  while (end < text.size()) {
    size_t width = CharWidth(text, end, lead);
    if (end + width > max) break;
    end += width;
  }
  return std::string(text.substr(0, end));
}

// The old name as an entry may give it: a single-byte character that a
// computer name may not hold (by the check's own rule), and "," and ";",
// which would end the field, become "-"; upper case, as the run makes it.
std::string NameFrom(std::string_view old_name, const LeadBytes& lead) {
  std::string name;
  for (size_t i = 0; i < old_name.size();) {
    size_t width = CharWidth(old_name, i, lead);
    std::string piece(old_name.substr(i, width));
    if (width == 1 && (piece == "," || piece == ";" ||
                       !NameFault("A" + piece).empty()))
      piece = "-";
    name += piece;
    i += width;
  }
  return CutTo(UpperAscii(name), kMaxNameBytes, lead);
}

std::string UniqueName(const std::string& base,
                       const std::set<std::string>& taken,
                       const LeadBytes& lead) {
  if (!taken.contains(base)) return base;
  for (int n = 2;; ++n) {
    std::string suffix = "-" + std::to_string(n);
    std::string name = CutTo(base, kMaxNameBytes - suffix.size(), lead) + suffix;
    if (!taken.contains(name)) return name;
  }
}

// The names that the entries of the text give, as their runs use them.
std::set<std::string> NamesInUse(const TextRules& rules,
                                 std::string_view text) {
  SettingsView view(rules, text);
  std::set<std::string> names;
  for (const Machine& machine : FindMachines(view)) {
    std::string name =
        SplitMachineEntry(LookUpMachine(view, machine.mac).cleaned, rules.lead)
            .ComputerName;
    if (!name.empty()) names.insert(name);
  }
  return names;
}

// Whether the tool, looking for mac in text + line, takes this line and
// reads this name from it.
bool UsedWhenAppended(const TextRules& rules, const std::string& text,
                      std::string_view mac, const std::string& line,
                      const std::string& name) {
  std::string grown = text + line + "\r\n";
  SettingsView view(rules, grown);
  MachineLookup lookup = LookUpMachine(view, mac);
  return lookup.used && view.lines()[*lookup.used].start == text.size() &&
         SplitMachineEntry(lookup.cleaned, rules.lead).ComputerName == name &&
         NameFault(name).empty();
}

// Where the lookup of mac stops in text, for the comment of a machine that
// gets no line.
std::string WhereItStops(const TextRules& rules, std::string_view text,
                         std::string_view mac) {
  SettingsView view(rules, text);
  MachineLookup lookup = LookUpMachine(view, mac);
  if (!lookup.landing) return "the end of the file is not read";
  return "give it a name on line " +
         std::to_string(view.lines()[*lookup.landing].number);
}

}  // namespace

std::string OnOneLine(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  return out;
}

bool NeedsLineEndFirst(std::string_view text) {
  return !text.empty() && text.back() != '\n' && text.back() != '\r';
}

std::vector<std::string> NewEntryLines(const TextRules& rules,
                                       std::string_view text,
                                       const std::vector<SeenMachine>& seen) {
  std::string grown(text);
  if (NeedsLineEndFirst(grown)) grown += "\r\n";
  std::set<std::string> taken = NamesInUse(rules, text);
  std::vector<std::string> lines;
  for (const SeenMachine& machine : seen) {
    std::string comment = " ; seen " + FormatLogTime(machine.time) +
                          " on adapter \"" + OnOneLine(machine.adapter) + "\"";
    std::string line;
    for (const std::string& wanted :
         {NameFrom(machine.old_name, rules.lead), "PC-" + machine.mac.substr(6)}) {
      std::string name = UniqueName(wanted, taken, rules.lead);
      std::string note = name == machine.old_name || machine.old_name.empty()
                             ? ""
                             : ", named \"" + OnOneLine(machine.old_name) + "\"";
      for (const std::string& key : {machine.mac, DashedMacFor(machine.mac)}) {
        std::string candidate = key + "=" + name + comment + note;
        if (line.empty() &&
            UsedWhenAppended(rules, grown, machine.mac, candidate, name)) {
          line = candidate;
          taken.insert(name);
        }
      }
    }
    if (line.empty()) {
      line = "; " + machine.mac + " (" + OnOneLine(machine.old_name) +
             "): a line added at the end would never be used; " +
             WhereItStops(rules, grown, machine.mac);
    }
    grown += line + "\r\n";
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace hostconfig
