// The settings file: where it is, the lookup of one key in it, and the
// global keys.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "os/system_interface.h"
#include "settings/settings_text.h"

namespace hostconfig {

// The global keys a run reads.
inline constexpr std::string_view kMaskKey = "Mask";
inline constexpr std::string_view kGatewayKey = "Gateway";
inline constexpr std::string_view kDns1Key = "DNS1";
inline constexpr std::string_view kDns2Key = "DNS2";
inline constexpr std::string_view kRebootKey = "REBOOT";

// The executable's path with its extension replaced by ".ini" (or ".ini"
// appended when its name has none). Lead bytes keep a "\" or "." that is the
// second byte of a double-byte character from counting. Any length works.
std::string SettingsPathFor(std::string_view module_path, const LeadBytes& lead);

// The settings path of the running executable.
std::string SettingsPathOf(SystemInterface& system);

// The raw value of `key` in the settings file at `path`, or empty text: the
// file is read afresh, decoded, and searched by FindKeyInText with the
// system's rules. A missing file or a directory reads as empty. Raises
// Failure "EFOpenError" ("Cannot open file PATH") when the file is present
// but cannot be opened.
void ReadSetting(SystemInterface& system, const std::string& path,
                 std::string_view key, std::string* value);

// The raw value of a key, as ReadSetting reads it, with the characters in
// it that the ANSI code page lacks (their offsets counted from the value's
// start).
struct RawSetting {
  std::string value;
  std::vector<LossyChar> lossy;
};
RawSetting ReadRawSetting(SystemInterface& system, const std::string& path,
                          std::string_view key);

// ReadSetting followed by CleanSettingValue: the cleaned value of a key.
std::string ReadCleanSetting(SystemInterface& system, const std::string& path,
                             std::string_view key);

// The cleaned values of "Mask", "Gateway", "DNS1" and "DNS2".
struct GlobalDefaults {
  std::string DefaultMask;
  std::string DefaultGateway;
  std::string DefaultDns1;
  std::string DefaultDns2;
};

// Reads the four defaults in that order, each a fresh read of the file.
GlobalDefaults ReadGlobalDefaults(SystemInterface& system,
                                  const std::string& settings_path);

// True when the cleaned "REBOOT" value asks for a restart: it begins with "1".
bool RestartRequested(std::string_view cleaned);

}  // namespace hostconfig
