#include <gtest/gtest.h>

#include "app/console.h"
#include "app/failure_report.h"
#include "settings/failure.h"
#include "app/messages.h"
#include "tests/fake_machine.h"

namespace hostconfig {
namespace {

TEST(MessageTable, ChosenByOemCodePageAlone) {
  struct Case {
    uint32_t oem;
    const MessageTableTexts* table;
  } cases[] = {{936, &GbkMessages},     {950, &Big5Messages},
               {437, &EnglishMessages}, {850, &EnglishMessages},
               {932, &EnglishMessages}, {949, &EnglishMessages},
               {65001, &EnglishMessages}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.oem);
    FakeMachine machine;
    machine.oem_code_page = c.oem;
    EXPECT_EQ(c.table, SelectMessageTable(machine));
  }
}

TEST(MessageTable, TextsAreTheStoredBytes) {
  // Byte lengths of every text, and the marks that must be exact: the ASCII
  // full stops and the fullwidth exclamation mark of each code page.
  const size_t english[] = {29, 20, 17, 25, 36};
  const size_t chinese[] = {21, 18, 16, 19, 19};
  for (int id = 0; id < 5; ++id) {
    SCOPED_TRACE(id);
    EXPECT_EQ(english[id], EnglishMessages[id].size());
    EXPECT_EQ(chinese[id], GbkMessages[id].size());
    EXPECT_EQ(chinese[id], Big5Messages[id].size());
  }
  EXPECT_EQ("Detecting ethernet adapter...", EnglishMessages[msgDetecting]);
  EXPECT_EQ("No valid setting!", EnglishMessages[msgNoSetting]);
  EXPECT_EQ("\xD5\xFD\xD4\xDA\xBC\xEC\xB2\xE2\xCD\xF8\xC2\xE7\xCA\xCA\xC5\xE4\xC6\xF7...",
            GbkMessages[msgDetecting]);
  EXPECT_EQ("\xCE\xB4\xD5\xD2\xB5\xBD\xCD\xF8\xC2\xE7\xCA\xCA\xC5\xE4\xC6\xF7\xA3\xA1",
            GbkMessages[msgNoAdapter]);
  EXPECT_EQ("\xA5\xBC\xA7\xE4\xA8\xEC\xBA\xF4\xB5\xB8\xBE\x41\xB0\x74\xBE\xB9\xA1\x49",
            Big5Messages[msgNoAdapter]);
  EXPECT_EQ("\xA5\xBC\xA7\xE4\xA8\xEC\xA6\xB3\xAE\xC4\xB3\x5D\xB8\x6D\xA1\x49",
            Big5Messages[msgNoSetting]);
}

TEST(Banner, DecodesTwentyOneBytesIntoTheTextBuffer) {
  EXPECT_EQ(0, StoredBanner[21]);
  for (uint32_t oem : {437u, 936u, 950u}) {
    SCOPED_TRACE(oem);
    FakeMachine machine;
    machine.oem_code_page = oem;
    machine.stdout_kind = StdoutKind::kCharacterDevice;
    Console console(machine);
    console.MessageTable = SelectMessageTable(machine);
    PrintBanner(console);
    ASSERT_EQ(1u, machine.stdout_writes.size());
    EXPECT_EQ("HostConfig v1.0 (x86)\r\n", machine.stdout_writes[0]);
    EXPECT_EQ("HostConfig v1.0 (x86)", DecodeBanner());
  }
}

// Lines of `length` bytes (before CR LF) written one after another.
std::vector<std::string> WriteLines(FakeMachine& machine,
                                    std::vector<size_t> lengths) {
  ConsoleOutput console;
  for (size_t length : lengths)
    WriteConsoleLine(machine, console, std::string(length, 'x'));
  std::vector<std::string> before_close = machine.stdout_writes;
  CloseConsole(machine, console);
  return before_close;
}

TEST(ConsoleOutput, BufferingFollowsTheKindOfOutput) {
  struct Case {
    const char* name;
    StdoutKind kind;
    std::vector<size_t> lines;
    std::vector<size_t> writes_before_close;
    std::vector<size_t> writes_after_close;
  } cases[] = {
      {"console: a write per line", StdoutKind::kCharacterDevice, {21, 29, 25},
       {23, 31, 27}, {23, 31, 27}},
      {"file: all at the end", StdoutKind::kFile, {21, 29, 25, 36}, {}, {119}},
      {"pipe: all at the end", StdoutKind::kPipe, {21, 29}, {}, {54}},
      {"file: a full buffer is written mid-line", StdoutKind::kFile,
       {100, 100}, {128}, {128, 76}},
      {"console: long line in buffer-sized pieces", StdoutKind::kCharacterDevice,
       {300}, {128, 128, 46}, {128, 128, 46}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine machine;
    machine.stdout_kind = c.kind;
    std::vector<std::string> before = WriteLines(machine, c.lines);
    std::vector<size_t> before_sizes, after_sizes;
    for (const std::string& w : before) before_sizes.push_back(w.size());
    for (const std::string& w : machine.stdout_writes)
      after_sizes.push_back(w.size());
    EXPECT_EQ(c.writes_before_close, before_sizes);
    EXPECT_EQ(c.writes_after_close, after_sizes);
  }
}

TEST(ConsoleOutput, FailedWritesRaiseTheInputOutputFailure) {
  struct Case {
    const char* name;
    StdoutKind kind;
    uint32_t error;
    const char* message;  // nullptr: the line succeeds
  } cases[] = {
      {"no standard output", StdoutKind::kNone, 0, "I/O error 103"},
      {"unknown kind", StdoutKind::kUnknown, 0, "I/O error 103"},
      {"console, not found", StdoutKind::kCharacterDevice, 2, "File not found"},
      {"console, bad name", StdoutKind::kCharacterDevice, 3, "Invalid filename"},
      {"console, too many", StdoutKind::kCharacterDevice, 4, "Too many open files"},
      {"console, denied", StdoutKind::kCharacterDevice, 5, "File access denied"},
      {"console, short write", StdoutKind::kCharacterDevice, 101, "Disk full"},
      {"console, other code", StdoutKind::kCharacterDevice, 112, "I/O error 112"},
      // A file only writes when the buffer fills: a short line cannot fail.
      {"file, line fits the buffer", StdoutKind::kFile, 112, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine machine;
    machine.stdout_kind = c.kind;
    machine.write_error = c.error;
    ConsoleOutput console;
    if (c.message == nullptr) {
      EXPECT_NO_THROW(WriteConsoleLine(machine, console, "short"));
      EXPECT_NO_THROW(CloseConsole(machine, console));
      continue;
    }
    try {
      WriteConsoleLine(machine, console, "short");
      ADD_FAILURE() << "no failure raised";
    } catch (const Failure& failure) {
      EXPECT_EQ("EInOutError", failure.kind());
      EXPECT_EQ(c.message, std::string(failure.what()));
    }
  }
}

TEST(ConsoleOutput, FileFailsWhenTheBufferFills) {
  FakeMachine machine;
  machine.stdout_kind = StdoutKind::kFile;
  machine.write_error = 112;
  ConsoleOutput console;
  WriteConsoleLine(machine, console, std::string(100, 'x'));
  EXPECT_THROW(WriteConsoleLine(machine, console, std::string(100, 'y')),
               Failure);
}

TEST(InOutErrorMessage, KnownCodesAndTheRest) {
  EXPECT_EQ("Read beyond end of file", InOutErrorMessage(100));
  EXPECT_EQ("Invalid numeric input", InOutErrorMessage(106));
  EXPECT_EQ("I/O error 103", InOutErrorMessage(103));
  EXPECT_EQ("I/O error 0", InOutErrorMessage(0));
}

TEST(FailureReport, FormatAndFullStop) {
  struct Case {
    const char* message;
    const char* expected;
  } cases[] = {
      {"I/O error 103",
       "Exception EInOutError in module hostconfig.exe at 0040A1B2.\nI/O error 103."},
      {"Disk full.",
       "Exception EInOutError in module hostconfig.exe at 0040A1B2.\nDisk full."},
      {"", "Exception EInOutError in module hostconfig.exe at 0040A1B2.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(c.expected, FormatFailureReport("EInOutError", "hostconfig.exe",
                                              0x0040A1B2, c.message));
  }
}

TEST(AlertCaption, FileNameCutAtFirstDotAndLowered) {
  LeadBytes none{};
  LeadBytes gbk{};
  for (int b = 0x81; b <= 0xFE; ++b) gbk[b] = true;
  struct Case {
    const char* path;
    const LeadBytes* lead;
    const char* caption;
  } cases[] = {
      {"C:\\kits\\HostConfig.exe", &none, "Hostconfig"},
      {"C:\\kits\\host.config.exe", &none, "host"},
      {"C:\\KITS.D\\HOSTCONFIG", &none, "Hostconfig"},
      {"hostconfig.exe", &none, "hostconfig"},
      // A GBK name whose second byte is "\" (0x5C) and "A" (0x41): neither
      // ends the directory nor is lowered.
      {"C:\\kits\\\xB0\x5CX.exe", &gbk, "\xB0\x5Cx"},
      {"C:\\kits\\A\xB0\x41Z.exe", &gbk, "A\xB0\x41z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(c.caption, AlertCaption(c.path, *c.lead));
  }
}

TEST(AlertMessage, ShowsTheTableTextUnderTheCaption) {
  FakeMachine machine;
  machine.oem_code_page = 936;
  machine.module_path = "D:\\deploy\\HostConfig.exe";
  Console console(machine);
  console.MessageTable = SelectMessageTable(machine);
  AlertMessage(console, msgNoAdapter);
  ASSERT_EQ(1u, machine.message_boxes.size());
  EXPECT_EQ("Hostconfig", machine.message_boxes[0].caption);
  EXPECT_EQ(GbkMessages[msgNoAdapter], machine.message_boxes[0].text);
  EXPECT_TRUE(machine.stdout_writes.empty());
}

}  // namespace
}  // namespace hostconfig
