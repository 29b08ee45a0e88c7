// Which adapter the run configures, and its MAC text.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace hostconfig {

struct Run;
struct UnicastAddress;

// Lists the Ethernet (6) and PPP (23) adapters into run.AdapterNames and
// run.AdapterMacs, and sets run.PrimaryAdapterName and run.PrimaryMac to the
// first listed adapter holding a configured IPv6 unicast address with a
// non-empty friendly name. Two GetAdaptersAddresses calls (family 0, flags
// 0x1E): the size query must answer 111 and the fill call 0, else nothing is
// listed. Reports and raises nothing.
void DiscoverAdapters(Run& run);

// The discovery phase: DiscoverAdapters, then entry 0 as the primary adapter
// when none qualified. False when no adapter was listed.
bool RunDiscoveryPhase(Run& run);

// True for an IPv6 address set by hand, by DHCP or by router advertisement
// (prefix origin 1, 3 or 4; suffix origin 1, 3, 4 or 5).
bool IsConfiguredIpv6(const UnicastAddress& address);

// The first six bytes as twelve uppercase hexadecimal digits.
std::string MacText(const std::array<uint8_t, 8>& physical_address);

}  // namespace hostconfig
