#include "settings/text_rules.h"

namespace hostconfig {

TextRules SystemTextRules(SystemInterface& system) {
  TextRules rules;
  rules.lead = system.AnsiLeadBytes();
  rules.keys_equal = [&system](std::string_view a, std::string_view b) {
    return system.CompareStringIgnoreCase(a, b);
  };
  rules.from_utf16 = [&system](std::u16string_view text, bool* lossy) {
    return system.WideCharToMultiByte(text, lossy);
  };
  return rules;
}

}  // namespace hostconfig
