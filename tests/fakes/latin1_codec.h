#pragma once
#include <string>
#include <string_view>

#include "config/settings_text.h"

namespace corvid {

// Latin-1 as the code page: every byte is a character, but 0x81 is refused
// (as undefined bytes of a real code page are).
class Latin1Codec : public AnsiCodec {
 public:
  bool ToUtf8(std::string_view in, std::string& out) override {
    out.clear();
    for (unsigned char c : in) {
      if (c == 0x81) return false;
      if (c >= 0x80) out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(c < 0x80 ? c : 0x80 | (c & 0x3F));
    }
    return true;
  }
  bool FromUtf8(std::string_view in, std::string& out) override {
    out.clear();
    for (size_t i = 0; i < in.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(in[i]);
      if (c < 0x80) out += static_cast<char>(c);
      else if (c < 0xC2 || c > 0xC3 || i + 1 >= in.size()) return false;
      else out += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(in[++i]) & 0x3F));
    }
    return true;
  }
};

}  // namespace corvid
