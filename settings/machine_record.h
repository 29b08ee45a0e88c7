// This machine's entry: found by MAC text, split into six fields.
#pragma once

#include <string>
#include <string_view>

#include "os/system_interface.h"

namespace hostconfig {

struct Run;
struct MachineRecordFields;

// 0A1B2C3D4E5F gives 0A-1B-2C-3D-4E-5F.
std::string DashedMacFor(std::string_view mac);

// Splits a cleaned entry value into the six fields: fullwidth commas (GBK
// A3 AC) count as ",", each field is trimmed, the name upper-cased (a to z
// only, byte by byte), missing fields empty, fields past the sixth ignored.
// No defaults are applied.
MachineRecordFields SplitMachineEntry(std::string record_text,
                                      const LeadBytes& lead);

// Looks up run.PrimaryMac, then (only when that gives nothing) run.DashedMac,
// splits the entry into run.MachineRecord and fills its empty mask, gateway
// and DNS fields from the defaults. The caller tests ComputerName.
void ReadMachineRecord(Run& run);

}  // namespace hostconfig
