// The failure that ends a run: a facility the run cannot do without (console
// output, opening the settings file, memory) has failed.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace hostconfig {

// Passes out of every phase and ends the run with the failure report and
// exit code 1.
class Failure : public std::runtime_error {
 public:
  // kind names the failure ("EInOutError", "EFOpenError"); location is the
  // code address reported in the failure report.
  Failure(std::string kind, const std::string& message, uint32_t location);
  const std::string& kind() const { return kind_; }
  uint32_t location() const { return location_; }

 private:
  std::string kind_;
  uint32_t location_;
};

// The code location reported for a failure raised at `address`.
uint32_t CodeLocation(const void* address);

}  // namespace hostconfig
