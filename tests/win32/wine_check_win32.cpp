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

}  // namespace wine_check
