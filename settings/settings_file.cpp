#include "settings/settings_file.h"

#include "settings/failure.h"
#include "settings/settings_text.h"
#include "util/double_byte.h"

namespace hostconfig {

std::string SettingsPathFor(std::string_view module_path,
                            const LeadBytes& lead) {
  size_t last = std::string_view::npos;
  for (size_t i = 0; i < module_path.size(); i += CharWidth(module_path, i, lead)) {
    char c = module_path[i];
    if (c == '.' || c == '\\' || c == ':') last = i;
  }
  std::string path(module_path);
  if (last != std::string_view::npos && path[last] == '.') path.erase(last);
  return path + ".ini";
}

std::string SettingsPathOf(SystemInterface& system) {
  return SettingsPathFor(system.GetModuleFileName(), system.AnsiLeadBytes());
}

RawSetting ReadRawSetting(SystemInterface& system, const std::string& path,
                          std::string_view key) {
  RawSetting setting;
  FileProbe probe = system.FindFirstFile(path);
  if (!probe.found || probe.directory) return setting;
  std::string bytes;
  if (!system.ReadWholeFile(path, &bytes)) {
    throw Failure("EFOpenError", "Cannot open file " + path,
                  CodeLocation(reinterpret_cast<const void*>(&ReadSetting)));
  }
  const TextRules rules = SystemTextRules(system);
  const DecodedText decoded = DecodeSettingsFile(rules, std::move(bytes));
  const KeyMatch match = FindKeyInText(rules.keys_equal, decoded.text, key);
  setting.value.assign(match.value);
  if (!decoded.lossy.empty() && !match.value.empty()) {
    const size_t start =
        static_cast<size_t>(match.value.data() - decoded.text.data());
    setting.lossy = LossyCharsIn(decoded.lossy, start, match.value.size());
    for (LossyChar& c : setting.lossy)
      c.offset = c.offset > start ? c.offset - start : 0;
  }
  return setting;
}

void ReadSetting(SystemInterface& system, const std::string& path,
                 std::string_view key, std::string* value) {
  *value = ReadRawSetting(system, path, key).value;
}

std::string ReadCleanSetting(SystemInterface& system, const std::string& path,
                             std::string_view key) {
  std::string value;
  ReadSetting(system, path, key, &value);
  CleanSettingValue(value, system.AnsiLeadBytes());
  return value;
}

GlobalDefaults ReadGlobalDefaults(SystemInterface& system,
                                  const std::string& settings_path) {
  GlobalDefaults defaults;
  defaults.DefaultMask = ReadCleanSetting(system, settings_path, kMaskKey);
  defaults.DefaultGateway = ReadCleanSetting(system, settings_path, kGatewayKey);
  defaults.DefaultDns1 = ReadCleanSetting(system, settings_path, kDns1Key);
  defaults.DefaultDns2 = ReadCleanSetting(system, settings_path, kDns2Key);
  return defaults;
}

bool RestartRequested(std::string_view cleaned) {
  return !cleaned.empty() && cleaned[0] == '1';
}

}  // namespace hostconfig
