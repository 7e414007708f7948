#pragma once
#include "config/settings_text.h"

namespace corvid {

// The system's ANSI code page (CP_ACP).
class AnsiCodecWin32 : public AnsiCodec {
 public:
  bool ToUtf8(std::string_view ansi, std::string& utf8) override;
  bool FromUtf8(std::string_view utf8, std::string& ansi) override;
};

}  // namespace corvid
