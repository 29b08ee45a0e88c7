#include "discovery/windows_version.h"

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

double ReadDecimal(std::string_view text, char separator) {
  // All digits as one integer and the power of ten of the fraction: the one
  // division then rounds correctly while the digits fit a double exactly
  // (15 of them), far more than a version number has.
  constexpr uint64_t kDigitLimit = 100000000000000000;  // 10^17
  uint64_t digits = 0;
  uint64_t scale = 1;
  bool in_fraction = false;
  for (char c : text) {
    if (c == separator && !in_fraction) {
      in_fraction = true;
    } else if (c >= '0' && c <= '9') {
      if (digits >= kDigitLimit) {
        if (in_fraction) break;  // digits past a double's precision
        return static_cast<double>(digits);
      }
      digits = digits * 10 + static_cast<uint64_t>(c - '0');
      if (in_fraction) scale *= 10;
    } else {
      break;
    }
  }
  return static_cast<double>(digits) / static_cast<double>(scale);
}

double ReadWindowsVersion(SystemInterface& system,
                          const std::string& decimal_char) {
  // The version text is written with "."; the number is read with the
  // locale's separator, so the "." becomes that separator first.
  char separator = decimal_char.empty() ? '.' : decimal_char[0];
  std::string text = ReadVersionText(system);
  text[text.find('.')] = separator;
  return ReadDecimal(text, separator);
}

}  // namespace hostconfig
