// Code page services for hostconfig-check, which reads a settings file in a
// code page chosen on its command line rather than the system's own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace hostconfig {

// The code page a settings file is read in when none is given: the system's
// ANSI code page on Windows, 936 elsewhere.
uint32_t DefaultAnsiCodePage();

// UTF-16 to `code_page`: on Windows by the system, as the tool converts;
// elsewhere by the C library's converter, with "?" for each character the
// code page lacks. *lossy tells whether the result stands for other text:
// converted back, it would not give the same UTF-16.
std::string WideToCodePage(std::u16string_view text, uint32_t code_page,
                           bool* lossy);

}  // namespace hostconfig
