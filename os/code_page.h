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

// UTF-16 to `code_page`. On Windows the system converts; elsewhere ASCII
// converts exactly and everything else becomes "?". Adds to *unconverted
// when characters became the default character.
std::string WideToCodePage(std::u16string_view text, uint32_t code_page,
                           size_t* unconverted);

}  // namespace hostconfig
