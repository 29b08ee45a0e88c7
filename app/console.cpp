#include "app/console.h"

#include <algorithm>
#include <cstring>

#include "app/failure.h"
#include "app/run_state.h"

namespace hostconfig {

namespace {

bool Usable(StdoutKind kind) {
  return kind == StdoutKind::kCharacterDevice || kind == StdoutKind::kFile ||
         kind == StdoutKind::kPipe;
}

[[noreturn]] void RaiseInOutError(uint32_t code) {
  throw Failure("EInOutError", InOutErrorMessage(code),
                CodeLocation(reinterpret_cast<const void*>(&WriteConsoleLine)));
}

// Writes out the buffer; it is empty afterwards, whatever the outcome.
uint32_t Flush(SystemInterface& system, ConsoleOutput& console) {
  if (console.buffer.empty()) return 0;
  uint32_t error = system.WriteStandardOutput(console.buffer);
  console.buffer.clear();
  return error;
}

}  // namespace

std::string InOutErrorMessage(uint32_t code) {
  switch (code) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk full";
    case 106: return "Invalid numeric input";
    default: return "I/O error " + std::to_string(code);
  }
}

void WriteConsoleLine(SystemInterface& system, ConsoleOutput& console,
                      std::string_view text) {
  if (!console.opened) {
    console.kind = system.StandardOutputKind();
    console.opened = true;
  }
  if (!Usable(console.kind)) RaiseInOutError(103);

  std::string line(text);
  line += "\r\n";
  std::string_view rest = line;
  while (!rest.empty()) {
    size_t room = ConsoleOutput::kBufferSize - console.buffer.size();
    size_t take = rest.size() < room ? rest.size() : room;
    console.buffer.append(rest.substr(0, take));
    rest.remove_prefix(take);
    if (console.buffer.size() == ConsoleOutput::kBufferSize) {
      if (uint32_t error = Flush(system, console)) RaiseInOutError(error);
    }
  }
  // A console shows each line before the run goes on.
  if (console.kind == StdoutKind::kCharacterDevice) {
    if (uint32_t error = Flush(system, console)) RaiseInOutError(error);
  }
}

void CloseConsole(SystemInterface& system, ConsoleOutput& console) {
  if (console.opened && Usable(console.kind)) Flush(system, console);
}

void SelectMessageTable(Run& run) {
  run.MessageTable = MessageTableForCodePage(run.System.GetOEMCP());
}

void PrintBanner(Run& run) {
  char* buffer = run.TextBuffer.data();
  std::memcpy(buffer, StoredBanner.data(), StoredBanner.size());
  size_t length = std::strlen(buffer);
  for (size_t i = length; i-- > 0;)
    buffer[i] = static_cast<char>(buffer[i] ^ 0xC0);
  const char* end = std::find(run.TextBuffer.begin(), run.TextBuffer.end(), '\0');
  WriteConsoleLine(run.System, run.Console,
                   std::string_view(buffer, static_cast<size_t>(end - buffer)));
}

void PrintMessage(Run& run, MessageId id) {
  WriteConsoleLine(run.System, run.Console, (*run.MessageTable)[id]);
}

void AlertMessage(Run& run, MessageId id) {
  std::string caption =
      AlertCaption(run.System.GetModuleFileName(), run.System.AnsiLeadBytes());
  run.System.ShowMessageBox(caption, std::string((*run.MessageTable)[id]));
}

std::string FileNameOf(std::string_view path, const LeadBytes& lead) {
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (lead[c] && i + 1 < path.size()) {
      ++i;  // a double-byte character: its second byte is no separator
    } else if (c == '\\') {
      start = i + 1;
    }
  }
  return std::string(path.substr(start));
}

std::string AlertCaption(std::string_view module_path, const LeadBytes& lead) {
  std::string name = FileNameOf(module_path, lead);
  size_t dot = name.find('.');
  if (dot != std::string::npos) name.resize(dot);
  // Lower-case every character after the first, whole double-byte
  // characters left alone.
  size_t i = 0;
  bool first = true;
  while (i < name.size()) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    size_t width = (lead[c] && i + 1 < name.size()) ? 2 : 1;
    if (!first && width == 1 && c >= 'A' && c <= 'Z')
      name[i] = static_cast<char>(c + 32);
    first = false;
    i += width;
  }
  return name;
}

}  // namespace hostconfig
