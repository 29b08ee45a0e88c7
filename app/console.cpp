#include "app/console.h"

#include <array>
#include <cstring>

#include "settings/failure.h"
#include "util/ascii.h"
#include "util/double_byte.h"

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

const MessageTableTexts* SelectMessageTable(SystemInterface& system) {
  return MessageTableForCodePage(system.GetOEMCP());
}

std::string DecodeBanner() {
  std::array<char, 100> buffer{};
  std::memcpy(buffer.data(), StoredBanner.data(), StoredBanner.size());
  size_t length = std::strlen(buffer.data());
  for (size_t i = length; i-- > 0;)
    buffer[i] = static_cast<char>(buffer[i] ^ 0xC0);
  return std::string(buffer.data());
}

void PrintBanner(Console& console) {
  WriteConsoleLine(console.system, console.output, DecodeBanner());
}

void PrintMessage(Console& console, MessageId id) {
  WriteConsoleLine(console.system, console.output, (*console.MessageTable)[id]);
}

void AlertMessage(Console& console, MessageId id) {
  std::string caption = AlertCaption(console.system.GetModuleFileName(),
                                     console.system.AnsiLeadBytes());
  console.system.ShowMessageBox(caption,
                                std::string((*console.MessageTable)[id]));
}

std::string FileNameOf(std::string_view path, const LeadBytes& lead) {
  // The second byte of a double-byte character is no separator.
  size_t start = 0;
  for (size_t i = 0; i < path.size(); i += CharWidth(path, i, lead))
    if (path[i] == '\\') start = i + 1;
  return std::string(path.substr(start));
}

std::string AlertCaption(std::string_view module_path, const LeadBytes& lead) {
  std::string name = FileNameOf(module_path, lead);
  size_t dot = name.find('.');
  if (dot != std::string::npos) name.resize(dot);
  // Lower-case every character after the first, whole double-byte
  // characters left alone.
  size_t width = 0;
  for (size_t i = 0; i < name.size(); i += width) {
    width = CharWidth(name, i, lead);
    if (i > 0 && width == 1) name[i] = LowerAscii(name[i]);
  }
  return name;
}

}  // namespace hostconfig
