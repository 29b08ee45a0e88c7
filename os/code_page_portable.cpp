// The code page services of the native checker, without a system to ask:
// the default is GBK, and the C library's converter (iconv) stands in for
// the system's. It knows the code pages by the names "CP936", "CP1252", ...
#include <iconv.h>

#include "os/code_page.h"

namespace hostconfig {

namespace {

// One character (one code unit, or a surrogate pair) through the converter;
// false when the code page lacks it.
bool ConvertOne(iconv_t converter, std::u16string_view units, std::string* out) {
  char in[4];
  for (size_t i = 0; i < units.size(); ++i) {
    in[2 * i] = static_cast<char>(units[i] & 0xFF);
    in[2 * i + 1] = static_cast<char>(units[i] >> 8);
  }
  char buffer[16];
  char* in_pos = in;
  size_t in_left = units.size() * 2;
  char* out_pos = buffer;
  size_t out_left = sizeof buffer;
  const bool converted =
      iconv(converter, &in_pos, &in_left, &out_pos, &out_left) !=
          static_cast<size_t>(-1) &&
      in_left == 0;
  iconv(converter, nullptr, nullptr, nullptr, nullptr);  // back to the start
  if (converted) out->append(buffer, static_cast<size_t>(out_pos - buffer));
  return converted;
}

}  // namespace

uint32_t DefaultAnsiCodePage() { return 936; }

std::string WideToCodePage(std::u16string_view text, uint32_t code_page,
                           bool* lossy) {
  *lossy = false;
  const std::string name = "CP" + std::to_string(code_page);
  iconv_t converter = iconv_open(name.c_str(), "UTF-16LE");
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    // A surrogate pair is one character.
    size_t units = 1;
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() &&
        text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      units = 2;
    }
    if (converter == reinterpret_cast<iconv_t>(-1) ||
        !ConvertOne(converter, text.substr(i, units), &out)) {
      out += '?';
      *lossy = true;
    }
    i += units - 1;
  }
  if (converter != reinterpret_cast<iconv_t>(-1)) iconv_close(converter);
  return out;
}

}  // namespace hostconfig
