#include "discovery/adapters.h"
#include "app/run_state.h"
namespace hostconfig {
// Placeholder until discovery lands.
void DiscoverAdapters(Run&) {}
bool RunDiscoveryPhase(Run& run) { DiscoverAdapters(run); return !run.AdapterNames.empty(); }
std::string MacText(const std::array<uint8_t, 8>&) { return {}; }
}  // namespace hostconfig
