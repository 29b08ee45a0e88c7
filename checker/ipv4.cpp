#include "checker/ipv4.h"

#include "util/ascii.h"

namespace hostconfig {

std::optional<uint32_t> ParseIpv4(std::string_view text) {
  uint32_t address = 0;
  size_t pos = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (pos >= text.size() || text[pos] != '.') return std::nullopt;
      ++pos;
    }
    size_t start = pos;
    uint32_t value = 0;
    while (pos < text.size() && IsAsciiDigit(text[pos]) && pos - start < 3) {
      value = value * 10 + static_cast<uint32_t>(text[pos] - '0');
      ++pos;
    }
    if (pos == start || value > 255) return std::nullopt;
    address = (address << 8) | value;
  }
  if (pos != text.size()) return std::nullopt;
  return address;
}

std::string Ipv4Text(uint32_t address) {
  return std::to_string(address >> 24) + "." +
         std::to_string((address >> 16) & 0xFF) + "." +
         std::to_string((address >> 8) & 0xFF) + "." +
         std::to_string(address & 0xFF);
}

int PrefixLength(uint32_t mask) {
  int bits = 0;
  while (bits < 32 && (mask & (0x80000000u >> bits)) != 0) ++bits;
  return bits;
}

bool IsContiguousMask(uint32_t mask) {
  int bits = PrefixLength(mask);
  uint32_t expected = bits == 0 ? 0 : 0xFFFFFFFFu << (32 - bits);
  return mask == expected;
}

}  // namespace hostconfig
