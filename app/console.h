// Console lines, message boxes, and the table choice of a run.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/messages.h"
#include "os/system_interface.h"

namespace hostconfig {

// Standard output as the run uses it: taken into use by the first line, then
// written through a 128-byte buffer. On a character device the buffer is
// written out after every line; on a file or a pipe only when it fills (also
// in the middle of a line) and when the process ends.
struct ConsoleOutput {
  static constexpr size_t kBufferSize = 128;
  bool opened = false;
  StdoutKind kind = StdoutKind::kNone;
  std::string buffer;  // at most kBufferSize bytes waiting
};

// Writes text + CR LF as one console line. Raises the input/output failure
// (Failure, kind "EInOutError") when any write during the line fails, or with
// code 103 when standard output cannot be taken into use.
void WriteConsoleLine(SystemInterface& system, ConsoleOutput& console,
                      std::string_view text);

// Writes out what the buffer still holds; the outcome is not examined. The
// end of the process calls this once.
void CloseConsole(SystemInterface& system, ConsoleOutput& console);

// The message of the input/output failure for a system error code.
std::string InOutErrorMessage(uint32_t code);

// Where a run's messages go: lines to standard output, boxes to the screen,
// texts from the message table the run chose.
struct Console {
  explicit Console(SystemInterface& system) : system(system) {}
  SystemInterface& system;
  const MessageTableTexts* MessageTable = &EnglishMessages;
  ConsoleOutput output;
};

// The message table for the OEM code page.
const MessageTableTexts* SelectMessageTable(SystemInterface& system);

// StoredBanner decoded in a 100-byte buffer: each byte XOR 0xC0, last byte
// first, up to the first zero byte.
std::string DecodeBanner();

// Writes the decoded banner as a console line.
void PrintBanner(Console& console);

// Writes the text of `id` from the console's table as a console line.
void PrintMessage(Console& console, MessageId id);

// Shows the text of `id` in a modal box captioned by AlertCaption.
void AlertMessage(Console& console, MessageId id);

// The file name of a path: the bytes after its last "\" (a "\" that is the
// second byte of a double-byte character does not count).
std::string FileNameOf(std::string_view path, const LeadBytes& lead);

// The box caption for an executable path: the file name without directory,
// cut before its first ".", every character after the first in lower case.
// Lead bytes keep double-byte characters whole.
std::string AlertCaption(std::string_view module_path, const LeadBytes& lead);

}  // namespace hostconfig
