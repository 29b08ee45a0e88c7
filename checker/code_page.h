// The text rules hostconfig-check reads a settings file with: the lead
// bytes of a chosen code page, ASCII case folding for keys, and the
// conversion of a file with a byte-order mark.
#pragma once

#include <cstddef>
#include <cstdint>

#include "settings/text_rules.h"

namespace hostconfig {

// True for the code pages the checker knows the lead bytes of.
bool IsKnownCodePage(uint32_t code_page);

// Lead bytes of a code page: 0x81-0xFE for 936, 949 and 950, 0x81-0x9F and
// 0xE0-0xFC for 932, none for the others.
LeadBytes LeadBytesFor(uint32_t code_page);

// Rules for `code_page`: keys compare ignoring the case of ASCII letters;
// characters of a converted file that the code page lacks become "?" (or a
// look-alike), and *unconverted (which must outlive the rules) counts the
// conversions that lost any.
TextRules CheckerTextRules(uint32_t code_page, size_t* unconverted);

}  // namespace hostconfig
