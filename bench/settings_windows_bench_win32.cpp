// The key map editor's window: what building it costs (done once, at the
// start), the first opening and a later one (shown, laid out and painted),
// and the memory and window objects it adds to the process.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/corvid_app.h"
#include "app/headless_platform.h"
#include "ui/key_map_editor_win32.h"
#include "win32/wine_support_win32.h"

using namespace corvid;

namespace {

// Everything the window asked for (layout, painting) done.
void Settle(HWND w) {
  RedrawWindow(w, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
}

// Private memory where the system counts it, else the working set (Wine).
double MemoryKiB() {
  PROCESS_MEMORY_COUNTERS_EX c{};
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&c), sizeof c);
  return double(c.PrivateUsage ? c.PrivateUsage : c.WorkingSetSize) / 1024.0;
}

int ChildWindows(HWND w) {
  int n = 0;
  EnumChildWindows(
      w, [](HWND, LPARAM p) -> BOOL { return ++*reinterpret_cast<int*>(p), TRUE; }, reinterpret_cast<LPARAM>(&n));
  return n;
}

// The editor's receive log: its multi-line edit control.
HWND LogControl(HWND editor) {
  HWND found = nullptr;
  EnumChildWindows(
      editor,
      [](HWND w, LPARAM p) -> BOOL {
        wchar_t cls[16];
        GetClassNameW(w, cls, 16);
        if (lstrcmpiW(cls, L"Edit") != 0 || !(GetWindowLongW(w, GWL_STYLE) & ES_MULTILINE)) return TRUE;
        *reinterpret_cast<HWND*>(p) = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// One line more in the receive log shown in the editor, with `held` lines
// in it already: the median of 200, each until the control has shown it.
double AppendCost(LineView& log, HWND editor, size_t held) {
  const HWND control = LogControl(editor);
  log.Clear();
  for (size_t i = 0; i < held; ++i) log.Append("00-00-00-00-05  [ NUM1  ]");
  Settle(editor);
  std::vector<double> ms;
  MSG m;
  for (int i = 0; i < 200; ++i) {
    const double a = wine_test::MillisecondsNow();
    log.Append("00-00-00-FF-05  [ ---  ]");
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    UpdateWindow(control);
    ms.push_back(wine_test::MillisecondsNow() - a);
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

}  // namespace

int main() {
  HeadlessPlatform platform;
  CorvidApp app(platform);
  KeyMapEditor& model = app.Windows().Editor();
  Win32WindowRegistry registry;

  const double before = MemoryKiB();
  const double t0 = wine_test::MillisecondsNow();
  KeyMapEditorWin32 view(model, app.ReceiveLog(), registry);
  if (!view.Create()) {
    std::printf("the editor's window could not be created\n");
    return 0;
  }
  const double t1 = wine_test::MillisecondsNow();
  app.Windows().ShowEditor();
  Settle(view.Handle());
  const double t2 = wine_test::MillisecondsNow();
  const double after = MemoryKiB();

  std::vector<double> again;
  for (int i = 0; i < 21; ++i) {
    model.Close();
    Settle(view.Handle());
    const double a = wine_test::MillisecondsNow();
    app.Windows().ShowEditor();
    Settle(view.Handle());
    again.push_back(wine_test::MillisecondsNow() - a);
  }
  std::sort(again.begin(), again.end());
  std::printf("key map editor: built in %.1f ms (at the start), first opening %.1f ms, "
              "later openings median %.1f ms (max %.1f)\n",
              t1 - t0, t2 - t1, again[again.size() / 2], again.back());
  std::printf("key map editor adds %.0f KiB of memory, %d child windows, %lu GDI and %lu USER objects\n",
              after - before, ChildWindows(view.Handle()), GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
              GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  std::printf("(target: opening under 100 ms; memory is the working set where private bytes are not counted, fonts included; objects 0: not counted)\n");
  const double few = AppendCost(app.ReceiveLog(), view.Handle(), 10);
  const double full = AppendCost(app.ReceiveLog(), view.Handle(), LineView::kDefaultCapacity);
  std::printf("receive log: a line more with 10 lines held %.2f ms, with %zu held %.2f ms "
              "(target: the same at any length)\n",
              few, LineView::kDefaultCapacity, full);
  model.Close();
  return 0;
}
