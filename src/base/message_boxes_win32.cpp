#include "base/message_boxes_win32.h"

#include <windows.h>

#include "base/text_win32.h"

namespace corvid {

int Win32MessageBoxes::Show(std::string_view text, std::string_view caption, Kind kind) {
  const UINT type = (kind == kYesNo ? MB_YESNO : kind == kOkCancel ? MB_OKCANCEL : MB_OK) | MB_SETFOREGROUND | MB_TOPMOST;
  return MessageBoxW(nullptr, Widen(text).c_str(), Widen(caption).c_str(), type);
}

}  // namespace corvid
