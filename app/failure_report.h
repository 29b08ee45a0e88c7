// The report the run writes when it ends through a failure.
#pragma once

#include <cstdint>
#include <string>

namespace hostconfig {

// "Exception KIND in module MODULE at LOCATION." LF MESSAGE, with "." added
// to a non-empty message that does not already end in one. location is
// written as eight uppercase hexadecimal digits.
std::string FormatFailureReport(const std::string& kind,
                                const std::string& module_name,
                                uint32_t location, const std::string& message);

}  // namespace hostconfig
