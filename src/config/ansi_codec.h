#pragma once
// Text in the system's ANSI code page, and back: settings files of earlier
// versions are in it (Japanese texts in Shift-JIS).
#include <string>
#include <string_view>

namespace corvid {

class AnsiCodec {
 public:
  virtual ~AnsiCodec() = default;
  // False when `ansi` is not valid in the code page.
  virtual bool ToUtf8(std::string_view ansi, std::string& utf8) = 0;
  // False when some character of `utf8` has no form in the code page.
  virtual bool FromUtf8(std::string_view utf8, std::string& ansi) = 0;
};

// A system whose code page is UTF-8 (and the headless platform's).
class Utf8CodePage : public AnsiCodec {
 public:
  bool ToUtf8(std::string_view ansi, std::string& utf8) override;
  bool FromUtf8(std::string_view utf8, std::string& ansi) override;
};
AnsiCodec& DefaultCodePage();

}  // namespace corvid
