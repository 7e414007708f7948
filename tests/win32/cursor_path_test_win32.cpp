// Holding a direction in mouse mode moves the real cursor along the path the
// core computes: first the core itself on the replay clock with the real
// input sink, checked after every step; then Corvid.exe replaying the same
// session on real timers, whose end point must lie on that path, and whose
// clicks and wheel notches must reach the window under the cursor.
#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <sstream>
#include <string>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "actions/input_sink_win32.h"
#include "app/headless_platform.h"
#include "fakes/headless_app.h"
#include "remote/recorded_session.h"
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
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: {
      POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      ClientToScreen(w, &pt);
      g_received.push_back({msg, pt, 0});
      return 0;
    }
    case WM_MOUSEWHEEL:
      g_received.push_back({msg, {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))},
                            GET_WHEEL_DELTA_WPARAM(wp)});
      return 0;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

// Covers the whole path, so every click lands in it.
HWND MakeTarget() {
  return MakeFrontWindow(L"CorvidCursorTarget", TargetProc, WS_EX_TOPMOST, WS_POPUP, {50, 50, 1150, 900});
}

// Relative moves pass through the system's pointer acceleration; this test
// switches it off (and the speed to neutral) and puts it back afterwards.
struct NoPointerAcceleration {
  int saved[3] = {};
  int savedSpeed = 10;
  NoPointerAcceleration() {
    SystemParametersInfoW(SPI_GETMOUSE, 0, saved, 0);
    SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &savedSpeed, 0);
    int off[3] = {0, 0, 0};
    EXPECT_TRUE(SystemParametersInfoW(SPI_SETMOUSE, 0, off, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE));
    SystemParametersInfoW(SPI_SETMOUSESPEED, 0, reinterpret_cast<void*>(static_cast<intptr_t>(10)),
                          SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
  }
  ~NoPointerAcceleration() {
    SystemParametersInfoW(SPI_SETMOUSE, 0, saved, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    SystemParametersInfoW(SPI_SETMOUSESPEED, 0, reinterpret_cast<void*>(static_cast<intptr_t>(savedSpeed)),
                          SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
  }
};

// Sends through the real system and, after every move, compares the real
// cursor with where the core's moves so far put it.
struct CheckingSink : InputSink {
  Win32InputSink real;
  POINT expected = kStart;
  int moves = 0, mismatches = 0;
  bool Send(const InputEvent& e) override {
    const bool ok = real.Send(e);
    if (e.type == InputEvent::Type::Mouse && e.flags == mouseflag::kMove) {
      ++moves;
      expected.x += e.dx;
      expected.y += e.dy;
      POINT now{};
      GetCursorPos(&now);
      if ((now.x != expected.x || now.y != expected.y) && mismatches++ < 5)
        std::printf("step %d (%+d,%+d): cursor at %ld,%ld, core's path at %ld,%ld\n", moves, e.dx, e.dy, now.x,
                    now.y, expected.x, expected.y);
    }
    return ok;
  }
  uint16_t ScanCodeOf(uint16_t vk) override { return real.ScanCodeOf(vk); }
  uint64_t MessageExtraInfo() override { return real.MessageExtraInfo(); }
};

// The program on the replay clock, moving the real cursor.
POINT CoreMovesTheRealCursor(const RecordedSession& session) {
  SetCursorPos(kStart.x, kStart.y);
  POINT at{};
  GetCursorPos(&at);
  EXPECT_TRUE(at.x == kStart.x && at.y == kStart.y);

  CheckingSink sink;
  HeadlessPlatform p;
  p.inputSink = &sink;
  {
    CorvidApp app(p);
    app.StartUp();
    app.StartReplay(session, false);
    while (app.ReplayRunning() && p.clock.AdvanceToNext()) {
    }
    app.Engine().ReleaseEverything();
  }
  EXPECT_GE(sink.moves, 100);  // two reports and a second of 10 ms ticks
  EXPECT_EQ(sink.mismatches, 0);
  std::printf("core: %d steps on the replay clock, cursor from %ld,%ld to %ld,%ld\n", sink.moves, kStart.x,
              kStart.y, sink.expected.x, sink.expected.y);
  return sink.expected;
}

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

void CorvidExeFollowsThePath(const std::wstring& sessionFile, POINT coreEnd) {
  g_received.clear();
  SetCursorPos(kStart.x, kStart.y);
  Pump(100);
  const corvid::UniqueHandle p = Start(CorvidExe(), L"--replay \"" + sessionFile + L"\" --quit-after-replay");
  EXPECT_TRUE(p);
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
  std::printf("Corvid.exe: cursor from %ld,%ld to %ld,%ld, step %d of the core's path (the replay clock: %ld,%ld)\n",
              kStart.x, kStart.y, end.x, end.y, reached, coreEnd.x, coreEnd.y);
  EXPECT_TRUE(reached >= 52);

  // The click, the double click and the wheel, where the cursor stopped.
  int downs = 0, ups = 0, notches = 0;
  for (const Received& r : g_received) {
    if (r.msg == WM_LBUTTONDOWN) ++downs;
    if (r.msg == WM_LBUTTONUP) ++ups;
    if (r.msg == WM_MOUSEWHEEL) {
      ++notches;
      EXPECT_EQ(r.wheel, 60);
    }
    EXPECT_TRUE(r.at.x == end.x && r.at.y == end.y);
  }
  std::printf("Corvid.exe: %d left presses, %d releases, %d wheel notches\n", downs, ups, notches);
  EXPECT_EQ(downs, 3);
  EXPECT_EQ(ups, 3);
  // Two on the replay clock (now and 30 ms later, the release 40 ms after
  // the press); a busy machine may hand the release over a tick late. A wheel
  // that went on after the release would turn until the quit, five or more.
  EXPECT_TRUE(notches >= 1 && notches <= 3);
  EXPECT_TRUE(!(GetAsyncKeyState(VK_LBUTTON) & 0x8000));
}

// Corvid.exe runs on factory settings; whatever settings file the prefix had
// is put back afterwards (and none is left where there was none).
class FactorySettings : public ::testing::Test {
 protected:
  FactorySettings() : ini_(CorvidIniPath()), saved_(ini_ + L".cursor-test") {
    hadIni_ = GetFileAttributesW(ini_.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (hadIni_) MoveFileExW(ini_.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
  ~FactorySettings() override {
    DeleteFileW(ini_.c_str());
    if (hadIni_) MoveFileExW(saved_.c_str(), ini_.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
  std::wstring ini_, saved_;
  bool hadIni_ = false;
};

TEST_F(FactorySettings, CorePathAndCorvidExeMoveTheRealCursorAlike) {
  const std::wstring sessionFile = SourceFile(L"examples\\mouse-session.txt");
  const RecordedSession session = ParseRecordedSession(ReadAll(sessionFile));
  ASSERT_TRUE(session.problems.empty());
  ASSERT_FALSE(session.steps.empty());
  NoPointerAcceleration noAcceleration;
  HWND target = MakeTarget();
  const POINT coreEnd = CoreMovesTheRealCursor(session);
  Pump(200);  // the in-process clicks land in the target too
  CorvidExeFollowsThePath(sessionFile, coreEnd);
  DestroyWindow(target);
}

}  // namespace
