#pragma once
// The settings file's bytes as text, and back in the form the file had. Files
// of earlier versions are in the system's ANSI code page (Japanese texts in
// Shift-JIS); Notepad saves UTF-8 without a byte-order mark; the system's
// profile functions also read UTF-16 with one. The core works in UTF-8.
#include <cstdint>
#include <string>
#include <string_view>

#include "config/ansi_codec.h"

namespace corvid {


enum class TextEncoding : uint8_t {
  Ansi,      // the code page (plain ASCII counts as it)
  Utf8,      // UTF-8 without a byte-order mark, with multi-byte characters
  Utf8Bom,
  Utf16Bom,    // UTF-16 little-endian with its byte-order mark
  Utf16BeBom,  // UTF-16 big-endian with its byte-order mark
  Bytes,     // none of these reads it: kept byte for byte
};

struct SettingsText {
  std::string text;  // UTF-8, or the bytes themselves (Bytes)
  TextEncoding encoding = TextEncoding::Ansi;
};

SettingsText DecodeSettingsText(std::string_view bytes, AnsiCodec& codec);
// Text the code page cannot hold turns an ANSI file into UTF-8 with a
// byte-order mark rather than losing a character.
std::string EncodeSettingsText(std::string_view text, TextEncoding encoding, AnsiCodec& codec);
// The longest start of `value` that takes at most `maxBytes` in the file's
// encoding, cut between characters.
std::string_view CutToEncodedBytes(std::string_view value, size_t maxBytes, TextEncoding encoding,
                                   AnsiCodec& codec);

}  // namespace corvid
