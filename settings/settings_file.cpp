#include "settings/settings_file.h"
#include "app/run_state.h"
namespace hostconfig {
// Placeholder until the settings lookup lands.
std::string SettingsPathFor(std::string_view p, const LeadBytes&) { return std::string(p); }
std::string DecodeSettingsText(SystemInterface&, std::string bytes) { return bytes; }
void ReadSetting(SystemInterface&, const std::string&, std::string_view, std::string* v) { v->clear(); }
bool FindKeyInText(SystemInterface&, std::string_view, std::string_view, std::string*) { return false; }
void CleanSettingValue(std::string&, const LeadBytes&) {}
void TrimControl(std::string&) {}
void ReplaceDoubleByte(std::string&, std::string_view, char, const LeadBytes&) {}
bool IsTrailByte(std::string_view, size_t, const LeadBytes&) { return false; }
std::string ReadCleanSetting(SystemInterface&, const std::string&, std::string_view) { return {}; }
void ReadGlobalDefaults(Run&) {}
}  // namespace hostconfig
