#include "base/screen_size_win32.h"

#include <windows.h>

namespace corvid {

int32_t Win32ScreenSize::ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int32_t Win32ScreenSize::ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

}  // namespace corvid
