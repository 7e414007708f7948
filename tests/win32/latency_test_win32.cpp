// Latency from a report entering the handler to its key arriving in the
// foreground window, through the real input sink and the system's queue.
// Prints the median and the 99th percentile; only checks that every key came.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "actions/input_sink_win32.h"
#include "app/headless_platform.h"
#include "app/platform_win32.h"
#include "config/settings_store.h"
#include "win32/wine_check_win32.h"

using namespace corvid;

namespace {

UINT g_lastMsg = 0;

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYDOWN || msg == WM_KEYUP) {
    g_lastMsg = msg;
    return 0;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

// Pumps until a key message of `want` arrives or 1 s passes.
bool WaitFor(UINT want) {
  g_lastMsg = 0;
  const DWORD until = GetTickCount() + 1000;
  MSG m;
  while (GetTickCount() < until) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
      if (g_lastMsg == want) return true;
    }
  }
  return false;
}

}  // namespace

int main() {
  HWND w = wine_check::MakeFrontWindow(L"CorvidLatencyTarget", Proc, WS_EX_TOPMOST, WS_OVERLAPPEDWINDOW,
                                       {40, 40, 200, 100});

  Win32InputSink input;
  Win32TimerHost timers;
  Win32Clock clock;
  Win32Queue queue;
  Win32MessageBoxes boxes;
  RecordingDisplay osd;
  RecordingPrograms programs;
  LineView receiveLog, codeMonitor, debugLog;
  Services services{input, timers, clock, osd, queue, boxes, programs, programs,
                    receiveLog, codeMonitor, debugLog};
  TForm1 form(services);
  ApplyFactoryKeyMaps(form.KeyboardMap, form.MouseMap);
  form.SelectKeyMap(0, 1);

  const uint8_t press[] = {0x10, 0, 0, 0x54, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 5};  // UP
  const uint8_t release[] = {0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 5};
  LARGE_INTEGER freq, t0, t1;
  QueryPerformanceFrequency(&freq);
  std::vector<double> us;
  constexpr int kPresses = 300;
  for (int i = 0; i < kPresses; ++i) {
    QueryPerformanceCounter(&t0);
    form.JvHidDeviceController1DeviceData(1, press, sizeof press);
    const bool down = WaitFor(WM_KEYDOWN);
    QueryPerformanceCounter(&t1);
    if (down) us.push_back(1e6 * double(t1.QuadPart - t0.QuadPart) / double(freq.QuadPart));
    form.JvHidDeviceController1DeviceData(1, release, sizeof release);
    WCHECK(WaitFor(WM_KEYUP));
  }
  WCHECK_EQ(us.size(), size_t(kPresses));
  if (!us.empty()) {
    std::sort(us.begin(), us.end());
    std::printf("report handler to key in window, %zu presses: median %.0f us, p99 %.0f us, max %.0f us\n",
                us.size(), us[us.size() / 2], us[us.size() * 99 / 100], us.back());
  }
  DestroyWindow(w);
  return WineCheckResult("latency");
}
