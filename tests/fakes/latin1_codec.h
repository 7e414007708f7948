#pragma once
#include <string>
#include <string_view>

#include "base/utf16.h"
#include "config/settings_text.h"

namespace corvid {

// Latin-1 as the code page: every byte is a character, but 0x81 is refused
// (as undefined bytes of a real code page are).
class Latin1Codec : public AnsiCodec {
 public:
  bool ToUtf8(std::string_view in, std::string& out) override {
    if (in.find('\x81') != std::string_view::npos) return false;
    out = Utf16ToUtf8(std::u16string(reinterpret_cast<const unsigned char*>(in.data()),
                                     reinterpret_cast<const unsigned char*>(in.data() + in.size())));
    return true;
  }
  bool FromUtf8(std::string_view in, std::string& out) override {
    out.clear();
    for (char16_t c : Utf8ToUtf16(in)) {
      if (c > 0xFF) return false;
      out += static_cast<char>(c);
    }
    return true;
  }
};

}  // namespace corvid
