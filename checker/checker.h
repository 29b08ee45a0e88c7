// hostconfig-check: what the tool would make of a settings file.
//
// The file is read with the tool's own settings code (DecodeSettingsText,
// FindKeyInText, CleanSettingValue, DashedMacFor, SplitMachineEntry,
// BuildAddressCommands); the checker adds only the whole-file view: line
// numbers, repeated keys, entries that can never match, and values that the
// tool would pass on unchecked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "os/system_interface.h"

namespace hostconfig {

struct Finding {
  size_t line = 0;  // counted from 1
  bool error = false;
  std::string text;
};

// The lines of a settings text exactly as the tool splits them: a line ends
// at CR, LF or CR LF, a zero byte ends the text. Line i of the result is line
// i + 1 of the file as an editor numbers it.
std::vector<std::string_view> SplitSettingsLines(std::string_view text);

// All findings for a decoded settings text, ordered by line. Uses the system
// for key comparison and lead bytes.
std::vector<Finding> CheckSettingsText(SystemInterface& system,
                                       std::string_view text);

// What one machine's run would do.
struct PreviewRequest {
  std::string mac;  // 12 uppercase hexadecimal digits
  std::string adapter = "Local Area Connection";
  double windows_version = 10.0;
  std::string windows_version_text = "10.0";
  std::optional<std::string> current_name;
};

// Writes the preview of one machine: its entry and line, the six fields after
// the defaults, whether the run renames and restarts, and the network shell
// command lines. Returns 0 when the run would go on, 1 when it would stop
// with "No valid setting!".
int WritePreview(SystemInterface& system, std::string_view text,
                 const PreviewRequest& request, std::ostream& out);

// The MAC text of an argument: 12 hexadecimal digits, plain or with "-" or
// ":" between the pairs, either case. Empty when it is none of these.
std::string NormalizeMacArgument(std::string_view text);

// The whole program: arguments without the program name; findings and the
// preview go to out, usage and read errors to err. Returns the exit code:
// 0 no error, 1 errors (or a stopping run in a preview), 2 unreadable file or
// wrong arguments.
int RunChecker(const std::vector<std::string>& args, std::ostream& out,
               std::ostream& err);

}  // namespace hostconfig
