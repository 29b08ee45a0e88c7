// Which adapter the run configures, and its MAC text.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "os/system_interface.h"

namespace hostconfig {

// The Ethernet and PPP adapters in the system's order, and the one the run
// configures. The primary adapter counts as found when its name is not empty.
struct AdapterList {
  std::vector<std::string> AdapterNames;  // friendly names, ANSI code page
  std::vector<std::string> AdapterMacs;   // parallel: MAC texts
  // Parallel: whether the name lost characters that the ANSI code page
  // lacks (no adapter bears the converted name then), and the IPv4
  // interface index (IfIndex; 0 without IPv4).
  std::vector<bool> AdapterNamesLossy;
  std::vector<uint32_t> AdapterIfIndexes;
  std::string PrimaryAdapterName;
  std::string PrimaryMac;
  bool PrimaryNameLossy = false;
  uint32_t PrimaryIfIndex = 0;
};

// Lists the Ethernet (6) and PPP (23) adapters, and makes the first listed
// adapter holding a configured IPv6 unicast address with a non-empty
// friendly name the primary one. Two GetAdaptersAddresses calls (family 0,
// flags 0x1E): the size query must answer 111 and the fill call 0, else
// nothing is listed. Reports and raises nothing.
AdapterList DiscoverAdapters(SystemInterface& system);

// The discovery phase: DiscoverAdapters, then entry 0 as the primary adapter
// when none qualified. No adapter listed leaves the lists empty.
AdapterList RunDiscoveryPhase(SystemInterface& system);

// True for an IPv6 address set by hand, by DHCP or by router advertisement
// (prefix origin 1, 3 or 4; suffix origin 1, 3, 4 or 5).
bool IsConfiguredIpv6(const UnicastAddress& address);

// The first six bytes as twelve uppercase hexadecimal digits.
std::string MacText(const std::array<uint8_t, 8>& physical_address);

}  // namespace hostconfig
