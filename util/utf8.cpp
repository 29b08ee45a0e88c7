#include "util/utf8.h"

#include <cstdint>

namespace hostconfig {

namespace {

struct LeadForm {
  size_t length;       // bytes of the whole sequence
  unsigned char low;   // range of the second byte
  unsigned char high;
};

// The length of the sequence a lead byte starts and the range its second
// byte must lie in (which excludes overlong forms, surrogates and values
// above U+10FFFF). Length 0 for a byte that starts no sequence.
LeadForm FormOf(unsigned char lead) {
  if (lead < 0x80) return {1, 0, 0};
  if (lead < 0xC2) return {0, 0, 0};
  if (lead < 0xE0) return {2, 0x80, 0xBF};
  if (lead == 0xE0) return {3, 0xA0, 0xBF};
  if (lead == 0xED) return {3, 0x80, 0x9F};
  if (lead < 0xF0) return {3, 0x80, 0xBF};
  if (lead == 0xF0) return {4, 0x90, 0xBF};
  if (lead < 0xF4) return {4, 0x80, 0xBF};
  if (lead == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

void Append(std::u16string* out, char32_t code) {
  if (out == nullptr) return;
  if (code >= 0x10000) {
    code -= 0x10000;
    *out += static_cast<char16_t>(0xD800 + (code >> 10));
    *out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
  } else {
    *out += static_cast<char16_t>(code);
  }
}

}  // namespace

bool DecodeUtf8(std::string_view text, std::u16string* out) {
  bool well_formed = true;
  if (out != nullptr) out->reserve(out->size() + text.size());
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const LeadForm form = FormOf(lead);
    if (form.length == 1) {
      Append(out, lead);
      ++i;
      continue;
    }
    // The bytes that still fit the sequence; a byte that does not is left
    // for the next character.
    size_t taken = form.length == 0 ? 0 : 1;
    char32_t code = lead & (0x7F >> form.length);
    while (taken > 0 && taken < form.length && i + taken < text.size()) {
      const unsigned char next = static_cast<unsigned char>(text[i + taken]);
      const bool fits = taken == 1 ? next >= form.low && next <= form.high
                                   : (next & 0xC0) == 0x80;
      if (!fits) break;
      code = (code << 6) | (next & 0x3F);
      ++taken;
    }
    if (form.length != 0 && taken == form.length) {
      Append(out, code);
      i += taken;
    } else {
      Append(out, 0xFFFD);
      well_formed = false;
      i += taken == 0 ? 1 : taken;
    }
  }
  return well_formed;
}

}  // namespace hostconfig
