#include "config/encoded_file_store.h"

#include <cstdint>

namespace corvid {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool HasBom(std::string_view s) { return s.substr(0, kBom.size()) == kBom; }

bool IsAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = 0;
    uint32_t cp = 0;
    if (c < 0x80) { ++i; continue; }
    if (c >= 0xC2 && c <= 0xDF) { n = 1; cp = c & 0x1F; }
    else if (c >= 0xE0 && c <= 0xEF) { n = 2; cp = c & 0x0F; }
    else if (c >= 0xF0 && c <= 0xF4) { n = 3; cp = c & 0x07; }
    else return false;
    if (s.size() - i <= n) return false;
    for (size_t k = 1; k <= n; ++k) {
      const unsigned char d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF.
    if ((n == 2 && cp < 0x800) || (n == 3 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += n + 1;
  }
  return true;
}

bool EncodedFileStore::Read(const std::string& path, std::string& bytes) {
  std::string raw;
  if (!inner_.Read(path, raw)) return false;
  std::string utf8;
  if (HasBom(raw) || IsAscii(raw) || !codec_.ToUtf8(raw, utf8)) {
    bytes = std::move(raw);
  } else {
    bytes = std::move(utf8);
  }
  return true;
}

bool EncodedFileStore::Replace(const std::string& path, const std::string& bytes, std::string& why) {
  // Text that is not UTF-8 came from a file the code page could not read:
  // it goes back byte for byte.
  if (HasBom(bytes) || IsAscii(bytes) || !IsValidUtf8(bytes)) return inner_.Replace(path, bytes, why);
  std::string ansi;
  if (codec_.FromUtf8(bytes, ansi)) return inner_.Replace(path, ansi, why);
  return inner_.Replace(path, std::string(kBom) + bytes, why);
}

}  // namespace corvid
