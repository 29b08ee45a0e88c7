#include "app/run.h"

#include <new>

#include "app/console.h"
#include "app/failure.h"
#include "app/run_state.h"
#include "discovery/adapters.h"
#include "discovery/windows_version.h"
#include "settings/machine_record.h"
#include "settings/settings_file.h"
#include "system/address_commands.h"
#include "system/computer_name.h"
#include "system/restart.h"

namespace hostconfig {

namespace {

bool AddressComplete(const MachineRecordFields& record) {
  return !record.IpAddress.empty() && !record.SubnetMask.empty() &&
         !record.GatewayAddress.empty();
}

// Writes the failure report as one console line. A report that cannot be
// written either is dropped: the exit code still tells.
void ReportFailure(Run& run, const std::string& kind, uint32_t location,
                   const std::string& message) {
  try {
    std::string module = FileNameOf(run.System.GetModuleFileName(),
                                    run.System.AnsiLeadBytes());
    WriteConsoleLine(run.System, run.Console,
                     FormatFailureReport(kind, module, location, message));
  } catch (const Failure&) {
  } catch (const std::bad_alloc&) {
  }
}

}  // namespace

void RunSequence(Run& run) {
  // Start-up.
  SelectMessageTable(run);
  run.DecimalChar = DetectDecimalChar(run.System);
  run.WindowsVersion = ReadWindowsVersion(run.System, run.DecimalChar);
  PrintBanner(run);
  PrintMessage(run, msgDetecting);

  // Discovery: no adapter stops the run before the settings file is read.
  if (!RunDiscoveryPhase(run)) {
    AlertMessage(run, msgNoAdapter);
    return;
  }

  // Global defaults, then this machine's entry.
  ReadGlobalDefaults(run);
  ReadMachineRecord(run);
  if (run.MachineRecord.ComputerName.empty()) {
    AlertMessage(run, msgNoSetting);
    return;
  }

  // Rename.
  PrintMessage(run, msgRenaming);
  ApplyComputerName(run);

  // Address, only with an address, a mask and a gateway.
  if (AddressComplete(run.MachineRecord)) {
    PrintMessage(run, msgConfiguring);
    ApplyAddressCommands(run);
  }

  // Restart, only after this run renamed the computer.
  if (run.NameChanged) RunRestartPhase(run);
}

int RunProgram(SystemInterface& system) {
  Run run(system);
  int exit_code = 0;
  try {
    RunSequence(run);
  } catch (const Failure& failure) {
    ReportFailure(run, failure.kind(), failure.location(), failure.what());
    exit_code = 1;
  } catch (const std::bad_alloc&) {
    ReportFailure(run, "EOutOfMemory",
                  CodeLocation(reinterpret_cast<const void*>(&RunSequence)),
                  "Out of memory");
    exit_code = 1;
  }
  CloseConsole(system, run.Console);
  return exit_code;
}

}  // namespace hostconfig
