#include "config/ansi_codec_win32.h"

#include <windows.h>

#include <climits>

namespace corvid {
namespace {

bool ToWide(UINT cp, std::string_view in, std::wstring& out) {
  if (in.empty()) { out.clear(); return true; }
  if (in.size() > INT_MAX) return false;
  const int n = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, in.data(), static_cast<int>(in.size()), nullptr, 0);
  if (n <= 0) return false;
  out.resize(static_cast<size_t>(n));
  return MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, in.data(), static_cast<int>(in.size()), out.data(), n) == n;
}

bool FromWide(UINT cp, const std::wstring& in, std::string& out, bool strict) {
  if (in.empty()) { out.clear(); return true; }
  BOOL usedDefault = FALSE;
  // CP_UTF8 takes neither the flag nor the default-character report.
  const DWORD flags = strict ? WC_NO_BEST_FIT_CHARS : 0;
  BOOL* used = strict ? &usedDefault : nullptr;
  const int n = WideCharToMultiByte(cp, flags, in.data(), static_cast<int>(in.size()), nullptr, 0, nullptr, used);
  if (n <= 0) return false;
  out.resize(static_cast<size_t>(n));
  if (WideCharToMultiByte(cp, flags, in.data(), static_cast<int>(in.size()), out.data(), n, nullptr, used) != n)
    return false;
  return !usedDefault;
}

}  // namespace

bool AnsiCodecWin32::ToUtf8(std::string_view ansi, std::string& utf8) {
  if (GetACP() == CP_UTF8) { utf8.assign(ansi); return true; }
  std::wstring wide;
  return ToWide(CP_ACP, ansi, wide) && FromWide(CP_UTF8, wide, utf8, false);
}

bool AnsiCodecWin32::FromUtf8(std::string_view utf8, std::string& ansi) {
  if (GetACP() == CP_UTF8) { ansi.assign(utf8); return true; }
  std::wstring wide;
  return ToWide(CP_UTF8, utf8, wide) && FromWide(CP_ACP, wide, ansi, true);
}

}  // namespace corvid
