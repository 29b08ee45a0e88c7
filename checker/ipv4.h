// IPv4 address text, as a settings file gives it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hostconfig {

// Four decimal parts of one to three digits, each at most 255, joined by
// ".": nothing before, between or after.
std::optional<uint32_t> ParseIpv4(std::string_view text);

// 192.0.2.1 style.
std::string Ipv4Text(uint32_t address);

// The number of leading one bits.
int PrefixLength(uint32_t mask);

// True when the one bits of the mask all come before its zero bits.
bool IsContiguousMask(uint32_t mask);

}  // namespace hostconfig
