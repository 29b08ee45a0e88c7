// The Windows version as one number (10.0, 6.1, 5.1).
#pragma once

#include <string>
#include <string_view>

namespace hostconfig {

class SystemInterface;

// The locale's decimal separator, one character.
std::string DetectDecimalChar(SystemInterface& system);

// "major.minor" from the registry's CurrentMajorVersionNumber and
// CurrentMinorVersionNumber, or empty text when the major number reads 0.
std::string ReadRegistryVersionText(SystemInterface& system);

// The registry's version text, else GetVersionExA's, else "0.0".
std::string ReadVersionText(SystemInterface& system);

// The version text read as a decimal number with decimal_char (the separator
// DetectDecimalChar gave) in place of its ".": 6 and 1 give 6.1, 6 and 10
// give 6.1 as well, under every locale.
// Digits, one separator, digits (for example "6,1" with ","), read as a
// decimal number; reading stops at any other character.
double ReadDecimal(std::string_view text, char separator);

double ReadWindowsVersion(SystemInterface& system,
                          const std::string& decimal_char);

}  // namespace hostconfig
