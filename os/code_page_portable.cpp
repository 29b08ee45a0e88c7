// The code page services of the native checker, without a system to ask:
// the default is GBK, and only ASCII converts from a marked file.
#include "os/code_page.h"

namespace hostconfig {

uint32_t DefaultAnsiCodePage() { return 936; }

std::string WideToCodePage(std::u16string_view text, uint32_t,
                           size_t* unconverted) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    // A surrogate pair is one character.
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() &&
        text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      ++i;
    }
    out += '?';
    ++*unconverted;
  }
  return out;
}

}  // namespace hostconfig
