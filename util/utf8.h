// UTF-8 to UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace hostconfig {

// Decodes UTF-8 into *out (when out is not null). Each ill-formed sequence
// (a stray continuation byte, a cut or overlong form, a surrogate, a value
// above U+10FFFF) becomes one U+FFFD per maximal subpart, as the system's
// MultiByteToWideChar does. Returns true when the whole text was well-formed.
bool DecodeUtf8(std::string_view text, std::u16string* out);

// True when the text is well-formed UTF-8 throughout.
inline bool IsWellFormedUtf8(std::string_view text) {
  return DecodeUtf8(text, nullptr);
}

}  // namespace hostconfig
