// This machine's entry: found by MAC text, split into six fields, filled
// from the defaults.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "os/system_interface.h"
#include "settings/settings_file.h"
#include "settings/settings_text.h"

namespace hostconfig {

// The six fields of a machine's entry, in the order of the entry.
struct MachineRecordFields {
  std::string ComputerName;
  std::string IpAddress;
  std::string SubnetMask;
  std::string GatewayAddress;
  std::string PrimaryDns;
  std::string SecondaryDns;
};

// 0A1B2C3D4E5F gives 0A-1B-2C-3D-4E-5F.
std::string DashedMacFor(std::string_view mac);

// The cleaned value of this machine's entry: the plain MAC's, or, only when
// that cleans to nothing, the dashed MAC's. `cleaned_value` gives the
// cleaned value of one key.
std::string LookUpMachineEntry(
    std::string_view mac,
    const std::function<std::string(std::string_view key)>& cleaned_value);

// Splits a cleaned entry value into the six fields: fullwidth commas (GBK
// A3 AC) count as ",", each field is trimmed, the name upper-cased (a to z
// only, byte by byte), missing fields empty, fields past the sixth ignored.
// No defaults are applied.
MachineRecordFields SplitMachineEntry(std::string record_text,
                                      const LeadBytes& lead);

// Each of mask, gateway, DNS1 and DNS2 that is empty takes its default.
// The name and the address take none.
void FillFromDefaults(MachineRecordFields* record,
                      const GlobalDefaults& defaults);

// The address phase runs only with an address, a mask and a gateway.
bool AddressComplete(const MachineRecordFields& record);

// Where the computer name starts in an entry's raw value: after the bytes
// <= 0x20 that lead it. Cleaning and splitting change nothing before the
// first "," or ";" (or their fullwidth forms), which end the name, and
// upper-casing keeps its length: the name stands for the ComputerName.size()
// bytes of the raw value from there.
size_t NameOffsetInEntry(std::string_view raw_value);

// The lossy characters (offsets from the raw value's start) that stand in
// the computer name of that raw value.
std::vector<LossyChar> LossyCharsOfName(std::string_view raw_value,
                                        const std::vector<LossyChar>& lossy,
                                        size_t name_length);

// The record phase: this machine's entry in the settings file, split and
// filled from the defaults; the caller tests ComputerName. Sets *name_lossy,
// true when the conversion of the file to the ANSI code page changed the
// computer name (a character the code page lacks became "?" or a
// look-alike).
MachineRecordFields ReadMachineRecord(SystemInterface& system,
                                      const std::string& settings_path,
                                      const std::string& primary_mac,
                                      const GlobalDefaults& defaults,
                                      bool* name_lossy);

}  // namespace hostconfig
