// Registry access by path text: "ROOT\key\subkey".
//
// ROOT is HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE,
// HKEY_CURRENT_CONFIG or HKEY_DYN_DATA in any letter case; any other first
// element means HKEY_CURRENT_USER. Every key is opened with KEY_ALL_ACCESS,
// one level at a time, and closed before the call returns.
#pragma once

#include <cstdint>
#include <string>

namespace hostconfig {

class SystemInterface;

// Removes the first element (up to the first backslash) from *path and
// returns it in *element. A path without a backslash, or one that begins
// with one, becomes the element whole and leaves *path empty.
void SplitFirstElement(std::string* path, std::string* element);

// Writes value as REG_SZ (with its terminating NUL) under the key at path,
// creating missing keys. True when the value was written.
bool WriteRegistryString(SystemInterface& system, std::string path,
                         const std::string& value_name,
                         const std::string& value);

// Reads the value at path as text: REG_SZ and REG_EXPAND_SZ up to their
// first NUL, unexpanded. Never creates a key; any other type and every
// failure give empty text.
std::string ReadRegistryString(SystemInterface& system, std::string path,
                               const std::string& value_name);

// Removes the value at path. Never creates a key. True when the value was
// there and is gone.
bool DeleteRegistryValue(SystemInterface& system, std::string path,
                         const std::string& value_name);

// Reads the value at path as a signed 32-bit integer: REG_DWORD and a
// 4-byte REG_BINARY as little-endian, REG_SZ and REG_EXPAND_SZ by
// TextToInteger, anything else 0. Never creates a key; every failure gives 0.
int32_t ReadRegistryInteger(SystemInterface& system, std::string path,
                            const std::string& value_name);

// Leading spaces, then either decimal digits with an optional sign
// (-2147483648..2147483647) or "$", "x", "X", "0x", "0X" and up to 32 bits of
// hexadecimal digits, up to the end of the text. Anything else gives false.
bool TextToInteger(const std::string& text, int32_t* value);

}  // namespace hostconfig
