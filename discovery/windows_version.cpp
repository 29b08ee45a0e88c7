#include "discovery/windows_version.h"

#include <charconv>
#include <cstdint>

#include "os/system_interface.h"
#include "system/registry_path.h"

namespace hostconfig {

namespace {

constexpr char kCurrentVersionKey[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

std::string VersionText(uint32_t major, uint32_t minor) {
  return std::to_string(major) + "." + std::to_string(minor);
}

}  // namespace

std::string DetectDecimalChar(SystemInterface& system) {
  std::string separator = system.LocaleDecimalSeparator();
  return separator.empty() ? "." : separator.substr(0, 1);
}

std::string ReadRegistryVersionText(SystemInterface& system) {
  // Both values are read, the minor one also when the major one gave 0.
  int32_t major =
      ReadRegistryInteger(system, kCurrentVersionKey, "CurrentMajorVersionNumber");
  int32_t minor =
      ReadRegistryInteger(system, kCurrentVersionKey, "CurrentMinorVersionNumber");
  if (major == 0) return {};
  return VersionText(static_cast<uint32_t>(major), static_cast<uint32_t>(minor));
}

std::string ReadVersionText(SystemInterface& system) {
  std::string text = ReadRegistryVersionText(system);
  if (!text.empty()) return text;
  uint32_t major = 0;
  uint32_t minor = 0;
  if (system.GetVersionEx(&major, &minor)) return VersionText(major, minor);
  return "0.0";
}

double ReadWindowsVersion(SystemInterface& system,
                          const std::string& /*decimal_char*/) {
  // from_chars reads "." whatever the process's locale, so the text needs
  // no separator of the locale's own to give 6.1 for "6.1" (and for "6.10").
  std::string text = ReadVersionText(system);
  double value = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace hostconfig
