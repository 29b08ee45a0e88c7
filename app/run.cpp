#include "app/run.h"

#include <new>

#include "app/failure_report.h"
#include "discovery/adapters.h"
#include "discovery/windows_version.h"
#include "settings/failure.h"
#include "settings/machine_record.h"
#include "settings/settings_file.h"
#include "system/address_commands.h"
#include "system/computer_name.h"
#include "system/restart.h"

namespace hostconfig {

namespace {

// Writes the failure report as one console line. A report that cannot be
// written either is dropped: the exit code still tells.
void ReportFailure(Console& console, const std::string& kind,
                   uint32_t location, const std::string& message) {
  try {
    SystemInterface& system = console.system;
    std::string module =
        FileNameOf(system.GetModuleFileName(), system.AnsiLeadBytes());
    WriteConsoleLine(system, console.output,
                     FormatFailureReport(kind, module, location, message));
  } catch (const Failure&) {
  } catch (const std::bad_alloc&) {
  }
}

}  // namespace

void RunSequence(SystemInterface& system, Console& console) {
  // Start-up.
  console.MessageTable = SelectMessageTable(system);
  const double WindowsVersion =
      ReadWindowsVersion(system, DetectDecimalChar(system));
  PrintBanner(console);
  PrintMessage(console, msgDetecting);

  // Discovery: no adapter stops the run before the settings file is read.
  const AdapterList adapters = RunDiscoveryPhase(system);
  if (adapters.AdapterNames.empty()) {
    AlertMessage(console, msgNoAdapter);
    return;
  }

  // Global defaults, then this machine's entry.
  const std::string SettingsPath = SettingsPathOf(system);
  const GlobalDefaults defaults = ReadGlobalDefaults(system, SettingsPath);
  const MachineRecordFields MachineRecord =
      ReadMachineRecord(system, SettingsPath, adapters.PrimaryMac, defaults);
  if (MachineRecord.ComputerName.empty()) {
    AlertMessage(console, msgNoSetting);
    return;
  }

  // Rename.
  PrintMessage(console, msgRenaming);
  const RenameResult rename =
      ApplyComputerName(system, MachineRecord.ComputerName);

  // Address, only with an address, a mask and a gateway.
  if (AddressComplete(MachineRecord)) {
    PrintMessage(console, msgConfiguring);
    const std::string adapter = AdapterInCommands(
        adapters.PrimaryAdapterName, adapters.PrimaryNameLossy,
        adapters.PrimaryIfIndex, WindowsVersion);
    ApplyAddressCommands(system, MachineRecord, adapter, WindowsVersion);
  }

  // Restart, only after this run renamed the computer, and at most once for
  // the same name (restart_guard.h).
  if (rename.NameChanged())
    RunRestartPhase(system, SettingsPath, MachineRecord.ComputerName);
}

int RunProgram(SystemInterface& system) {
  Console console(system);
  int exit_code = 0;
  try {
    RunSequence(system, console);
  } catch (const Failure& failure) {
    ReportFailure(console, failure.kind(), failure.location(), failure.what());
    exit_code = 1;
  } catch (const std::bad_alloc&) {
    ReportFailure(console, "EOutOfMemory",
                  CodeLocation(reinterpret_cast<const void*>(&RunSequence)),
                  "Out of memory");
    exit_code = 1;
  }
  CloseConsole(system, console.output);
  return exit_code;
}

}  // namespace hostconfig
