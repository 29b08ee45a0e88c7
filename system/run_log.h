// The run log: one CSV line per run, appended to a file that the PCs of a
// lab share. The line's format is here; the writing is in run_log.cpp.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "os/system_interface.h"

namespace hostconfig {

// The first line of a new or empty log.
inline constexpr std::string_view kRunLogHeader =
    "time,mac,adapter,old_name,new_name,address,mask,gateway,dns1,dns2,"
    "netsh_exit,restart,outcome,detail";
inline constexpr size_t kRunLogFields = 14;

// How a run ended, as the log says it.
enum class RunOutcome {
  kRenamed,           // the name was changed, every command exited 0
  kUnchanged,         // the name already matched, every command exited 0
  kNoEntry,           // stopped with "No valid setting!"
  kRenameFailed,      // the system refused the new name
  kCommandFailed,     // a command exited non-zero or could not be started
  kFailed,            // ended with the failure report
  kRenameNotApplied,  // the name set before the last restart is not in force
};

std::string_view OutcomeWord(RunOutcome outcome);
std::optional<RunOutcome> OutcomeFromWord(std::string_view word);

// One run, as its log line gives it. Texts are in the ANSI code page.
struct RunLogLine {
  LocalTime time;
  std::string mac;       // 12 upper-case hexadecimal digits
  std::string adapter;
  std::string old_name;  // the name in force when the run started
  std::string new_name;  // the entry's name; empty without an entry
  std::string address, mask, gateway, dns1, dns2;  // after the defaults
  std::vector<uint32_t> netsh_exit;  // each started command's exit code
  bool restart = false;              // the run requested the restart
  RunOutcome outcome = RunOutcome::kFailed;
  std::string detail;  // short English text, or empty
};

// "YYYY-MM-DD HH:MM:SS".
std::string FormatLogTime(const LocalTime& time);
std::optional<LocalTime> ParseLogTime(std::string_view text);

// A field as RFC 4180 writes it: quoted when it holds ",", '"', CR or LF,
// with '"' doubled.
std::string QuoteCsvField(std::string_view field);

// The line of a run, fields quoted as needed, ending in CR LF.
std::string FormatRunLogLine(const RunLogLine& line);

// Splits one CSV record that starts at *pos in text (RFC 4180: quoted
// fields may hold commas, doubled quotes and line breaks) and moves *pos
// past it and its line end. False at the end of the text, and for a record
// whose quotes are not closed (*pos then moves to the end).
bool NextCsvRecord(std::string_view text, size_t* pos,
                   std::vector<std::string>* fields);

// The line of a record of kRunLogFields fields, or the reason it is none.
std::optional<RunLogLine> ParseRunLogRecord(
    const std::vector<std::string>& fields, std::string* problem);

// --- Where the log is, and appending to it ---

// The global key that names the log; without it no log is written.
inline constexpr std::string_view kLogFileKey = "LogFile";

// True for a path that names its own place, whatever the working directory:
// a drive letter ("C:\", also "C:x"), a UNC path ("\\server\") or a path
// from the root of the current drive ("\logs"); "/" counts as "\".
bool IsAbsoluteWindowsPath(std::string_view path);

// The log's path for a cleaned, non-empty "LogFile" value: %NAME%
// references expanded (ExpandEnvironmentStrings of the whole value), then a
// relative path taken from the executable's folder, not the working
// directory (a startup script runs in system32).
std::string ResolveLogPath(SystemInterface& system, std::string_view value);

// How long a busy log is retried, in all, and the pause between tries.
inline constexpr uint32_t kLogBusyBoundMilliseconds = 15000;
inline constexpr uint32_t kLogPauseMinMilliseconds = 50;
inline constexpr uint32_t kLogPauseMaxMilliseconds = 250;

// Appends the line to the log at path, with the header in front when the
// file is new or empty, in one write that is flushed before the file is
// closed. The file is opened for appending with no sharing, so lines from
// many PCs never mix; while another PC holds it (error 32), the open is
// tried again after a random pause until kLogBusyBoundMilliseconds have
// passed (GetTickCount). Returns 0, or the error that kept the line out.
// Never throws.
uint32_t AppendRunLog(SystemInterface& system, const std::string& path,
                      const RunLogLine& line);

}  // namespace hostconfig
