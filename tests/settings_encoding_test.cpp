// How the bytes of a settings file become text: files without a mark that
// are UTF-8, files in the ANSI code page, and characters the code page lacks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/machine_record.h"
#include "settings/settings_file.h"
#include "settings/settings_text.h"
#include "tests/fake_machine.h"

namespace hostconfig {
namespace {

const std::string kPath = "C:\\kits\\hostconfig.ini";

// A GBK machine that also holds the 1252 letters of the tests: the fake code
// page is their union. Thai is not in it.
void UseTestCodePage(FakeMachine& machine) {
  machine.UseGbkLeadBytes();
  machine.ansi_extra[u'\x673A'] = "\xBB\xFA";  // 机
  machine.ansi_extra[u'\x623F'] = "\xB7\xBF";  // 房
  machine.ansi_extra[u'\x5907'] = "\xB1\xB8";  // 备
  machine.ansi_extra[u'\x6CE8'] = "\xD7\xA2";  // 注
  machine.ansi_extra[u'\xFF0C'] = "\xA3\xAC";  // fullwidth comma
  machine.ansi_extra[u'\xFF1B'] = "\xA3\xBB";  // fullwidth semicolon
  machine.ansi_extra[u'\x00E9'] = "\xE9";      // é
  machine.ansi_extra[u'\x00FC'] = "\xFC";      // ü
}

const char* EncodingName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kCodePage: return "code page";
    case TextEncoding::kUtf8NoMark: return "UTF-8 (no mark)";
    case TextEncoding::kUtf8Mark: return "UTF-8 (mark)";
    case TextEncoding::kUtf16Mark: return "UTF-16LE (mark)";
  }
  return "?";
}

struct DecodeCase {
  const char* name;
  std::string bytes;
  TextEncoding encoding;
  std::string text;
};

void ExpectDecoded(const std::vector<DecodeCase>& cases) {
  FakeMachine machine;
  UseTestCodePage(machine);
  const TextRules rules = SystemTextRules(machine);
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    const DecodedText decoded = DecodeSettingsFile(rules, c.bytes);
    EXPECT_STREQ(EncodingName(c.encoding), EncodingName(decoded.encoding));
    EXPECT_EQ(c.text, decoded.text);
    EXPECT_EQ(c.text, DecodeSettingsFile(rules, c.bytes).text);
  }
}

constexpr TextEncoding kBytes = TextEncoding::kCodePage;
constexpr TextEncoding kUtf8 = TextEncoding::kUtf8NoMark;

TEST(DecodeSettingsFile, UnmarkedUtf8IsConverted) {
  ExpectDecoded({
      {"Chinese name", "0A1B2C3D4E5F=\xE6\x9C\xBA\xE6\x88\xBF-01", kUtf8,
       "0A1B2C3D4E5F=\xBB\xFA\xB7\xBF-01"},
      {"Latin name", "0A1B2C3D4E5F=caf\xC3\xA9-01\r\n", kUtf8,
       "0A1B2C3D4E5F=caf\xE9-01\r\n"},
      {"fullwidth comma and semicolon",
       "A=\xE6\x9C\xBA\xEF\xBC\x8C" "1\xEF\xBC\x9B\xE5\xA4\x87\xE6\xB3\xA8",
       kUtf8, "A=\xBB\xFA\xA3\xAC" "1\xA3\xBB\xB1\xB8\xD7\xA2"},
      {"first non-ASCII byte on a later line",
       "Mask=255.255.255.0\r\nA=M\xC3\xBCller", kUtf8,
       "Mask=255.255.255.0\r\nA=M\xFCller"},
      {"character the code page lacks", "A=\xE0\xB8\x81", kUtf8, "A=?"},
      {"four-byte character", "A=\xF0\x9F\x98\x80", kUtf8, "A=??"},
      {"bytes after a zero byte need not be UTF-8",
       std::string("A=caf\xC3\xA9\0\xFF\xFE", 10), kUtf8,
       std::string("A=caf\xE9\0??", 9)},
  });
}

TEST(DecodeSettingsFile, CodePageFilesStayByteForByte) {
  // Real names in GBK, Big5 and 1252: their second bytes (or the bytes after
  // a 1252 letter) break the sequences their first bytes start in UTF-8.
  const std::vector<std::string> names = {
      // GBK: 机房-01 实验室-12 计算机教室 张伟 王芳-PC 北京-办公室 教学楼三层
      // 研发部-07 财务室 图书馆-A2
      "\xBB\xFA\xB7\xBF-01", "\xCA\xB5\xD1\xE9\xCA\xD2-12",
      "\xBC\xC6\xCB\xE3\xBB\xFA\xBD\xCC\xCA\xD2", "\xD5\xC5\xCE\xB0",
      "\xCD\xF5\xB7\xBC-PC", "\xB1\xB1\xBE\xA9-\xB0\xEC\xB9\xAB\xCA\xD2",
      "\xBD\xCC\xD1\xA7\xC2\xA5\xC8\xFD\xB2\xE3", "\xD1\xD0\xB7\xA2\xB2\xBF-07",
      "\xB2\xC6\xCE\xF1\xCA\xD2", "\xCD\xBC\xCA\xE9\xB9\xDD-A2",
      // Big5: 電腦教室-01 實驗室 陳大文 臺北-辦公室 資訊中心 圖書館-B3 會議室-2
      "\xB9q\xB8\xA3\xB1\xD0\xAB\xC7-01", "\xB9\xEA\xC5\xE7\xAB\xC7",
      "\xB3\xAF\xA4j\xA4\xE5", "\xBBO\xA5_-\xBF\xEC\xA4\xBD\xAB\xC7",
      "\xB8\xEA\xB0T\xA4\xA4\xA4\xDF", "\xB9\xCF\xAE\xD1\xC0]-B3",
      "\xB7|\xC4\xB3\xAB\xC7-2",
      // 1252: café-01 Müller-PC Señor Ærøskøbing François Zoë-07 Øre naïve-03
      "caf\xE9-01", "M\xFCller-PC", "Se\xF1or", "\xC6r\xF8sk\xF8" "bing",
      "Fran\xE7ois", "Zo\xEB-07", "\xD8re", "na\xEFve-03",
  };
  std::vector<DecodeCase> cases;
  for (const std::string& name : names) {
    const std::string file = "Mask=255.255.255.0\r\n0A1B2C3D4E5F=" + name +
                             ",192.0.2.10 ; " + name + "\r\n";
    cases.push_back({name.c_str(), file, kBytes, file});
  }
  ExpectDecoded(cases);
}

TEST(DecodeSettingsFile, TextThatIsNotUtf8IsReadAsBytes) {
  ExpectDecoded({
      {"ASCII only", "Mask=255.255.255.0\r\n", kBytes, "Mask=255.255.255.0\r\n"},
      {"invalid: lead byte before ASCII", "A=caf\xC3(", kBytes, "A=caf\xC3("},
      {"invalid: stray continuation byte", "A=\x80x", kBytes, "A=\x80x"},
      {"invalid: byte never in UTF-8", "A=\xE6\x9C\xBA\xFF", kBytes,
       "A=\xE6\x9C\xBA\xFF"},
      {"truncated at the end", "A=\xE6\x9C\xBA\xE6\x88", kBytes,
       "A=\xE6\x9C\xBA\xE6\x88"},
      {"truncated before a line end", "A=\xE6\x9C\r\nB=1", kBytes,
       "A=\xE6\x9C\r\nB=1"},
      {"overlong two bytes", "A=\xC0\xAF", kBytes, "A=\xC0\xAF"},
      {"overlong three bytes", "A=\xE0\x80\xAF", kBytes, "A=\xE0\x80\xAF"},
      {"overlong four bytes", "A=\xF0\x80\x80\xAF", kBytes, "A=\xF0\x80\x80\xAF"},
      {"surrogate", "A=\xED\xA0\x80", kBytes, "A=\xED\xA0\x80"},
      {"above U+10FFFF", "A=\xF4\x90\x80\x80", kBytes, "A=\xF4\x90\x80\x80"},
      {"zero byte before the first non-ASCII byte",
       std::string("A=1\r\n\0B=caf\xC3\xA9", 14), kBytes,
       std::string("A=1\r\n\0B=caf\xC3\xA9", 14)},
      {"invalid UTF-8 before a zero byte",
       std::string("A=\xC3(\0\xC3\xA9", 7), kBytes,
       std::string("A=\xC3(\0\xC3\xA9", 7)},
  });
}

TEST(DecodeSettingsFile, MarksTellTheEncoding) {
  ExpectDecoded({
      {"UTF-8 mark", "\xEF\xBB\xBF" "A=caf\xC3\xA9", TextEncoding::kUtf8Mark,
       "A=caf\xE9"},
      {"UTF-16LE mark", std::string("\xFF\xFE" "A\0=\0\xE9\0", 8),
       TextEncoding::kUtf16Mark, "A=\xE9"},
  });
}

TEST(DecodeSettingsFile, LossyCharactersAreLocated) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string text;
    std::vector<LossyChar> lossy;
  } cases[] = {
      {"nothing lost", "A=\xE6\x9C\xBA", "A=\xBB\xFA", {}},
      {"default character after a double-byte one",
       "A=\xE6\x9C\xBA\xE0\xB8\x81-1", "A=\xBB\xFA?-1", {{4, 1, 0x0E01}}},
      {"look-alike", "A=\xC3\xA1" "b", "A=ab", {{2, 1, 0x00E1}}},
      {"surrogate pair as one character", "A=\xF0\x9F\x98\x80!", "A=?" "?!",
       {{2, 2, 0x1F600}}},
      {"lone surrogate in UTF-16",
       std::string("\xFF\xFE" "A\0=\0\x00\xD8x\0", 10), "A=?x",
       {{2, 1, 0xD800}}},
  };
  FakeMachine machine;
  UseTestCodePage(machine);
  machine.ansi_best_fit[u'\x00E1'] = "a";
  const TextRules rules = SystemTextRules(machine);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DecodedText decoded = DecodeSettingsFile(rules, c.bytes);
    EXPECT_EQ(c.text, decoded.text);
    ASSERT_EQ(c.lossy.size(), decoded.lossy.size());
    for (size_t i = 0; i < c.lossy.size(); ++i) {
      EXPECT_EQ(c.lossy[i].offset, decoded.lossy[i].offset) << i;
      EXPECT_EQ(c.lossy[i].length, decoded.lossy[i].length) << i;
      EXPECT_EQ(c.lossy[i].code, decoded.lossy[i].code) << i;
    }
  }
}

// The record phase over UTF-8 files without a mark: fields split and
// comments start after the conversion, and only a lost character inside
// the name marks the name as lossy.
TEST(ReadMachineRecord, UnmarkedUtf8EntriesAndLossyNames) {
  struct Case {
    const char* name;
    std::string file;
    std::string computer_name;
    std::string address;
    bool name_lossy;
  } cases[] = {
      {"Chinese name", "0A1B2C3D4E5F=\xE6\x9C\xBA\xE6\x88\xBF-01,192.0.2.10",
       "\xBB\xFA\xB7\xBF-01", "192.0.2.10", false},
      {"Latin name, upper-cased in ASCII only",
       "0A1B2C3D4E5F= caf\xC3\xA9-01 ,192.0.2.10", "CAF\xE9-01", "192.0.2.10",
       false},
      {"fullwidth comma splits, fullwidth semicolon starts a comment",
       "0A1B2C3D4E5F=\xE6\x9C\xBA\xE6\x88\xBF\xEF\xBC\x8C" "192.0.2.10"
       "\xEF\xBC\x9B" "192.0.2.99",
       "\xBB\xFA\xB7\xBF", "192.0.2.10", false},
      {"Thai name", "0A1B2C3D4E5F=\xE0\xB8\x81\xE0\xB8\x82-01,192.0.2.10",
       "?" "?-01", "192.0.2.10", true},
      {"look-alike in the name", "0A1B2C3D4E5F=\xC3\xA1-01", "A-01", "", true},
      {"lost character last in the name, before spaces",
       "0A1B2C3D4E5F=\tPC-\xE0\xB8\x81  ,192.0.2.10", "PC-?", "192.0.2.10",
       true},
      {"lost character in the address field only",
       "0A1B2C3D4E5F=PC-01,\xE0\xB8\x81", "PC-01", "?", false},
      {"lost character in the comment only",
       "0A1B2C3D4E5F=PC-01 ; \xE0\xB8\x81\xE0\xB8\x82", "PC-01", "", false},
      {"lost character in another entry",
       "0A1B2C3D4E60=\xE0\xB8\x81\r\n0A1B2C3D4E5F=PC-01", "PC-01", "", false},
      {"lost character in the key's own line before the value",
       "\xE0\xB8\x81=1\r\n0A1B2C3D4E5F=PC-01", "PC-01", "", false},
      {"dashed entry after an empty plain one",
       "0A1B2C3D4E5F=;\xE0\xB8\x81\r\n0A-1B-2C-3D-4E-5F=\xE0\xB8\x82", "?", "",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine machine;
    UseTestCodePage(machine);
    machine.ansi_best_fit[u'\x00E1'] = "a";
    machine.files[kPath] = c.file;
    bool name_lossy = !c.name_lossy;
    const MachineRecordFields record = ReadMachineRecord(
        machine, kPath, "0A1B2C3D4E5F", GlobalDefaults{}, &name_lossy);
    EXPECT_EQ(c.computer_name, record.ComputerName);
    EXPECT_EQ(c.address, record.IpAddress);
    EXPECT_EQ(c.name_lossy, name_lossy);
  }
}

}  // namespace
}  // namespace hostconfig
