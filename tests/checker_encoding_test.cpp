// hostconfig-check on files in each encoding the tool reads: the line that
// says how the file was read, converted names, and names that the code page
// cannot hold.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "checker/checker.h"
#include "tests/checker_program.h"
#include "tests/test_files.h"

namespace hostconfig {
namespace {

// Thai ก and ข in UTF-8: no ANSI code page of the checker's tests holds them.
const std::string kThai = "\xE0\xB8\x81\xE0\xB8\x82";
// 机房 in UTF-8 and in GBK.
const std::string kJifangUtf8 = "\xE6\x9C\xBA\xE6\x88\xBF";
const std::string kJifangGbk = "\xBB\xFA\xB7\xBF";

class CheckerEncoding : public CheckerProgramTest {
 protected:
  // Checks `bytes` as a file with the given extra arguments; the output.
  std::string Check(const std::string& bytes, std::vector<std::string> args,
                    int* exit_code) {
    const std::string path = Write("lab.ini", bytes);
    args.insert(args.begin(), path);
    *exit_code = Run(args);
    EXPECT_EQ("", err_.str());
    // File names in findings are shown as "lab.ini".
    std::string text = out_.str();
    for (size_t at = text.find(path); at != std::string::npos;
         at = text.find(path))
      text.replace(at, path.size(), "lab.ini");
    return text;
  }
  std::filesystem::path dir_;
};

TEST_F(CheckerEncoding, FirstLineSaysHowTheFileWasRead) {
  const std::string entry =
      "0A1B2C3D4E5F=LAB-01,192.0.2.10,255.255.255.0,192.0.2.1\r\n";
  struct Case {
    const char* name;
    std::string file;
    std::vector<std::string> args;
    std::string first_line;
  } cases[] = {
      {"ASCII", entry, {}, "read as code page 936"},
      {"GBK", "0A1B2C3D4E5F=" + kJifangGbk + "\r\n", {}, "read as code page 936"},
      {"code page chosen", entry, {"--code-page", "1252"},
       "read as code page 1252"},
      {"UTF-8 without a mark", "; " + kJifangUtf8 + "\r\n" + entry, {},
       "read as UTF-8 (no mark)"},
      {"UTF-8 with its mark", "\xEF\xBB\xBF" + entry, {}, "read as UTF-8 (mark)"},
      {"UTF-16LE with its mark", Utf16LeFile(u"0A1B2C3D4E5F=LAB-01\r\n"), {},
       "read as UTF-16LE (mark)"},
      {"preview of a UTF-8 file without a mark",
       "; " + kJifangUtf8 + "\r\n" + entry, {"--mac", "0A1B2C3D4E5F"},
       "read as UTF-8 (no mark)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int exit_code = -1;
    const std::string out = Check(c.file, c.args, &exit_code);
    EXPECT_EQ(0, exit_code) << out;
    EXPECT_EQ(c.first_line, out.substr(0, out.find('\n'))) << out;
  }
}

TEST_F(CheckerEncoding, UnmarkedUtf8NamesAreConverted) {
  int exit_code = -1;
  const std::string out =
      Check("0A1B2C3D4E5F=" + kJifangUtf8 + "-01,192.0.2.10,255.255.255.0,"
            "192.0.2.1\r\n",
            {"--mac", "0A1B2C3D4E5F", "--name", "OLD"}, &exit_code);
  EXPECT_EQ(0, exit_code);
  EXPECT_NE(std::string::npos,
            out.find("  ComputerName:    " + kJifangGbk + "-01\n"))
      << out;
  EXPECT_NE(std::string::npos,
            out.find("Rename: yes, from OLD to " + kJifangGbk + "-01\n"))
      << out;
}

TEST_F(CheckerEncoding, NameTheCodePageLacksIsAnError) {
  struct Case {
    const char* name;
    std::string file;
    std::vector<std::string> args;
    std::string output;
  } cases[] = {
      {"Thai name in UTF-8 without a mark",
       "0A1B2C3D4E5F=" + kThai + "-01\r\n", {},
       "read as UTF-8 (no mark)\n"
       "lab.ini:1: warning: characters of this file that code page 936 lacks "
       "became \"?\" or a look-alike, as the run reads them\n"
       "lab.ini:1: error: computer name \"?" "?-01\" holds characters that code "
       "page 936 lacks (U+0E01 U+0E02): the run leaves the name unchanged and "
       "does not restart\n"
       "1 error, 1 warning\n"},
      {"Chinese name on a 1252 system, UTF-16LE",
       Utf16LeFile(u"0A1B2C3D4E5F=\x673A\x623F\x673A"), {"--code-page", "1252"},
       "read as UTF-16LE (mark)\n"
       "lab.ini:1: warning: characters of this file that code page 1252 lacks "
       "became \"?\" or a look-alike, as the run reads them\n"
       "lab.ini:1: error: computer name \"???\" holds characters that code "
       "page 1252 lacks (U+673A U+623F): the run leaves the name unchanged "
       "and does not restart\n"
       "1 error, 1 warning\n"},
      {"lost characters in the comment only",
       "0A1B2C3D4E5F=LAB-01 ; " + kThai + "\r\n", {},
       "read as UTF-8 (no mark)\n"
       "lab.ini:1: warning: characters of this file that code page 936 lacks "
       "became \"?\" or a look-alike, as the run reads them\n"
       "0 errors, 1 warning\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int exit_code = -1;
    EXPECT_EQ(c.output, Check(c.file, c.args, &exit_code));
    EXPECT_EQ(c.output.find("error:") == std::string::npos ? 0 : 1, exit_code);
  }
}

TEST_F(CheckerEncoding, PreviewOfANameTheCodePageLacks) {
  int exit_code = -1;
  const std::string out = Check(
      "REBOOT=1\r\n0A1B2C3D4E5F=" + kThai + ",192.0.2.10,255.255.255.0,"
      "192.0.2.1\r\n",
      {"--mac", "0A1B2C3D4E5F", "--name", "OLD"}, &exit_code);
  EXPECT_EQ(0, exit_code);
  EXPECT_NE(std::string::npos,
            out.find("Rename: no, code page 936 lacks U+0E01 U+0E02 of the "
                     "name\nRestart: no (nothing renamed)\n"))
      << out;
  EXPECT_NE(std::string::npos, out.find("set address")) << out;
}

}  // namespace
}  // namespace hostconfig
