// Environment expansion and hidden, awaited processes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "os/system_interface.h"

namespace hostconfig {

// Replaces %NAME% references in *text, pass by pass from the start: "%%"
// vanishes, a lone "%" vanishes, and an undefined name (or a value that
// begins with "%") stops the expansion there. A value is inserted whole,
// however long; expansion stops once the text is longer than 32,767
// characters, so a variable that refers to itself cannot grow it forever.
void ExpandPercentVariables(SystemInterface& system, std::string* text);

// Starts command_line (STARTUPINFOA cb 68, flags 0x101, wShowWindow
// show_window, inherited handles). With wait, polls the process every 100 ms
// until it has ended, then reads its exit code into *exit_code when one is
// asked for (left empty when GetExitCodeProcess fails, and without wait).
// Closes both handles. False when it could not start.
bool LaunchProcess(SystemInterface& system, const std::string& command_line,
                   const std::string* directory, bool wait,
                   uint16_t show_window,
                   std::optional<uint32_t>* exit_code = nullptr);

}  // namespace hostconfig
