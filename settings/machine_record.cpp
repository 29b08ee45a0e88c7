#include "settings/machine_record.h"
#include "app/run_state.h"
namespace hostconfig {
// Placeholder until the machine record lands.
std::string DashedMacFor(std::string_view) { return {}; }
MachineRecordFields SplitMachineEntry(std::string, const LeadBytes&) { return {}; }
void ReadMachineRecord(Run&) {}
}  // namespace hostconfig
