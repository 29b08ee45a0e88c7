// Which adapter the run configures, and its MAC text.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace hostconfig {

struct Run;

// Lists the Ethernet (6) and PPP (23) adapters into run.AdapterNames and
// run.AdapterMacs, and sets run.PrimaryAdapterName and run.PrimaryMac to the
// first listed adapter holding a configured IPv6 unicast address with a
// non-empty friendly name. Two GetAdaptersAddresses calls (family 0, flags
// 0x1E); any other outcome than the expected one leaves the lists empty.
void DiscoverAdapters(Run& run);

// The discovery phase: DiscoverAdapters, then entry 0 as the primary adapter
// when none qualified. False when no adapter was listed.
bool RunDiscoveryPhase(Run& run);

// The first six bytes as twelve uppercase hexadecimal digits.
std::string MacText(const std::array<uint8_t, 8>& physical_address);

}  // namespace hostconfig
