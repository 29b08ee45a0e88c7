// Entries for machines that ran without one: MAC collection. The lines are
// made to be appended to the settings file as they are.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "os/system_interface.h"
#include "settings/text_rules.h"

namespace hostconfig {

// A machine seen without an entry: in a log, or the PC the checker runs on.
struct SeenMachine {
  std::string mac;       // 12 upper-case hexadecimal digits
  std::string old_name;  // its computer name when it was seen
  std::string adapter;
  LocalTime time;
};

// text with each control byte (below 0x20, and 0x7F) shown as "?", so that
// it stays on one line.
std::string OnOneLine(std::string_view text);

// True when a line appended to text would join its last line.
bool NeedsLineEndFirst(std::string_view text);

// One line per machine, in order, such that the settings text with these
// lines appended gives each machine the line made for it, and checks clean
// for them:
//   0A1B2C3D4E5F=OLDNAME ; seen 2026-12-11 08:02:13 on adapter "Ethernet"
// The name is the old name as a computer name may be written (characters
// it may not hold become "-", at most 15 bytes), else PC- and the MAC's
// last six digits; a name already given gets -2, -3, ... The dashed key is
// used when a plain one would not be found. A machine that no appended line
// can give an entry (its MAC already has a line that the lookup stops at)
// gets a comment line that says where to write its name instead.
std::vector<std::string> NewEntryLines(const TextRules& rules,
                                       std::string_view text,
                                       const std::vector<SeenMachine>& seen);

}  // namespace hostconfig
