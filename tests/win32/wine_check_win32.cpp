#include "win32/wine_check_win32.h"

#include <windows.h>

namespace wine_check {

int& Failures() {
  static int failures = 0;
  return failures;
}

void Fail(const char* file, int line, const std::string& what) {
  ++Failures();
  std::printf("%s:%d: failed: %s\n", file, line, what.c_str());
  std::fflush(stdout);
}

void Pump(unsigned ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

HWND MakeFrontWindow(const wchar_t* className, WNDPROC proc, DWORD exStyle, DWORD style, RECT place,
                     COLORREF background) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = className;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  if (background != CLR_INVALID) wc.hbrBackground = CreateSolidBrush(background);
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(exStyle, className, L"target", style | WS_VISIBLE, place.left, place.top, place.right,
                           place.bottom, nullptr, nullptr, wc.hInstance, nullptr);
  UpdateWindow(w);
  SetForegroundWindow(w);
  SetFocus(w);
  Pump(300);
  return w;
}

}  // namespace wine_check
