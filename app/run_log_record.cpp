#include "app/run_log_record.h"

#include "settings/settings_file.h"

namespace hostconfig {

std::string ReadLogPath(SystemInterface& system,
                        const std::string& settings_path) {
  const std::string value =
      ReadCleanSetting(system, settings_path, kLogFileKey);
  return value.empty() ? std::string() : ResolveLogPath(system, value);
}

void NoteEntry(RunLogRecord& log, const MachineRecordFields& record) {
  log.line.new_name = record.ComputerName;
  log.line.address = record.IpAddress;
  log.line.mask = record.SubnetMask;
  log.line.gateway = record.GatewayAddress;
  log.line.dns1 = record.PrimaryDns;
  log.line.dns2 = record.SecondaryDns;
}

void NoteRename(RunLogRecord& log, const RenameResult& rename) {
  log.rename = rename;
  log.line.old_name = rename.old_name;
}

RunOutcome RenameRunOutcome(const RenameResult& rename, std::string* detail) {
  detail->clear();
  switch (rename.outcome) {
    case RenameOutcome::kUnchanged:
      return RunOutcome::kUnchanged;
    case RenameOutcome::kRenamed:
      return RunOutcome::kRenamed;
    case RenameOutcome::kRefused:
      *detail = "the system refused the name: error " +
                std::to_string(rename.error);
      return RunOutcome::kRenameFailed;
    case RenameOutcome::kNotApplied:
      *detail = "the name set before the last restart is still not in force; "
                "set again, no restart";
      return RunOutcome::kRenameNotApplied;
    case RenameOutcome::kNotConvertible:
      *detail = "the name holds characters the ANSI code page lacks: not set";
      return RunOutcome::kRenameFailed;
  }
  return RunOutcome::kFailed;
}

std::string CommandFailureDetail(const std::vector<CommandRun>& commands) {
  const std::string of = " of " + std::to_string(commands.size());
  for (size_t i = 0; i < commands.size(); ++i) {
    const std::string command = "command " + std::to_string(i + 1) + of;
    if (!commands[i].started) return command + " could not be started";
    if (!commands[i].exit_code)
      return "the exit code of " + command + " could not be read";
    if (*commands[i].exit_code != 0)
      return command + " exited with " + std::to_string(*commands[i].exit_code);
  }
  return std::string();
}

void FinishRunLog(SystemInterface& system, RunLogRecord& log, bool restart) {
  if (log.path.empty() || log.written || !log.rename) return;
  try {
    log.line.restart = restart;
    std::string detail;
    RunOutcome outcome = RenameRunOutcome(*log.rename, &detail);
    const std::string commands = CommandFailureDetail(log.commands);
    if (!commands.empty()) {
      // A refused name stays the outcome; the detail names both.
      if (outcome == RunOutcome::kRenamed || outcome == RunOutcome::kUnchanged)
        outcome = RunOutcome::kCommandFailed;
      detail = detail.empty() ? commands : detail + "; " + commands;
    }
    WriteRunLog(system, log, outcome, detail);
  } catch (...) {
    // Memory for the texts: the line is lost, the run goes on unchanged.
  }
}

void WriteRunLog(SystemInterface& system, RunLogRecord& log,
                 RunOutcome outcome, std::string_view detail) {
  if (log.path.empty() || log.written) return;
  log.written = true;
  try {
    RunLogLine& line = log.line;
    line.time = system.GetLocalTime();
    // Before the rename phase the name in force is still the one the run
    // started with.
    if (!log.rename && !ReadNameInForce(system, &line.old_name))
      line.old_name.clear();
    line.netsh_exit.clear();
    for (const CommandRun& command : log.commands)
      if (command.exit_code) line.netsh_exit.push_back(*command.exit_code);
    line.outcome = outcome;
    line.detail = detail;
    AppendRunLog(system, log.path, line);
  } catch (...) {
    // Memory for the texts: the line is lost, the run goes on unchanged.
  }
}

}  // namespace hostconfig
