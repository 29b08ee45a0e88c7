#include "checker/preview.h"

#include <ostream>

#include "checker/settings_view.h"
#include "settings/machine_record.h"
#include "settings/settings_file.h"
#include "system/address_commands.h"
#include "system/computer_name.h"
#include "util/ascii.h"

namespace hostconfig {

namespace {

void WriteEntryLine(const SettingsView& view, const MachineLookup& lookup,
                    std::string_view mac, std::ostream& out) {
  const std::vector<Line>& lines = view.lines();
  if (lookup.used) {
    out << "Entry: line " << lines[*lookup.used].number << ": "
        << lines[*lookup.used].text << "\n";
  } else if (lookup.landing) {
    out << "Entry: line " << lines[*lookup.landing].number << ": "
        << lines[*lookup.landing].text << " (gives nothing)\n";
  } else {
    out << "Entry: none for " << mac << " or " << DashedMacFor(mac) << "\n";
  }
}

// The six fields as the run uses them; a field that took its default names
// the key and its line.
MachineRecordFields WriteFields(SettingsView& view,
                                const MachineRecordFields& own,
                                std::ostream& out) {
  MachineRecordFields filled = own;
  FillFromDefaults(&filled, ViewDefaults(view));

  struct Slot {
    std::string_view name;
    const std::string& own;
    const std::string& filled;
    std::string_view key;
  } slots[] = {
      {"ComputerName", own.ComputerName, filled.ComputerName, ""},
      {"IpAddress", own.IpAddress, filled.IpAddress, ""},
      {"SubnetMask", own.SubnetMask, filled.SubnetMask, kMaskKey},
      {"GatewayAddress", own.GatewayAddress, filled.GatewayAddress, kGatewayKey},
      {"PrimaryDns", own.PrimaryDns, filled.PrimaryDns, kDns1Key},
      {"SecondaryDns", own.SecondaryDns, filled.SecondaryDns, kDns2Key}};
  for (const Slot& slot : slots) {
    std::string note;
    if (slot.own.empty() && !slot.filled.empty()) {
      size_t line = *view.Locate(slot.key).line;
      note = " (default \"" + std::string(slot.key) + "\", line " +
             std::to_string(view.lines()[line].number) + ")";
    }
    out << "  " << slot.name << ":" << std::string(16 - slot.name.size(), ' ')
        << (slot.filled.empty() ? "(empty)" : slot.filled) << note << "\n";
  }
  return filled;
}

// Whether the run renames, and the line that says so.
bool WriteRename(const PreviewRequest& request, const std::string& name,
                 const std::vector<LossyChar>& lost, uint32_t code_page,
                 std::ostream& out) {
  if (!lost.empty()) {
    out << "Rename: no, code page " << code_page << " lacks "
        << CodePointList(lost) << " of the name\n";
    return false;
  }
  if (!request.current_name) {
    out << "Rename: to " << name << ", unless already named " << name
        << " (letter case ignored)\n";
    return true;
  }
  // Windows ignores the case of every letter of the code page; away from
  // the PC the checker knows only ASCII's, so a name that differs in the
  // case of other letters shows as a rename there.
  if (NameInForceMatches(*request.current_name, name, request.upper_case)) {
    out << "Rename: no, already named " << name << "\n";
    return false;
  }
  out << "Rename: yes, from " << *request.current_name << " to " << name
      << "\n";
  return true;
}

void WriteRestart(SettingsView& view, const PreviewRequest& request,
                  bool renames, std::ostream& out) {
  Located reboot = view.Locate(kRebootKey);
  std::string value = view.Clean(reboot.raw);
  std::string note =
      reboot.line ? "\"REBOOT\" is \"" + value + "\", line " +
                        std::to_string(view.lines()[*reboot.line].number)
                  : "no \"REBOOT\"";
  if (!renames) {
    out << "Restart: no (nothing renamed)\n";
  } else if (!RestartRequested(value)) {
    out << "Restart: no (" << note << ")\n";
  } else {
    out << "Restart: yes, forced" << (request.current_name ? "" : ", if renamed")
        << " (" << note << ")\n";
  }
}

}  // namespace

int WritePreview(const TextRules& rules, std::string_view text,
                 const Conversion& conversion, const PreviewRequest& request,
                 std::ostream& out) {
  SettingsView view(rules, text);
  out << "Preview for MAC " << request.mac << ", adapter \"" << request.adapter
      << "\", Windows " << request.windows_version_text
      << " (nothing is changed)\n";

  MachineLookup lookup = LookUpMachine(view, request.mac);
  WriteEntryLine(view, lookup, request.mac, out);
  MachineRecordFields own = SplitMachineEntry(lookup.cleaned, view.lead());
  if (own.ComputerName.empty()) {
    out << "The run stops with \"No valid setting!\": it changes nothing.\n";
    return 1;
  }
  MachineRecordFields filled = WriteFields(view, own, out);
  bool renames = WriteRename(
      request, filled.ComputerName,
      LossyCharsOfEntryName(view, lookup, own.ComputerName.size(), conversion),
      conversion.code_page, out);
  WriteRestart(view, request, renames, out);

  if (!AddressComplete(filled)) {
    out << "Commands: none (IpAddress, SubnetMask and GatewayAddress must all "
           "be set)\n";
    return 0;
  }
  out << "Commands, in order, as passed before %WinDir% is expanded:\n";
  for (const std::string& command :
       BuildAddressCommands(filled, request.adapter, request.windows_version)) {
    out << "  " << command << "\n";
  }
  return 0;
}

}  // namespace hostconfig
