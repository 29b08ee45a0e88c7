// What the run log says of a run, gathered as the run goes. RunSequence
// fills a RunLogRecord phase by phase; its one line is written before the
// box of the no-entry stop, before the restart request, or by RunProgram on
// the failure end. Without "LogFile" nothing here touches the machine.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "os/system_interface.h"
#include "settings/machine_record.h"
#include "system/address_commands.h"
#include "system/computer_name.h"
#include "system/run_log.h"

namespace hostconfig {

struct RunLogRecord {
  std::string path;  // the log; empty without "LogFile": nothing is written
  bool written = false;  // one line per run at most
  RunLogLine line;       // the fields known so far
  std::optional<RenameResult> rename;  // once the rename phase has run
  std::vector<CommandRun> commands;    // the address phase's commands
};

// The cleaned "LogFile" value as the log's path (ResolveLogPath), or empty
// without the key. Raises the settings file's Failure like every lookup.
std::string ReadLogPath(SystemInterface& system, const std::string& settings_path);

// The machine's entry as the run uses it, after the defaults. A run that
// stops without an entry logs none of its fields.
void NoteEntry(RunLogRecord& log, const MachineRecordFields& record);

// The rename phase's result, with the name in force when the run started.
void NoteRename(RunLogRecord& log, const RenameResult& rename);

// The outcome that a rename gives the run, with the detail it adds (the
// system's error for a refused name), before the commands are considered.
RunOutcome RenameRunOutcome(const RenameResult& rename, std::string* detail);

// The first command that failed, as "command 2 of 3 exited with 1" or
// "command 1 of 3 could not be started"; empty when every one exited 0.
std::string CommandFailureDetail(const std::vector<CommandRun>& commands);

// Writes the line of a run that reached its end, after its rename phase:
// the outcome from the rename and the commands; restart tells whether the
// restart is about to be requested.
void FinishRunLog(SystemInterface& system, RunLogRecord& log, bool restart);

// Writes the line with this outcome and detail, once per run, when there is
// a log: fills the time, the name in force (read now when the rename phase
// has not run) and the commands' exit codes, then appends the line. A log
// that cannot be written is dropped; nothing escapes.
void WriteRunLog(SystemInterface& system, RunLogRecord& log,
                 RunOutcome outcome, std::string_view detail);

}  // namespace hostconfig
