#include "app/run.h"

#include <new>

#include "app/failure_report.h"
#include "app/run_log_record.h"
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

void RunSequence(SystemInterface& system, Console& console,
                 RunLogRecord& log) {
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
  log.line.mac = adapters.PrimaryMac;
  log.line.adapter = adapters.PrimaryAdapterName;

  // Global defaults and the run log's path, then this machine's entry.
  const std::string SettingsPath = SettingsPathOf(system);
  const GlobalDefaults defaults = ReadGlobalDefaults(system, SettingsPath);
  log.path = ReadLogPath(system, SettingsPath);
  bool NameLossy = false;
  const MachineRecordFields MachineRecord = ReadMachineRecord(
      system, SettingsPath, adapters.PrimaryMac, defaults, &NameLossy);
  if (MachineRecord.ComputerName.empty()) {
    // The line goes first: the box may stay open for hours.
    WriteRunLog(system, log, RunOutcome::kNoEntry, "");
    AlertMessage(console, msgNoSetting);
    return;
  }
  NoteEntry(log, MachineRecord);

  // Rename; a name that the ANSI code page cannot hold is never passed on.
  PrintMessage(console, msgRenaming);
  const RenameResult rename =
      NameLossy ? KeepNameNotConvertible(system)
                : ApplyComputerName(system, MachineRecord.ComputerName);
  NoteRename(log, rename);

  // Address, only with an address, a mask and a gateway.
  if (AddressComplete(MachineRecord)) {
    PrintMessage(console, msgConfiguring);
    const std::string adapter = AdapterInCommands(
        adapters.PrimaryAdapterName, adapters.PrimaryNameLossy,
        adapters.PrimaryIfIndex, WindowsVersion);
    log.commands =
        ApplyAddressCommands(system, MachineRecord, adapter, WindowsVersion);
  }

  // Restart, only after this run renamed the computer. The run log's line
  // goes just before the request: a forced restart ends the process.
  if (rename.NameChanged()) {
    RunRestartPhase(system, SettingsPath, MachineRecord.ComputerName,
                    [&] { FinishRunLog(system, log, /*restart=*/true); });
  }
  FinishRunLog(system, log, /*restart=*/false);
}

int RunProgram(SystemInterface& system) {
  Console console(system);
  RunLogRecord log;
  int exit_code = 0;
  try {
    RunSequence(system, console, log);
  } catch (const Failure& failure) {
    ReportFailure(console, failure.kind(), failure.location(), failure.what());
    WriteRunLog(system, log, RunOutcome::kFailed, failure.what());
    exit_code = 1;
  } catch (const std::bad_alloc&) {
    ReportFailure(console, "EOutOfMemory",
                  CodeLocation(reinterpret_cast<const void*>(&RunSequence)),
                  "Out of memory");
    WriteRunLog(system, log, RunOutcome::kFailed, "Out of memory");
    exit_code = 1;
  }
  CloseConsole(system, console.output);
  return exit_code;
}

}  // namespace hostconfig
