#pragma once
// A minimal check framework for the Windows test programs run under Wine:
// each test program is one executable; checks print and count failures, and
// main returns WineCheckResult().
#include <windows.h>

#include <cstdio>
#include <string>

namespace wine_check {
int& Failures();
void Fail(const char* file, int line, const std::string& what);
// Pumps the thread's messages for about `ms` milliseconds.
void Pump(unsigned ms);
// A window of a class of its own, shown at `place` (left, top, width,
// height), in
// front and with the keyboard focus; without a background it is left
// unpainted.
HWND MakeFrontWindow(const wchar_t* className, WNDPROC proc, DWORD exStyle, DWORD style, RECT place,
                     COLORREF background = CLR_INVALID);
}  // namespace wine_check

#define WCHECK(cond)                                                      \
  do {                                                                    \
    if (!(cond)) wine_check::Fail(__FILE__, __LINE__, "CHECK(" #cond ")"); \
  } while (0)

#define WCHECK_EQ(a, b)                                                                    \
  do {                                                                                     \
    const auto& wa_ = (a);                                                                 \
    const auto& wb_ = (b);                                                                 \
    if (!(wa_ == wb_))                                                                     \
      wine_check::Fail(__FILE__, __LINE__, std::string("CHECK_EQ(" #a ", " #b ")"));        \
  } while (0)

inline int WineCheckResult(const char* name) {
  if (wine_check::Failures() == 0) {
    std::printf("%s: all checks passed\n", name);
    return 0;
  }
  std::printf("%s: %d check(s) failed\n", name, wine_check::Failures());
  return 1;
}
