#include "app/failure_report.h"

#include <cstdio>

namespace hostconfig {

std::string FormatFailureReport(const std::string& kind,
                                const std::string& module_name,
                                uint32_t location, const std::string& message) {
  char address[9];
  std::snprintf(address, sizeof address, "%08X", static_cast<unsigned>(location));
  std::string report = "Exception " + kind + " in module " + module_name +
                       " at " + address + ".\n" + message;
  if (!message.empty() && message.back() != '.') report += '.';
  return report;
}

}  // namespace hostconfig
