#include "checker/code_page.h"

#include "os/code_page.h"
#include "util/ascii.h"

namespace hostconfig {

bool IsKnownCodePage(uint32_t code_page) {
  switch (code_page) {
    case 437: case 850: case 852: case 866: case 874:
    case 932: case 936: case 949: case 950:
    case 1250: case 1251: case 1252: case 1253: case 1254:
    case 1255: case 1256: case 1257: case 1258:
      return true;
    default:
      return false;
  }
}

LeadBytes LeadBytesFor(uint32_t code_page) {
  LeadBytes lead{};
  auto mark = [&lead](int from, int to) {
    for (int b = from; b <= to; ++b) lead[static_cast<size_t>(b)] = true;
  };
  if (code_page == 936 || code_page == 949 || code_page == 950) {
    mark(0x81, 0xFE);
  } else if (code_page == 932) {
    mark(0x81, 0x9F);
    mark(0xE0, 0xFC);
  }
  return lead;
}

TextRules CheckerTextRules(uint32_t code_page, size_t* unconverted) {
  TextRules rules;
  rules.lead = LeadBytesFor(code_page);
  rules.keys_equal = EqualIgnoringAsciiCase;
  rules.from_utf16 = [code_page, unconverted](std::u16string_view text,
                                              bool* lossy) {
    std::string converted = WideToCodePage(text, code_page, lossy);
    if (*lossy) ++*unconverted;
    return converted;
  };
  return rules;
}

}  // namespace hostconfig
