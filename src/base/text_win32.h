#pragma once
// UTF-8 (the core's text) to UTF-16 (the W functions) and back.
#include <string>
#include <string_view>

namespace corvid {
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
}  // namespace corvid
