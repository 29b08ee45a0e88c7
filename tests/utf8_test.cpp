#include "util/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace hostconfig {
namespace {

TEST(DecodeUtf8, WellFormedAndIllFormedSequences) {
  struct Case {
    const char* name;
    std::string bytes;
    std::u16string text;
    bool well_formed;
  } cases[] = {
      {"ASCII", "Mask=1", u"Mask=1", true},
      {"two bytes", "caf\xC3\xA9", u"caf\xE9", true},
      {"three bytes", "\xE6\x9C\xBA\xE6\x88\xBF", u"\x673A\x623F", true},
      {"four bytes: a surrogate pair", "\xF0\x9F\x98\x80", u"\xD83D\xDE00", true},
      {"highest code point", "\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF", true},
      {"empty", "", u"", true},
      // One U+FFFD for each maximal part of an ill-formed sequence.
      {"stray continuation byte", "a\xB3" "b", u"a\xFFFD" "b", false},
      {"lone lead byte at the end", "a\xE6", u"a\xFFFD", false},
      {"cut three-byte sequence", "\xE6\x9C" "b", u"\xFFFD" "b", false},
      {"overlong two bytes", "\xC0\x80", u"\xFFFD\xFFFD", false},
      {"overlong three bytes", "\xE0\x80\x80", u"\xFFFD\xFFFD\xFFFD", false},
      {"surrogate", "\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD", false},
      {"above U+10FFFF", "\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD", false},
      {"bytes never used", "\xFE\xFF", u"\xFFFD\xFFFD", false},
      {"GBK bytes", "\xBB\xFA\xB7\xBF", u"\xFFFD\xFFFD\xFFFD\xFFFD", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::u16string text;
    EXPECT_EQ(c.well_formed, DecodeUtf8(c.bytes, &text));
    EXPECT_EQ(c.text, text);
    EXPECT_EQ(c.well_formed, IsWellFormedUtf8(c.bytes));
  }
}

}  // namespace
}  // namespace hostconfig
