#include "system/run_log.h"

#include <algorithm>

#include "util/ascii.h"
#include "util/double_byte.h"

namespace hostconfig {

namespace {

constexpr uint32_t kErrorSharingViolation = 32;
constexpr uint32_t kErrorNotEnoughMemory = 8;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The executable's folder with its final "\", or empty when the path has
// none. A "\" that is the second byte of a double-byte character does not
// count.
std::string ModuleFolder(SystemInterface& system) {
  const std::string module = system.GetModuleFileName();
  const LeadBytes lead = system.AnsiLeadBytes();
  size_t end = 0;
  for (size_t i = 0; i < module.size(); i += CharWidth(module, i, lead))
    if (module[i] == '\\') end = i + 1;
  return module.substr(0, end);
}

// The pauses between tries differ from PC to PC: they are drawn from a seed
// of the tick count and the line, which holds the PC's MAC address, so that
// PCs started in the same millisecond still draw different pauses.
uint32_t PauseSeed(uint32_t tick, std::string_view text) {
  uint32_t seed = tick ^ 2166136261u;  // FNV-1a over the line
  for (char c : text) seed = (seed ^ static_cast<unsigned char>(c)) * 16777619u;
  return seed == 0 ? 1 : seed;
}

// The next pause, 50 to 250 ms, from a xorshift32 state.
uint32_t NextPause(uint32_t* state) {
  *state ^= *state << 13;
  *state ^= *state >> 17;
  *state ^= *state << 5;
  return kLogPauseMinMilliseconds +
         *state % (kLogPauseMaxMilliseconds - kLogPauseMinMilliseconds + 1);
}

// Opens the log for appending, retrying while it is busy, within the bound.
uint32_t OpenLogWaiting(SystemInterface& system, const std::string& path,
                        std::string_view line_text, Handle* file) {
  const uint32_t start = system.GetTickCount();
  uint32_t state = PauseSeed(start, line_text);
  for (;;) {
    uint32_t error = system.OpenFileForAppend(path, file);
    if (error != kErrorSharingViolation) return error;
    // Unsigned difference: right also when the tick count wraps.
    const uint32_t waited = system.GetTickCount() - start;
    if (waited >= kLogBusyBoundMilliseconds) return error;
    system.Sleep(std::min(NextPause(&state), kLogBusyBoundMilliseconds - waited));
  }
}

}  // namespace

bool IsAbsoluteWindowsPath(std::string_view path) {
  if (!path.empty() && IsSeparator(path[0])) return true;
  return path.size() >= 2 && IsAsciiAlnum(path[0]) && !IsAsciiDigit(path[0]) &&
         path[1] == ':';
}

std::string ResolveLogPath(SystemInterface& system, std::string_view value) {
  std::string path = system.ExpandEnvironmentStrings(std::string(value));
  if (IsAbsoluteWindowsPath(path)) return path;
  return ModuleFolder(system) + path;
}

uint32_t AppendRunLog(SystemInterface& system, const std::string& path,
                      const RunLogLine& line) {
  try {
    // Both texts are made before the file is opened, so that nothing can
    // fail between the open and the close.
    const std::string text = FormatRunLogLine(line);
    const std::string with_header = std::string(kRunLogHeader) + "\r\n" + text;
    Handle file = 0;
    uint32_t error = OpenLogWaiting(system, path, text, &file);
    if (error != 0) return error;
    // A size that cannot be read gets no header: a header in the middle of
    // the log would be worse than none at its top.
    uint64_t size = 1;
    if (!system.GetFileSize(file, &size)) size = 1;
    error = system.WriteFileFlushed(file, size == 0 ? with_header : text);
    system.CloseHandle(file);
    return error;
  } catch (...) {
    // Memory for the texts: the line is lost, the run goes on unchanged.
    return kErrorNotEnoughMemory;
  }
}

}  // namespace hostconfig
