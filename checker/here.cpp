#include "checker/here.h"

#include <ostream>

#include "checker/new_entries.h"
#include "checker/preview.h"
#include "discovery/adapters.h"
#include "discovery/windows_version.h"
#include "os/code_page.h"
#include "settings/settings_text.h"
#include "system/address_commands.h"
#include "system/computer_name.h"
#include "util/double_byte.h"

namespace hostconfig {

namespace {

constexpr std::string_view kSettingsName = "hostconfig.ini";

// The folder part of a path, with its last "\", "/" or ":"; empty when it
// has none. A "\" that is the second byte of a double-byte character is
// not one.
std::string FolderOf(std::string_view path, const LeadBytes& lead) {
  size_t end = 0;
  for (size_t i = 0; i < path.size(); i += CharWidth(path, i, lead)) {
    if (path[i] == '\\' || path[i] == '/' || path[i] == ':') end = i + 1;
  }
  return std::string(path.substr(0, end));
}

// The file's bytes, read as the run reads the settings file; false with
// the reason on err.
bool ReadSettingsBytes(SystemInterface& system, const std::string& path,
                       std::string* bytes, std::ostream& err) {
  FileProbe probe = system.FindFirstFile(path);
  const char* problem = !probe.found       ? "no such file"
                        : probe.directory  ? "is a directory"
                        : !system.ReadWholeFile(path, bytes) ? "cannot be read"
                                                             : nullptr;
  if (problem == nullptr) return true;
  err << "hostconfig-check: " << path << ": " << problem << "\n";
  return false;
}

}  // namespace

int RunHere(SystemInterface& system, const std::optional<std::string>& settings,
            std::ostream& out, std::ostream& err) {
  const std::string path =
      settings ? *settings
               : FolderOf(system.GetModuleFileName(), system.AnsiLeadBytes()) +
                     std::string(kSettingsName);
  std::string bytes;
  if (!ReadSettingsBytes(system, path, &bytes, err)) return 2;

  const AdapterList adapters = RunDiscoveryPhase(system);
  if (adapters.AdapterNames.empty()) {
    out << "This PC: no Ethernet or PPP adapter: the run stops before it "
           "reads the settings file, and changes nothing.\n";
    return 1;
  }
  PreviewRequest request;
  request.mac = adapters.PrimaryMac;
  request.windows_version =
      ReadWindowsVersion(system, DetectDecimalChar(system));
  // The adapter and the name comparison exactly as the run has them.
  request.adapter = AdapterInCommands(
      adapters.PrimaryAdapterName, adapters.PrimaryNameLossy,
      adapters.PrimaryIfIndex, request.windows_version);
  request.upper_case = [&system](std::string_view text) {
    return system.CharUpper(text);
  };
  request.windows_version_text = ReadVersionText(system);
  std::string name;
  if (ReadNameInForce(system, &name)) request.current_name = name;
  out << "This PC: MAC " << request.mac << ", adapter \"" << request.adapter
      << "\", computer name "
      << (request.current_name ? name : "(cannot be read)") << ", Windows "
      << request.windows_version_text << "\n"
      << "Settings file: " << path << "\n";

  const TextRules rules = SystemTextRules(system);
  DecodedText decoded = DecodeSettingsFile(rules, std::move(bytes));
  const std::string& text = decoded.text;
  const Conversion conversion{DefaultAnsiCodePage(), std::move(decoded.lossy)};
  const int code = WritePreview(rules, text, conversion, request, out);
  if (code != 0) {
    std::vector<std::string> lines = NewEntryLines(
        rules, text, {{request.mac, name, request.adapter, system.GetLocalTime()}});
    out << (lines.front().starts_with(';')
                ? "No line added at the end of the settings file gives this "
                  "PC an entry:\n"
                : "To give this PC an entry, add this line to the settings "
                  "file:\n")
        << lines.front() << "\n";
  }
  return code;
}

}  // namespace hostconfig
