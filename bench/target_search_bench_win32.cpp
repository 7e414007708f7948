// Under Wine or Windows: one pass of the target window search over a desktop
// of about 300 and about 3,000 top-level windows of another process (this
// program started again with --windows N makes them), for a program with one
// window of its own; beside it, what reading the title and class of every
// window costs, as a search that looks at every window would pay.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/handles_win32.h"
#include "base/manual_clock.h"
#include "control/desktop_win32.h"
#include "control/target_search.h"

using namespace corvid;

namespace {

int MakeWindows(int n) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"CorvidCrowd";
  RegisterClassW(&wc);
  for (int i = 0; i < n; ++i)
    CreateWindowExW(0, wc.lpszClassName, (L"crowd " + std::to_wstring(i)).c_str(), WS_OVERLAPPED, 0, 0, 50, 50,
                    nullptr, nullptr, wc.hInstance, nullptr);
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
  return 0;
}

struct Child {
  PROCESS_INFORMATION pi{};
  explicit Child(int windows) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring cmd = L"\"" + std::wstring(self) + L"\" --windows " + std::to_wstring(windows);
    STARTUPINFOW si{sizeof si};
    if (CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
      thread.Reset(pi.hThread);
      process.Reset(pi.hProcess);
    }
  }
  ~Child() {
    PostThreadMessageW(pi.dwThreadId, WM_QUIT, 0, 0);
    if (WaitForSingleObject(process.Get(), 5000) != WAIT_OBJECT_0) TerminateProcess(process.Get(), 0);
  }
  corvid::UniqueHandle thread, process;
};

int TopLevelWindows() {
  int n = 0;
  EnumWindows([](HWND, LPARAM p) -> BOOL { return ++*reinterpret_cast<int*>(p), TRUE; }, reinterpret_cast<LPARAM>(&n));
  return n;
}

// Waits until the desktop holds at least `n` top-level windows (60 s at most).
bool WaitForWindows(int n) {
  for (DWORD until = GetTickCount() + 60000; GetTickCount() < until; Sleep(20))
    if (TopLevelWindows() >= n) return true;
  return false;
}

double Ms(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return double(to.QuadPart - from.QuadPart) * 1000.0 / double(f.QuadPart);
}

template <class F>
double MedianMs(int times, F f) {
  std::vector<double> ms;
  for (int i = 0; i < times; ++i) {
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    f();
    QueryPerformanceCounter(&b);
    ms.push_back(Ms(a, b));
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

void Measure(int crowd) {
  const int before = TopLevelWindows();
  Child many(crowd), program(1);
  if (!WaitForWindows(before + crowd + 1)) {
    std::printf("the windows were not made (%d of %d)\n", TopLevelWindows() - before, crowd + 1);
    return;
  }
  std::array<AppEntry, kAppCount> apps;
  Win32DesktopQuery desktop;
  ManualClock clock;
  LineView trace;
  TextField field;
  TargetWindowSearch search(apps, desktop, clock, trace, field);
  const uint32_t pid = program.pi.dwProcessId;
  WindowHandle found = 0;
  // The first pass reads the process's threads, which serve the passes of
  // the next half second.
  const double first = MedianMs(1, [&] { found = search.FindTargetWindowOnce(pid, "CorvidCrowd", "x.exe", ""); });
  const double pass = MedianMs(15, [&] { found = search.FindTargetWindowOnce(pid, "CorvidCrowd", "x.exe", ""); });
  const double all = MedianMs(5, [] {
    EnumWindows(
        [](HWND w, LPARAM) -> BOOL {
          wchar_t t[256], c[256];
          GetWindowTextW(w, t, 255);
          GetClassNameW(w, c, 255);
          return TRUE;
        },
        0);
  });
  std::printf("%d top-level windows: a search pass %.1f ms (the first, reading the threads, %.1f ms)%s; "
              "reading every window's title and class %.1f ms\n",
              TopLevelWindows(), pass, first, found ? "" : " (its window not found)", all);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::string(argv[1]) == "--windows") return MakeWindows(std::atoi(argv[2]));
  Measure(300);
  Measure(3000);
  std::printf("(target: one pass over 300 windows under 25 ms, over 3,000 under 100 ms)\n");
  return 0;
}
