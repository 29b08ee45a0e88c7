#include "settings/failure.h"

namespace hostconfig {

Failure::Failure(std::string kind, const std::string& message,
                 uint32_t location)
    : std::runtime_error(message), kind_(std::move(kind)), location_(location) {}

uint32_t CodeLocation(const void* address) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address));
}

}  // namespace hostconfig
