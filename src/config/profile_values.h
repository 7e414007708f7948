#pragma once
// The conversions of the settings file's values.
#include <cstdint>
#include <string>
#include <string_view>

namespace corvid {

struct KeyMapEntry;

// Decimal with a sign, or hexadecimal after "0x", "0X" or "$"; 32 bits.
bool ParseProfileInteger(std::string_view text, int32_t& out);
// Hexadecimal digits only, up to 32 bits (leading zeros beyond eight digits
// still fit).
bool ParseHex32(std::string_view text, uint32_t& out);
// The working buffer a key map value is read into holds 255 bytes of the
// file's encoding; the caller cuts the value to it (CutToEncodedBytes).
inline constexpr size_t kKeyMapValueMax = 255;
// "Param,Key,Message" cut at commas as strtok cuts them.
bool ParseKeyMapValue(std::string_view text, KeyMapEntry& out);
std::string FormatKeyMapValue(const KeyMapEntry& e);
std::string_view TrimBlanks(std::string_view s);

}  // namespace corvid
