#include "actions/mouse_motion_win32.h"

#include <windows.h>

namespace corvid {

int32_t Win32ScreenSize::ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int32_t Win32ScreenSize::ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

void Win32OwnWindows::Add(HWND window) {
  if (!window) return;
  for (HWND w : windows_)
    if (w == window) return;
  for (HWND& w : windows_)
    if (!w) {
      w = window;
      return;
    }
}

void Win32OwnWindows::Remove(HWND window) {
  for (HWND& w : windows_)
    if (w == window) w = nullptr;
}

bool Win32OwnWindows::IsOverOwnWindow() {
  POINT p;
  if (!GetCursorPos(&p)) return false;
  // The window directly under the cursor, as the user sees it: a control of
  // a form is not the form.
  const HWND under = WindowFromPoint(p);
  if (!under) return false;
  for (HWND w : windows_)
    if (w && w == under) return true;
  return false;
}

}  // namespace corvid
