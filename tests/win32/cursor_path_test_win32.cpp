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
#include <vector>

#include "actions/input_sink_win32.h"
#include "actions/mouse_motion.h"
#include "actions/mouse_motion_win32.h"
#include "app/headless_platform.h"
#include "app/session_player.h"
#include "config/settings_store.h"
#include "remote/recorded_session.h"
#include "win32/corvid_process.h"
#include "win32/wine_check_win32.h"

using namespace corvid;
using namespace corvid_test;

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
  return wine_check::MakeFrontWindow(L"CorvidCursorTarget", TargetProc, WS_EX_TOPMOST, WS_POPUP, {50, 50, 1150, 900});
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
    WCHECK(SystemParametersInfoW(SPI_SETMOUSE, 0, off, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE));
    SystemParametersInfoW(SPI_SETMOUSESPEED, 0, reinterpret_cast<void*>(static_cast<intptr_t>(10)),
                          SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
  }
  ~NoPointerAcceleration() {
    SystemParametersInfoW(SPI_SETMOUSE, 0, saved, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    SystemParametersInfoW(SPI_SETMOUSESPEED, 0, reinterpret_cast<void*>(static_cast<intptr_t>(savedSpeed)),
                          SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
  }
};

struct NotOwn : OwnWindows {
  bool IsOverOwnWindow() override { return false; }
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

std::string ReadAll(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The core on the replay clock, moving the real cursor.
POINT CoreMovesTheRealCursor(const RecordedSession& session) {
  SetCursorPos(kStart.x, kStart.y);
  POINT at{};
  GetCursorPos(&at);
  WCHECK(at.x == kStart.x && at.y == kStart.y);

  HeadlessPlatform p;
  CheckingSink sink;
  Services s = p.services();
  Services services{sink, s.timers, s.clock, s.osd, s.queue, s.boxes, s.apps, s.power,
                    s.receiveLog, s.codeMonitor, s.debugLog};
  TForm1 form(services);
  ApplyFactoryDefaults(form);
  Win32ScreenSize screen;
  NotOwn own;
  MouseMotion motion(form, screen, own);
  form.SwitchToKeyboardMode();
  PlaySession(session, form, p.clock);
  form.ReleaseEverything();

  WCHECK(sink.moves >= 100);  // two reports and a second of 10 ms ticks
  WCHECK_EQ(sink.mismatches, 0);
  std::printf("core: %d steps on the replay clock, cursor from %ld,%ld to %ld,%ld\n", sink.moves, kStart.x,
              kStart.y, sink.expected.x, sink.expected.y);
  return sink.expected;
}

// Every point the core's path passes through, for up to `ticks` ticks of a
// RIGHT then RIGHT+DOWN hold (the session's hold).
std::vector<POINT> PathOfTheHold(int ticks) {
  HeadlessPlatform p;
  TForm1 form(p.services());
  ApplyFactoryDefaults(form);
  Win32ScreenSize screen;
  NotOwn own;
  MouseMotion motion(form, screen, own);
  std::vector<POINT> path{kStart};
  p.input.onEvent = [&](const InputEvent& e) {
    if (e.flags == mouseflag::kMove) path.push_back({path.back().x + e.dx, path.back().y + e.dy});
  };
  form.SwitchToMouseMode();
  const uint8_t right[] = {0x20, 0, 0, 0x55, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 5};
  const uint8_t rightDown[] = {0x60, 0, 0, 0x56, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 5};
  form.JvHidDeviceController1DeviceData(1, right, sizeof right);
  form.JvHidDeviceController1DeviceData(1, rightDown, sizeof rightDown);
  p.clock.Advance(static_cast<uint64_t>(ticks) * 10);
  return path;
}

void CorvidExeFollowsThePath(const std::wstring& exe, const std::wstring& sessionFile, POINT coreEnd) {
  g_received.clear();
  SetCursorPos(kStart.x, kStart.y);
  wine_check::Pump(100);
  HANDLE p = Start(exe, L"--replay \"" + sessionFile + L"\" --quit-after-replay");
  WCHECK(p != nullptr);
  DWORD code = 99;
  WCHECK(WaitExit(p, 30000, &code));
  WCHECK_EQ(code, 0u);
  wine_check::Pump(300);
  POINT end{};
  GetCursorPos(&end);

  // Real timers may tick less often than the replay clock, never differently:
  // the end point is a point of the core's path, after at least half the ticks.
  const std::vector<POINT> path = PathOfTheHold(300);
  int reached = -1;
  for (size_t i = 0; i < path.size(); ++i)
    if (path[i].x == end.x && path[i].y == end.y) reached = static_cast<int>(i);
  std::printf("Corvid.exe: cursor from %ld,%ld to %ld,%ld, step %d of the core's path (the replay clock: %ld,%ld)\n",
              kStart.x, kStart.y, end.x, end.y, reached, coreEnd.x, coreEnd.y);
  WCHECK(reached >= 52);

  // The click, the double click and the wheel, where the cursor stopped.
  int downs = 0, ups = 0, notches = 0;
  for (const Received& r : g_received) {
    if (r.msg == WM_LBUTTONDOWN) ++downs;
    if (r.msg == WM_LBUTTONUP) ++ups;
    if (r.msg == WM_MOUSEWHEEL) {
      ++notches;
      WCHECK_EQ(r.wheel, 60);
    }
    WCHECK(r.at.x == end.x && r.at.y == end.y);
  }
  std::printf("Corvid.exe: %d left presses, %d releases, %d wheel notches\n", downs, ups, notches);
  WCHECK_EQ(downs, 3);
  WCHECK_EQ(ups, 3);
  WCHECK(notches >= 1 && notches <= 2);
  WCHECK(!(GetAsyncKeyState(VK_LBUTTON) & 0x8000));
  CloseHandle(p);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::wstring exe = WinPath(argv[1]);
  const std::wstring src = WinPath(argv[2]);
  const std::wstring sessionFile = src + L"\\examples\\mouse-session.txt";
  const RecordedSession session = ParseRecordedSession(ReadAll(sessionFile));
  WCHECK(session.problems.empty());
  WCHECK(!session.steps.empty());

  // Corvid.exe runs on factory settings; whatever settings file the prefix
  // had is put back afterwards (and none is left where there was none).
  wchar_t docs[MAX_PATH];
  WCHECK(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, docs)));
  const std::wstring ini = std::wstring(docs) + L"\\.corvid\\Corvid.ini";
  const std::wstring saved = ini + L".cursor-test";
  const bool hadIni = GetFileAttributesW(ini.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (hadIni) WCHECK(MoveFileExW(ini.c_str(), saved.c_str(), MOVEFILE_REPLACE_EXISTING));

  {
    NoPointerAcceleration noAcceleration;
    HWND target = MakeTarget();
    const POINT coreEnd = CoreMovesTheRealCursor(session);
    wine_check::Pump(200);  // the in-process clicks land in the target too
    CorvidExeFollowsThePath(exe, sessionFile, coreEnd);
    DestroyWindow(target);
  }

  DeleteFileW(ini.c_str());
  if (hadIni) MoveFileExW(saved.c_str(), ini.c_str(), MOVEFILE_REPLACE_EXISTING);
  return WineCheckResult("cursor_path");
}
