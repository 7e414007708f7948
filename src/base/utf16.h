#pragma once
// UTF-8, the core's text, and UTF-16, the text of the Windows W functions.
// Bytes that are not UTF-8 and unpaired surrogates become U+FFFD: a text
// from outside is shown damaged, never cut short.
#include <string>
#include <string_view>

namespace corvid {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
// Well-formed UTF-8: no overlong forms, surrogates or code points past U+10FFFF.
bool IsValidUtf8(std::string_view s);

}  // namespace corvid
