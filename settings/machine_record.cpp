#include "settings/machine_record.h"

#include "app/run_state.h"
#include "settings/settings_file.h"

namespace hostconfig {

namespace {

constexpr size_t kFieldCount = 6;

void UpperCaseAscii(std::string& text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
}

void FillFromDefault(std::string& field, const std::string& fallback) {
  if (field.empty()) field = fallback;
}

}  // namespace

std::string DashedMacFor(std::string_view mac) {
  std::string dashed(mac);
  // From the right, so the earlier positions stay where they are.
  for (size_t pos = 10; pos >= 2; pos -= 2)
    if (pos <= dashed.size()) dashed.insert(pos, 1, '-');
  return dashed;
}

MachineRecordFields SplitMachineEntry(std::string record_text,
                                      const LeadBytes& lead) {
  ReplaceDoubleByte(record_text, "\xA3\xAC", ',', lead);
  std::string fields[kFieldCount];
  std::string_view rest = record_text;
  for (size_t i = 0; i < kFieldCount; ++i) {
    size_t comma = rest.find(',');
    fields[i] = std::string(rest.substr(0, comma));
    TrimControl(fields[i]);
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  UpperCaseAscii(fields[0]);

  MachineRecordFields record;
  record.ComputerName = std::move(fields[0]);
  record.IpAddress = std::move(fields[1]);
  record.SubnetMask = std::move(fields[2]);
  record.GatewayAddress = std::move(fields[3]);
  record.PrimaryDns = std::move(fields[4]);
  record.SecondaryDns = std::move(fields[5]);
  return record;
}

void ReadMachineRecord(Run& run) {
  SystemInterface& system = run.System;
  std::string record_text =
      ReadCleanSetting(system, run.SettingsPath, run.PrimaryMac);
  if (record_text.empty()) {
    run.DashedMac = DashedMacFor(run.PrimaryMac);
    record_text = ReadCleanSetting(system, run.SettingsPath, run.DashedMac);
  }
  run.MachineRecord =
      SplitMachineEntry(std::move(record_text), system.AnsiLeadBytes());

  MachineRecordFields& record = run.MachineRecord;
  FillFromDefault(record.SubnetMask, run.DefaultMask);
  FillFromDefault(record.GatewayAddress, run.DefaultGateway);
  FillFromDefault(record.PrimaryDns, run.DefaultDns1);
  FillFromDefault(record.SecondaryDns, run.DefaultDns2);
}

}  // namespace hostconfig
