#include "system/command_runner.h"

namespace hostconfig {

namespace {

// Beyond this length the text is not expanded further: a variable whose
// value refers back to itself would otherwise grow it without end.
constexpr size_t kMaxExpandedLength = 32767;

constexpr uint32_t kStartupInfoSize = 68;
// STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES, with null standard handles.
constexpr uint32_t kStartupFlags = 0x101;
constexpr uint32_t kPollMilliseconds = 100;

}  // namespace

void ExpandPercentVariables(SystemInterface& system, std::string* text) {
  std::string& t = *text;
  // Where the previous pass found its first "%". A pass that finds its first
  // "%" there again has met a reference it could not expand, and stops.
  size_t remembered = std::string::npos;
  while (t.size() <= kMaxExpandedLength) {
    size_t p = t.find('%');
    if (p == std::string::npos || p == remembered) return;
    remembered = p;
    t.erase(p, 1);
    size_t q = t.find('%', p);
    if (q == std::string::npos) return;  // a lone "%" just vanishes
    std::string name = t.substr(p, q - p);
    t.erase(p, q - p + 1);
    if (name.empty()) continue;  // "%%" vanishes
    // The full expansion, however long. An undefined name comes back as
    // "%NAME%", whose "%" lands on the remembered position and stops.
    t.insert(p, system.ExpandEnvironmentStrings("%" + name + "%"));
  }
}

bool LaunchProcess(SystemInterface& system, const std::string& command_line,
                   const std::string* directory, bool wait,
                   uint16_t show_window,
                   std::optional<uint32_t>* exit_code) {
  if (exit_code != nullptr) exit_code->reset();
  StartupInfo startup;
  startup.cb = kStartupInfoSize;
  startup.flags = kStartupFlags;
  startup.show_window = show_window;
  ProcessInfo process;
  if (!system.CreateProcess(command_line, /*inherit_handles=*/true, directory,
                            startup, &process))
    return false;
  if (wait) {
    while (system.WaitForSingleObject(process.process, kPollMilliseconds) ==
           kWaitTimeout) {
    }
    uint32_t code = 0;
    if (exit_code != nullptr && system.GetExitCodeProcess(process.process, &code))
      *exit_code = code;
  }
  system.CloseHandle(process.process);
  system.CloseHandle(process.thread);
  return true;
}

}  // namespace hostconfig
