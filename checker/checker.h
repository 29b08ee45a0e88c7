// hostconfig-check: what the tool would make of a settings file.
//
// The file is read with the tool's own settings code (DecodeSettingsFile,
// FindKeysInText, CleanSettingValue, LookUpMachineEntry, SplitMachineEntry,
// FillFromDefaults, AddressComplete, RestartRequested, BuildAddressCommands);
// the checker adds only the whole-file view: line numbers, repeated keys,
// entries that can never match, and values that the tool would pass on
// unchecked.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "checker/findings.h"
#include "checker/preview.h"

namespace hostconfig {

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
