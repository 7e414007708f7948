// Under Wine or Windows, Corvid assembled in this process on the Win32
// platform: the time from a report entering the handler to its key arriving
// in the window in front, with the on-screen message off and on; and what a
// save of a complete settings file costs with its flush to the disk.
// Arguments as the Wine tests get them: Corvid.exe, the source folder, the
// build folder.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "config/file_store_win32.h"
#include "win32/wine_support_win32.h"

using namespace corvid;
using namespace wine_test;

namespace {

// The window in front lives on its own thread, as another program's would:
// it notes when each key arrives, whatever Corvid's thread is doing then.
std::atomic<UINT> g_lastKey{0};
std::atomic<LONGLONG> g_arrivedAt{0};

LRESULT CALLBACK TargetProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYDOWN || msg == WM_KEYUP) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    g_arrivedAt = now.QuadPart;
    g_lastKey = msg;
    return 0;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

struct TargetThread {
  HWND window = nullptr;
  DWORD id = 0;
  corvid::UniqueHandle ready{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  corvid::UniqueHandle thread;
  TargetThread() {
    thread.Reset(CreateThread(
        nullptr, 0,
        [](void* self) -> DWORD {
          auto* t = static_cast<TargetThread*>(self);
          t->window = MakeFrontWindow(L"CorvidLatencyTarget", TargetProc, WS_EX_TOPMOST, WS_OVERLAPPEDWINDOW,
                                      {40, 400, 200, 100});
          SetEvent(t->ready.Get());
          MSG m;
          while (GetMessageW(&m, nullptr, 0, 0) > 0) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
          }
          DestroyWindow(t->window);
          return 0;
        },
        this, 0, &id));
    WaitForSingleObject(ready.Get(), 5000);
  }
  ~TargetThread() {
    PostThreadMessageW(id, WM_QUIT, 0, 0);
    WaitForSingleObject(thread.Get(), 5000);
  }
};

// Serves Corvid's own thread until a key message of `want` has arrived in
// the target, or 1 s passes; the time it arrived in `at`.
bool WaitForKey(UINT want, LARGE_INTEGER& at) {
  const DWORD until = GetTickCount() + 1000;
  MSG m;
  while (GetTickCount() < until) {
    if (g_lastKey == want) {
      at.QuadPart = g_arrivedAt;
      g_lastKey = 0;
      return true;
    }
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    Sleep(0);
  }
  return false;
}

double Us(LARGE_INTEGER from, LARGE_INTEGER to) {
  static LARGE_INTEGER f = [] {
    LARGE_INTEGER v;
    QueryPerformanceFrequency(&v);
    return v;
  }();
  return 1e6 * double(to.QuadPart - from.QuadPart) / double(f.QuadPart);
}

void Print(const char* what, std::vector<double>& v, const char* unit, double scale) {
  std::sort(v.begin(), v.end());
  std::printf("%s, %zu times: median %.2f %s, p99 %.2f %s, max %.2f %s\n", what, v.size(), v[v.size() / 2] * scale,
              unit, v[v.size() * 99 / 100] * scale, unit, v.back() * scale, unit);
}

void ReportToKey(bool message) {
  InProcessCorvid corvid(message ? L"latency-message" : L"latency");
  corvid.app->Data().settings.DispMessage = message;
  TargetThread target;
  const uint8_t press[] = {0x10, 0, 0, 0x54, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 5};  // UP
  const uint8_t release[] = {0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 5};
  std::vector<double> us;
  for (int i = 0; i < 300; ++i) {
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    corvid.app->Engine().RemoteReport(1, press, sizeof press);
    if (!WaitForKey(WM_KEYDOWN, t1)) {
      std::printf("press %d: no key arrived\n", i);
      break;
    }
    us.push_back(Us(t0, t1));
    corvid.app->Engine().RemoteReport(1, release, sizeof release);
    if (!WaitForKey(WM_KEYUP, t1)) break;
  }
  if (!us.empty())
    Print(message ? "report to key in the window in front, message on" : "report to key in the window in front, message off",
          us, "us", 1);
}

void SaveWithFlush() {
  const std::string path = Utf8(FreshFolder(L"file-store-bench")) + "Corvid.ini";
  Win32FileStore files;
  std::string why;
  const std::string complete(40 << 10, 'x');
  std::vector<double> us;
  for (int i = 0; i < 15; ++i) {
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    if (!files.Replace(path, complete, why)) {
      std::printf("the save failed: %s\n", why.c_str());
      return;
    }
    QueryPerformanceCounter(&t1);
    us.push_back(Us(t0, t1));
  }
  Print("replacing a 40 KB settings file with its flush", us, "ms", 1e-3);
}

}  // namespace

int main(int argc, char** argv) {
  SetPaths(argc, argv);
  ReportToKey(false);
  ReportToKey(true);
  std::printf("(target: median report to key under 1.5 ms with the message on, within 0.5 ms of it off)\n");
  SaveWithFlush();
  return 0;
}
