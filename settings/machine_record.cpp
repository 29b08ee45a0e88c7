#include "settings/machine_record.h"

#include "settings/settings_text.h"
#include "util/ascii.h"
#include "util/double_byte.h"

namespace hostconfig {

namespace {

constexpr size_t kFieldCount = 6;

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

std::string LookUpMachineEntry(
    std::string_view mac,
    const std::function<std::string(std::string_view key)>& cleaned_value) {
  std::string entry = cleaned_value(mac);
  if (entry.empty()) entry = cleaned_value(DashedMacFor(mac));
  return entry;
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

void FillFromDefaults(MachineRecordFields* record,
                      const GlobalDefaults& defaults) {
  FillFromDefault(record->SubnetMask, defaults.DefaultMask);
  FillFromDefault(record->GatewayAddress, defaults.DefaultGateway);
  FillFromDefault(record->PrimaryDns, defaults.DefaultDns1);
  FillFromDefault(record->SecondaryDns, defaults.DefaultDns2);
}

bool AddressComplete(const MachineRecordFields& record) {
  return !record.IpAddress.empty() && !record.SubnetMask.empty() &&
         !record.GatewayAddress.empty();
}

size_t NameOffsetInEntry(std::string_view raw_value) {
  size_t offset = 0;
  while (offset < raw_value.size() &&
         static_cast<unsigned char>(raw_value[offset]) <= 0x20)
    ++offset;
  return offset;
}

std::vector<LossyChar> LossyCharsOfName(std::string_view raw_value,
                                        const std::vector<LossyChar>& lossy,
                                        size_t name_length) {
  if (name_length == 0) return {};
  return LossyCharsIn(lossy, NameOffsetInEntry(raw_value), name_length);
}

MachineRecordFields ReadMachineRecord(SystemInterface& system,
                                      const std::string& settings_path,
                                      const std::string& primary_mac,
                                      const GlobalDefaults& defaults,
                                      bool* name_lossy) {
  // The last read is the one whose value the entry comes from.
  RawSetting read;
  std::string entry =
      LookUpMachineEntry(primary_mac, [&](std::string_view key) {
        read = ReadRawSetting(system, settings_path, key);
        std::string cleaned = read.value;
        CleanSettingValue(cleaned, system.AnsiLeadBytes());
        return cleaned;
      });
  MachineRecordFields record =
      SplitMachineEntry(std::move(entry), system.AnsiLeadBytes());
  *name_lossy =
      !LossyCharsOfName(read.value, read.lossy, record.ComputerName.size())
           .empty();
  FillFromDefaults(&record, defaults);
  return record;
}

}  // namespace hostconfig
