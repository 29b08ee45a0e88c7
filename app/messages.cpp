#include "app/messages.h"

namespace hostconfig {

// ASCII.
const MessageTableTexts EnglishMessages = {
    std::string_view("Detecting ethernet adapter...", 29),
    std::string_view("No ethernet adapter!", 20),
    std::string_view("No valid setting!", 17),
    std::string_view("Modifying ComputerName...", 25),
    std::string_view("Modifying ethernet adapter config...", 36),
};

// Simplified Chinese, GBK bytes (code page 936).
const MessageTableTexts GbkMessages = {
    std::string_view("\xD5\xFD\xD4\xDA\xBC\xEC\xB2\xE2\xCD\xF8\xC2\xE7\xCA\xCA\xC5\xE4\xC6\xF7...", 21),
    std::string_view("\xCE\xB4\xD5\xD2\xB5\xBD\xCD\xF8\xC2\xE7\xCA\xCA\xC5\xE4\xC6\xF7\xA3\xA1", 18),
    std::string_view("\xCE\xB4\xD5\xD2\xB5\xBD\xD3\xD0\xD0\xA7\xC9\xE8\xD6\xC3\xA3\xA1", 16),
    std::string_view("\xD5\xFD\xD4\xDA\xC9\xE8\xD6\xC3\xBC\xC6\xCB\xE3\xBB\xFA\xC3\xFB...", 19),
    std::string_view("\xD5\xFD\xD4\xDA\xC9\xE8\xD6\xC3\xCD\xF8\xC2\xE7\xB2\xCE\xCA\xFD...", 19),
};

// Traditional Chinese, Big5 bytes (code page 950).
const MessageTableTexts Big5Messages = {
    std::string_view("\xA5\xBF\xA6\x62\xC0\xCB\xB4\xFA\xBA\xF4\xB5\xB8\xBE\x41\xB0\x74\xBE\xB9...", 21),
    std::string_view("\xA5\xBC\xA7\xE4\xA8\xEC\xBA\xF4\xB5\xB8\xBE\x41\xB0\x74\xBE\xB9\xA1\x49", 18),
    std::string_view("\xA5\xBC\xA7\xE4\xA8\xEC\xA6\xB3\xAE\xC4\xB3\x5D\xB8\x6D\xA1\x49", 16),
    std::string_view("\xA5\xBF\xA6\x62\xB3\x5D\xB8\x6D\xAD\x70\xBA\xE2\xBE\xF7\xA6\x57...", 19),
    std::string_view("\xA5\xBF\xA6\x62\xB3\x5D\xB8\x6D\xBA\xF4\xB5\xB8\xB0\xD1\xBC\xC6...", 19),
};

const MessageTableTexts* MessageTableForCodePage(uint32_t oem_code_page) {
  switch (oem_code_page) {
    case 936: return &GbkMessages;
    case 950: return &Big5Messages;
    default: return &EnglishMessages;
  }
}

// "HostConfig v1.0 (x86)", each byte XOR 0xC0, so the text does not stand in the executable
// as plain bytes.
const std::array<unsigned char, 22> StoredBanner = {
    0x88, 0xAF, 0xB3, 0xB4, 0x83, 0xAF, 0xAE, 0xA6, 0xA9, 0xA7, 0xE0, 0xB6, 0xF1, 0xEE, 0xF0, 0xE0, 0xE8, 0xB8, 0xF8, 0xF6, 0xE9, 0x00};

}  // namespace hostconfig
