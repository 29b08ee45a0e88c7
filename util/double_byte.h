// Walking text of a double-byte ANSI code page (GBK, Big5) byte by byte
// without splitting a character: a lead byte and the byte after it are one
// character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "os/system_interface.h"

namespace hostconfig {

inline bool IsLeadByte(const LeadBytes& lead, char byte) {
  return lead[static_cast<unsigned char>(byte)];
}

// The width of the character that starts at text[pos]: 2 for a lead byte
// with a byte after it, else 1.
inline size_t CharWidth(std::string_view text, size_t pos,
                        const LeadBytes& lead) {
  return IsLeadByte(lead, text[pos]) && pos + 1 < text.size() ? 2 : 1;
}

// True when position `pos` of text holds the second byte of a double-byte
// character: the lead bytes directly in front of it are odd in number. This
// is the answer a walk from the start of the text gives.
bool IsTrailByte(std::string_view text, size_t pos, const LeadBytes& lead);

// Replaces every `from` (a two-byte pattern) by `to`, left to right, never
// starting a match on the second byte of a double-byte character.
void ReplaceDoubleByte(std::string& text, std::string_view from, char to,
                       const LeadBytes& lead);

}  // namespace hostconfig
