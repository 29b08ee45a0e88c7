// What one machine's run would do, shown before it runs.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "checker/settings_view.h"
#include "settings/text_rules.h"
#include "system/computer_name.h"
#include "util/ascii.h"

namespace hostconfig {

struct PreviewRequest {
  std::string mac;  // 12 uppercase hexadecimal digits
  std::string adapter = "Local Area Connection";
  double windows_version = 10.0;
  std::string windows_version_text = "10.0";
  std::optional<std::string> current_name;
  // How names are upper-cased for the comparison with the name in force:
  // ASCII letters only, unless the preview runs on the PC itself and can
  // ask its system (--here).
  NameUpperCase upper_case = [](std::string_view text) { return UpperAscii(text); };
};

// Writes the preview of one machine: its entry and line, the six fields after
// the defaults, whether the run renames and restarts, and the network shell
// command lines. A name holding characters that the conversion lost is
// not renamed. Returns 0 when the run would go on, 1 when it would stop
// with "No valid setting!".
int WritePreview(const TextRules& rules, std::string_view text,
                 const Conversion& conversion, const PreviewRequest& request,
                 std::ostream& out);

}  // namespace hostconfig
