#include "discovery/windows_version.h"
#include "os/system_interface.h"
namespace hostconfig {
// Placeholder until the version number lands.
std::string DetectDecimalChar(SystemInterface&) { return "."; }
std::string ReadRegistryVersionText(SystemInterface&) { return {}; }
std::string ReadVersionText(SystemInterface&) { return "0.0"; }
double ReadWindowsVersion(SystemInterface&, const std::string&) { return 0.0; }
}  // namespace hostconfig
