// Holding a direction in mouse mode moves the real cursor along the path the
// core computes, and the clicks and wheel notches reach the window under it.
#include <windows.h>

#include <cstdlib>
#include <map>

#include <gtest/gtest.h>

#include "fakes/headless_app.h"
#include "win32/wine_support_win32.h"

using namespace corvid;
using namespace wine_test;

namespace {

constexpr POINT kStart = {200, 150};

struct Received {
  UINT msg;
  POINT at;  // screen coordinates
  int wheel;
};
std::vector<Received> g_received;

LRESULT CALLBACK TargetProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_LBUTTONDOWN && msg != WM_LBUTTONUP && msg != WM_MOUSEWHEEL) return DefWindowProcW(w, msg, wp, lp);
  POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  if (msg != WM_MOUSEWHEEL) ClientToScreen(w, &pt);  // the wheel's point is the screen's
  g_received.push_back({msg, pt, msg == WM_MOUSEWHEEL ? GET_WHEEL_DELTA_WPARAM(wp) : 0});
  return 0;
}

// Relative moves pass through the system's pointer acceleration; this test
// switches it off (and the speed to neutral) and puts it back afterwards.
struct NoPointerAcceleration {
  int saved[3] = {}, off[3] = {};
  int savedSpeed = 10;
  NoPointerAcceleration() {
    SystemParametersInfoW(SPI_GETMOUSE, 0, saved, 0);
    SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &savedSpeed, 0);
    EXPECT_TRUE(Set(off, 10));
  }
  ~NoPointerAcceleration() { Set(saved, savedSpeed); }
  static bool Set(int* mouse, intptr_t speed) {
    const UINT update = SPIF_UPDATEINIFILE | SPIF_SENDCHANGE;
    return SystemParametersInfoW(SPI_SETMOUSE, 0, mouse, update) &&
           SystemParametersInfoW(SPI_SETMOUSESPEED, 0, reinterpret_cast<void*>(speed), update);
  }
};

// Every point the core's path passes through, for up to `ticks` ticks of a
// RIGHT then RIGHT+DOWN hold (the session's hold).
std::vector<POINT> PathOfTheHold(int ticks) {
  HeadlessApp a;
  std::vector<POINT> path{kStart};
  a.p.input.onEvent = [&](const InputEvent& e) {
    if (e.flags == mouseflag::kMove) path.push_back({path.back().x + e.dx, path.back().y + e.dy});
  };
  a.engine.SwitchToMouseMode();
  a.Report(0x55, 0x20);  // RIGHT
  a.Report(0x56, 0x60);  // + DOWN
  a.p.clock.Advance(static_cast<uint64_t>(ticks) * 10);
  a.p.input.onEvent = nullptr;
  return path;
}

// Corvid.exe replays the hold on real timers over a window that covers the
// whole path, so every click lands in it.
TEST(CursorPath, CorvidExeMovesTheRealCursorAlongTheCoresPath) {
  DeleteFileW(CorvidIniPath().c_str());  // factory settings
  NoPointerAcceleration noAcceleration;
  HWND target = MakeFrontWindow(L"CorvidCursorTarget", TargetProc, WS_EX_TOPMOST, WS_POPUP, {50, 50, 1150, 900});
  SetCursorPos(kStart.x, kStart.y);
  Pump(100);
  const corvid::UniqueHandle p =
      Start(CorvidExe(), L"--replay \"" + SourceFile(L"examples\\mouse-session.txt") + L"\" --quit-after-replay");
  DWORD code = 99;
  EXPECT_TRUE(WaitExit(p.Get(), 30000, &code));
  EXPECT_EQ(code, 0u);
  Pump(300);
  POINT end{};
  GetCursorPos(&end);

  // Real timers may tick less often than the replay clock, never differently:
  // the end point is a point of the core's path, after at least half the ticks.
  // (A loaded machine may have the system apply a relative step to a cursor
  // position a moment old: a few pixels off the path, never more.)
  const std::vector<POINT> path = PathOfTheHold(300);
  int reached = -1;
  for (size_t i = 0; i < path.size(); ++i)
    if (std::abs(path[i].x - end.x) <= 4 && std::abs(path[i].y - end.y) <= 4) reached = static_cast<int>(i);
  EXPECT_GE(reached, 52) << "ended at " << end.x << "," << end.y;

  // The click, the double click and the wheel, where the cursor stopped.
  std::map<UINT, int> count;
  for (const Received& r : g_received) {
    ++count[r.msg];
    EXPECT_EQ(r.wheel, r.msg == WM_MOUSEWHEEL ? 60 : 0);
    EXPECT_TRUE(r.at.x == end.x && r.at.y == end.y);
  }
  EXPECT_EQ(count[WM_LBUTTONDOWN], 3);
  EXPECT_EQ(count[WM_LBUTTONUP], 3);
  // Two on the replay clock (now and 30 ms later, the release 40 ms after
  // the press); a busy machine may hand the release over a tick late. A wheel
  // that went on after the release would turn until the quit, five or more.
  EXPECT_TRUE(count[WM_MOUSEWHEEL] >= 1 && count[WM_MOUSEWHEEL] <= 3);
  EXPECT_FALSE(GetAsyncKeyState(VK_LBUTTON) & 0x8000);
  DestroyWindow(target);
  DeleteFileW(CorvidIniPath().c_str());
}

}  // namespace
