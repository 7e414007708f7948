#include "config/encoded_file_store.h"

#include "base/utf16.h"


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
