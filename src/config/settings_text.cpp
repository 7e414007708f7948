#include "config/settings_text.h"

#include "base/utf16.h"

namespace corvid {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Bom = "\xFF\xFE", kUtf16BeBom = "\xFE\xFF";

bool IsAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

// Bytes of the UTF-8 character that starts at `s[i]` (1 for a stray byte).
size_t CharLength(std::string_view s, size_t i) {
  const auto c = static_cast<unsigned char>(s[i]);
  size_t n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
  if (i + n > s.size()) n = 1;
  return n;
}

}  // namespace

bool Utf8CodePage::ToUtf8(std::string_view ansi, std::string& utf8) {
  if (!IsValidUtf8(ansi)) return false;
  utf8.assign(ansi);
  return true;
}

bool Utf8CodePage::FromUtf8(std::string_view utf8, std::string& ansi) {
  ansi.assign(utf8);
  return true;
}

AnsiCodec& DefaultCodePage() {
  static Utf8CodePage codec;
  return codec;
}

SettingsText DecodeSettingsText(std::string_view bytes, AnsiCodec& codec) {
  SettingsText out;
  const bool little = bytes.substr(0, 2) == kUtf16Bom, big = bytes.substr(0, 2) == kUtf16BeBom;
  if (little || big) {
    bytes.remove_prefix(2);
    std::u16string units(bytes.size() / 2, u'\0');
    const int low = big ? 1 : 0;
    for (size_t i = 0; i < units.size(); ++i)
      units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i + low]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1 - low]) << 8));
    out.text = Utf16ToUtf8(units);
    out.encoding = big ? TextEncoding::Utf16BeBom : TextEncoding::Utf16Bom;
  } else if (bytes.substr(0, 3) == kUtf8Bom) {
    out.text.assign(bytes.substr(3));
    out.encoding = TextEncoding::Utf8Bom;
  } else if (IsAscii(bytes)) {
    out.text.assign(bytes);
  } else if (IsValidUtf8(bytes)) {
    out.text.assign(bytes);
    out.encoding = TextEncoding::Utf8;
  } else if (!codec.ToUtf8(bytes, out.text)) {
    out.text.assign(bytes);
    out.encoding = TextEncoding::Bytes;
  }
  return out;
}

std::string EncodeSettingsText(std::string_view text, TextEncoding encoding, AnsiCodec& codec) {
  switch (encoding) {
    case TextEncoding::Utf16Bom:
    case TextEncoding::Utf16BeBom: {
      // Written back in the byte order it came in.
      const bool big = encoding == TextEncoding::Utf16BeBom;
      const std::u16string units = Utf8ToUtf16(text);
      std::string out(big ? kUtf16BeBom : kUtf16Bom);
      out.reserve(2 + 2 * units.size());
      for (char16_t u : units) {
        const char lowByte = static_cast<char>(u & 0xFF), highByte = static_cast<char>(u >> 8);
        out += big ? highByte : lowByte;
        out += big ? lowByte : highByte;
      }
      return out;
    }
    case TextEncoding::Utf8Bom:
      return std::string(kUtf8Bom) + std::string(text);
    case TextEncoding::Utf8:
    case TextEncoding::Bytes:
      return std::string(text);
    case TextEncoding::Ansi:
      break;
  }
  std::string ansi;
  if (IsAscii(text)) return std::string(text);
  if (IsValidUtf8(text) && codec.FromUtf8(text, ansi)) return ansi;
  return std::string(kUtf8Bom) + std::string(text);
}

std::string_view CutToEncodedBytes(std::string_view value, size_t maxBytes, TextEncoding encoding,
                                   AnsiCodec& codec) {
  if (encoding == TextEncoding::Bytes) return value.substr(0, maxBytes);
  // No code page takes more bytes for a character than UTF-8 does.
  const bool utf16 = encoding == TextEncoding::Utf16Bom || encoding == TextEncoding::Utf16BeBom;
  if (!utf16 && value.size() <= maxBytes) return value;
  size_t used = 0, i = 0;
  std::string one;
  while (i < value.size()) {
    const size_t n = CharLength(value, i);
    size_t bytes = n;
    if (utf16) bytes = n == 4 ? 4 : 2;
    else if (encoding == TextEncoding::Ansi && n > 1 && codec.FromUtf8(value.substr(i, n), one)) bytes = one.size();
    if (used + bytes > maxBytes) break;
    used += bytes;
    i += n;
  }
  return value.substr(0, i);
}

}  // namespace corvid
