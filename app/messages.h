// The five messages in three languages, the stored banner, and the table
// choice by OEM code page.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace hostconfig {

enum MessageId {
  msgDetecting = 0,
  msgNoAdapter = 1,
  msgNoSetting = 2,
  msgRenaming = 3,
  msgConfiguring = 4,
};

// Five byte strings indexed by MessageId, used exactly as stored.
using MessageTableTexts = std::array<std::string_view, 5>;

extern const MessageTableTexts EnglishMessages;  // ASCII
extern const MessageTableTexts GbkMessages;      // code page 936
extern const MessageTableTexts Big5Messages;     // code page 950

// 936 gives GbkMessages, 950 Big5Messages, anything else EnglishMessages.
const MessageTableTexts* MessageTableForCodePage(uint32_t oem_code_page);

// The banner: 21 bytes, each the banner text's byte XOR 0xC0, then a zero.
extern const std::array<unsigned char, 22> StoredBanner;

}  // namespace hostconfig
