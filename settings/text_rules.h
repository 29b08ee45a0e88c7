// How a system treats ANSI text, as far as reading settings goes.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "os/system_interface.h"

namespace hostconfig {

// Whether two key texts are the same key.
using KeyComparison = std::function<bool(std::string_view, std::string_view)>;

struct TextRules {
  // The bytes that start a double-byte character of the ANSI code page.
  LeadBytes lead{};
  // The tool compares keys by the system's locale, ignoring case.
  KeyComparison keys_equal;
  // UTF-16 to the ANSI code page. *lossy tells whether the result stands
  // for other text: a character the code page lacks became "?" or a
  // look-alike.
  std::function<std::string(std::u16string_view, bool* lossy)> from_utf16;
};

// The rules of the machine the tool runs on: its lead bytes,
// CompareStringA ignoring case, and WideCharToMultiByte. The result refers
// to `system`, which must outlive it.
TextRules SystemTextRules(SystemInterface& system);

}  // namespace hostconfig
