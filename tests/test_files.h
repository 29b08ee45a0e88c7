// Settings files as the tests write them.
#pragma once

#include <string>
#include <string_view>

namespace hostconfig {

// A file as UTF-16LE with its mark; every code unit written little-endian.
inline std::string Utf16LeFile(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

}  // namespace hostconfig
