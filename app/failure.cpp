#include "app/failure.h"

#include <cstdio>

namespace hostconfig {

Failure::Failure(std::string kind, const std::string& message,
                 uint32_t location)
    : std::runtime_error(message), kind_(std::move(kind)), location_(location) {}

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

uint32_t CodeLocation(const void* address) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address));
}

}  // namespace hostconfig
