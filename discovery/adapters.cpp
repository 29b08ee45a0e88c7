#include "discovery/adapters.h"

#include <algorithm>
#include <vector>

namespace hostconfig {

namespace {

constexpr uint32_t kAnyFamily = 0;
// Skip anycast, multicast and DNS servers; include prefixes.
constexpr uint32_t kAdapterFlags = 0x1E;
constexpr uint32_t kErrorBufferOverflow = 111;
constexpr uint32_t kNoError = 0;
constexpr uint32_t kIfTypeEthernet = 6;
constexpr uint32_t kIfTypePpp = 23;
constexpr uint16_t kFamilyIpv6 = 23;

}  // namespace

bool IsConfiguredIpv6(const UnicastAddress& address) {
  if (address.family != kFamilyIpv6) return false;
  const int prefix = address.prefix_origin;
  const int suffix = address.suffix_origin;
  const bool prefix_ok = prefix == 1 || prefix == 3 || prefix == 4;
  const bool suffix_ok = suffix == 1 || suffix == 3 || suffix == 4 || suffix == 5;
  return prefix_ok && suffix_ok;
}

std::string MacText(const std::array<uint8_t, 8>& physical_address) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (size_t i = 0; i < 6; ++i) {
    text += kDigits[physical_address[i] >> 4];
    text += kDigits[physical_address[i] & 0x0F];
  }
  return text;
}

AdapterList DiscoverAdapters(SystemInterface& system) {
  AdapterList list;
  uint32_t size = 0;
  if (system.GetAdaptersAddresses(kAnyFamily, kAdapterFlags, &size,
                                  nullptr) != kErrorBufferOverflow)
    return list;
  // No retry: adapters that appeared between the two calls make the second
  // one fail, and the run then sees no adapter at all.
  std::vector<AdapterEntry> adapters;
  if (system.GetAdaptersAddresses(kAnyFamily, kAdapterFlags, &size,
                                  &adapters) != kNoError)
    return list;

  for (const AdapterEntry& adapter : adapters) {
    if (adapter.if_type != kIfTypeEthernet && adapter.if_type != kIfTypePpp)
      continue;
    bool lossy = false;
    std::string name = system.WideCharToMultiByte(adapter.friendly_name, &lossy);
    std::string mac = MacText(adapter.physical_address);
    list.AdapterNames.push_back(name);
    list.AdapterMacs.push_back(mac);
    list.AdapterNamesLossy.push_back(lossy);
    list.AdapterIfIndexes.push_back(adapter.if_index);
    // The primary adapter counts as found only with a name to give the
    // network shell, so a nameless one leaves later adapters in the running.
    if (!list.PrimaryAdapterName.empty() || name.empty()) continue;
    if (std::any_of(adapter.unicast.begin(), adapter.unicast.end(),
                    IsConfiguredIpv6)) {
      list.PrimaryAdapterName = std::move(name);
      list.PrimaryMac = std::move(mac);
      list.PrimaryNameLossy = lossy;
      list.PrimaryIfIndex = adapter.if_index;
    }
  }
  return list;
}

AdapterList RunDiscoveryPhase(SystemInterface& system) {
  AdapterList list = DiscoverAdapters(system);
  if (!list.AdapterNames.empty() && list.PrimaryAdapterName.empty()) {
    list.PrimaryAdapterName = list.AdapterNames[0];
    list.PrimaryMac = list.AdapterMacs[0];
    list.PrimaryNameLossy = list.AdapterNamesLossy[0];
    list.PrimaryIfIndex = list.AdapterIfIndexes[0];
  }
  return list;
}

}  // namespace hostconfig
