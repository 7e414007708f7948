// Injects a Ctrl+Shift chord, a media key and a click through the real input
// sink into a window of this program and checks what the window received.
#include <windows.h>

#include <string>
#include <vector>

#include "actions/injector.h"
#include "actions/input_sink_win32.h"
#include "app/text_view.h"
#include "win32/wine_check_win32.h"

namespace {

struct Received {
  UINT msg;
  WPARAM vk;
};
std::vector<Received> g_received;

LRESULT CALLBACK TargetProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_KEYDOWN: case WM_KEYUP: case WM_SYSKEYDOWN: case WM_SYSKEYUP:
      g_received.push_back({msg, wp});
      return 0;
    case WM_LBUTTONDOWN: case WM_LBUTTONUP:
      g_received.push_back({msg, 0});
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND MakeTarget() {
  return wine_check::MakeFrontWindow(L"CorvidInjectionTarget", TargetProc, WS_EX_TOPMOST, WS_OVERLAPPEDWINDOW,
                                     {100, 100, 400, 300});
}

bool NoModifierDown() {
  for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_LSHIFT, VK_LCONTROL})
    if (GetAsyncKeyState(vk) & 0x8000) return false;
  return true;
}

}  // namespace

int main() {
  HWND target = MakeTarget();
  WCHECK(GetForegroundWindow() == target);

  corvid::Win32InputSink sink;
  corvid::LineView monitor;
  int refused = 0;
  corvid::Injector injector(sink, monitor, [&] { ++refused; }, [] { return 0u; });

  // Ctrl+Shift+A, then the release of the whole chord.
  injector.PressKey(0x0110, 'A');
  injector.ReleaseKey(0x0110, 'A');
  wine_check::Pump(200);
  const std::vector<std::pair<UINT, WPARAM>> chord = {
      {WM_KEYDOWN, VK_CONTROL}, {WM_KEYDOWN, VK_SHIFT}, {WM_KEYDOWN, 'A'},
      {WM_KEYUP, 'A'},          {WM_KEYUP, VK_SHIFT},   {WM_KEYUP, VK_CONTROL}};
  WCHECK_EQ(g_received.size(), chord.size());
  for (size_t i = 0; i < chord.size() && i < g_received.size(); ++i) {
    WCHECK_EQ(g_received[i].msg, chord[i].first);
    WCHECK_EQ(g_received[i].vk, chord[i].second);
  }
  WCHECK(NoModifierDown());
  WCHECK_EQ(monitor.Lines(), (std::vector<std::string>{" CTRL", " SHIFT", " 0x41", "-0x41", "-SHIFT", "-CTRL"}));

  // A media key (volume up) reaches the focused window as its virtual key.
  g_received.clear();
  injector.PressKey(0, VK_VOLUME_UP);
  injector.ReleaseKey(0, VK_VOLUME_UP);
  wine_check::Pump(200);
  WCHECK_EQ(g_received.size(), 2u);
  if (g_received.size() == 2) {
    WCHECK(g_received[0].msg == WM_KEYDOWN && g_received[0].vk == VK_VOLUME_UP);
    WCHECK(g_received[1].msg == WM_KEYUP && g_received[1].vk == VK_VOLUME_UP);
  }

  // A left click in the middle of the window.
  g_received.clear();
  RECT r;
  GetWindowRect(target, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  wine_check::Pump(100);
  injector.SendMouseButtons(0x10);
  injector.SendMouseButtons(0);
  wine_check::Pump(200);
  WCHECK_EQ(g_received.size(), 2u);
  if (g_received.size() == 2) {
    WCHECK_EQ(g_received[0].msg, static_cast<UINT>(WM_LBUTTONDOWN));
    WCHECK_EQ(g_received[1].msg, static_cast<UINT>(WM_LBUTTONUP));
  }
  WCHECK(!(GetAsyncKeyState(VK_LBUTTON) & 0x8000));
  WCHECK_EQ(refused, 0);

  DestroyWindow(target);
  return WineCheckResult("input_injection");
}
