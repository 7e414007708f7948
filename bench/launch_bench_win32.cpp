// Under Wine or Windows, with Wine's notepad and Corvid assembled in this
// process on the Win32 platform: the time from the release of an App button
// to notepad in front, taken apart; how soon the key map follows the window
// in front; and how fast the low-level mouse hook answers while a start
// waits for a window that never comes. Arguments as the Wine tests get them:
// Corvid.exe, the source folder, the build folder.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/text_win32.h"
#include "config/settings_store.h"
#include "remote/recorded_session.h"
#include "win32/wine_support_win32.h"

using namespace corvid;
using namespace wine_test;

namespace {

// BLUE starts App-1, notepad maximised (whose window is `notepadClass`);
// NUM1 types "b" while notepad is in front, "a" elsewhere.
std::string Settings(const std::string& notepadClass, bool follow) {
  return std::string("[System]\r\nHideStart=1\r\nDispChange=1\r\nLanguage=ja\r\nFollowForeground=") +
         (follow ? "1" : "0") + "\r\n[App-1]\r\nAppProg=" + Narrow(NotepadPath()) +
         "\r\nAppName=Notepad\r\nMessage=Notepad\r\nClass=" + notepadClass +
         "\r\nAppSetConst=2,2,0,1,0,1,0,1,1,1,0,0,0,0,0,0,0,800\r\n"
         "[Items-0]\r\nBD80=0000,07,App-1\r\nBD00=0000,41,A\r\n[Items-1]\r\nBD00=0000,42,B\r\n";
}

// The Win32 platform with its waits and the moment a window is brought to
// the front timed.
class TimedPlatform : public Win32Platform {
 public:
  explicit TimedPlatform(std::string folder) : Win32Platform(std::move(folder)) {}
  Clock& Time() override { return clock_; }
  DesktopControl& ProgramWindows() override { return control_; }

  struct TimedClock : Clock {
    Win32Clock real;
    double slept = 0, idleWaits = 0;
    uint64_t NowMs() override { return real.NowMs(); }
    void Sleep(uint32_t ms) override {
      const double t = MillisecondsNow();
      real.Sleep(ms);
      (ms == TargetWindowSearch::kInputIdleSliceMs ? idleWaits : slept) += MillisecondsNow() - t;
    }
  } clock_;
  struct TimedControl : Win32DesktopControl {
    double front = 0, startedAt = 0;
    double start = 0, sys = 0;  // the system starting a program; posting a command
    uint32_t StartProgram(const std::string& f, const std::string& c, const std::string& d) override {
      const double t = MillisecondsNow();
      const uint32_t r = Win32DesktopControl::StartProgram(f, c, d);
      start += MillisecondsNow() - t;
      if (!startedAt) startedAt = t;
      return r;
    }
    void PostSysCommand(WindowHandle w, uint32_t command) override {
      const double t = MillisecondsNow();
      Win32DesktopControl::PostSysCommand(w, command);
      sys += MillisecondsNow() - t;
    }
    void SetForeground(WindowHandle w) override {
      Win32DesktopControl::SetForeground(w);
      front = MillisecondsNow();
    }
  } control_;
};

struct Corvid {
  Corvid(const std::wstring& folderName, const std::string& settings) {
    const std::wstring folder = FreshFolder(folderName);
    WriteAll(folder + L"Corvid.ini", settings);
    platform = std::make_unique<TimedPlatform>(Narrow(folder));
    app = std::make_unique<CorvidApp>(*platform);
    app->Osd().onShow = [this](std::string_view t) {
      if (released && !firstShown) firstShown = MillisecondsNow();
    };
    app->ReceiveLog().onLine = [this](std::string_view line) {
      if (!released && line.find("-FF-") != std::string_view::npos) released = MillisecondsNow();
    };
    app->StartUp();
  }
  void Play(const std::string& session) {
    app->StartReplay(ParseRecordedSession(session), false);
    while (app->ReplayRunning()) Pump(20);
    Pump(200);
  }
  // As the message loop does: the messages, then the idle step, until the
  // key map is `map`.
  bool BringToFront(HWND w, int map) {
    const double asked = MillisecondsNow();
    while (MillisecondsNow() < asked + 5000) {
      if (GetForegroundWindow() != w) SetForegroundWindow(w);  // asked again while the system refuses it
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      app->FollowState();
      if (app->Engine().CurrentAppMap() == map) {
        switches.push_back(MillisecondsNow() - asked);
        return true;
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    return false;
  }
  std::unique_ptr<TimedPlatform> platform;
  std::unique_ptr<CorvidApp> app;
  double released = 0, firstShown = 0;  // of the first action
  std::vector<double> switches;
};

HWND Notepad() { return FindWindowW(L"Notepad", nullptr); }
HWND Regedit() { return FindWindowW(L"RegEdit_RegEdit", nullptr); }

void ReleaseToFront() {
  Corvid c(L"bench-launch", Settings("Notepad", false));
  c.Play(ButtonPress(0x80));
  if (!Notepad()) {
    std::printf("notepad did not start\n");
    return;
  }
  const TimedPlatform& t = *c.platform;
  const double toFront = t.control_.front - c.released;
  // Nothing but the message's drawing lies between showing " Exec" and the start.
  const double message = t.control_.startedAt - c.firstShown;
  const double own = toFront - t.clock_.slept - t.clock_.idleWaits - t.control_.start - t.control_.sys;
  std::printf(
      "release of App-1 to notepad in front: %.0f ms = the sleeps (the maximise showing among them) %.0f ms + "
      "waiting for notepad to be idle %.0f ms + the system starting notepad %.1f ms + asking notepad to "
      "maximise %.1f ms + Corvid's own work %.1f ms, of which drawing the message %.1f ms (goal: under 50 ms)\n",
      toFront, t.clock_.slept, t.clock_.idleWaits, t.control_.start, t.control_.sys, own, message);
}

void FollowTheFront() {
  if (!Start(L"C:\\windows\\regedit.exe", L"") || !WaitForWindow(Regedit, 10000)) {
    std::printf("regedit did not start\n");
    return;
  }
  // As the follow test has it: notepad's own map, nothing to start.
  Corvid c(L"bench-follow",
           "[System]\r\nHideStart=1\r\nDispChange=1\r\nLanguage=ja\r\nFollowForeground=1\r\n[App-1]\r\nAppProg=" +
               Narrow(NotepadPath()) +
               "\r\nMessage=Notepad\r\nClass=Notepad\r\nAppSetConst=1,1,0,0,0,1,0,0,0,1,0,0,0,0,0,0,0,800\r\n"
               "[Items-0]\r\nBD00=0000,41,A\r\n[Items-1]\r\nBD00=0000,42,B\r\n");
  for (int round = 0; round < 10; ++round)
    if (!c.BringToFront(Regedit(), 0) || !c.BringToFront(Notepad(), 1)) std::printf("round %d: no switch\n", round);
  const double decideStart = MillisecondsNow();
  for (int i = 0; i < 100; ++i) c.app->Follower().MapFor(reinterpret_cast<WindowHandle>(Regedit()));
  const double decide = (MillisecondsNow() - decideStart) / 100;
  std::sort(c.switches.begin(), c.switches.end());
  if (!c.switches.empty())
    std::printf(
        "window in front changed to the key map switched: %.1f ms median, %.1f ms at most (%zu changes); of "
        "it Corvid telling which entry the window belongs to: %.3f ms\n",
        c.switches[c.switches.size() / 2], c.switches.back(), c.switches.size(), decide);
  EndProgramsOfClass(L"RegEdit_RegEdit");
}

// Moves injected from another thread return only after the hook chain ran,
// so their time is the hook's answer time.
void HookWhileAStartWaits() {
  Corvid c(L"bench-hook", Settings("NoSuchClass", false));
  c.app->Hooks().InstallCursorWakeHook();
  MoveProbe probe;
  const double start = MillisecondsNow();
  c.Play(ButtonPress(0x80));
  const double took = MillisecondsNow() - start;
  const std::vector<double> times = probe.Stop();
  c.app->Hooks().RemoveCursorWakeHook();
  if (!times.empty())
    std::printf(
        "App start of a window that never comes: %.1f s; %zu moves answered by the hook in %.2f ms (median), "
        "%.1f ms at most\n",
        took / 1000, times.size(), times[times.size() / 2], times.back());
}

}  // namespace

int main(int argc, char** argv) {
  SetPaths(argc, argv);
  if (NotepadPath().empty()) {
    std::printf("no notepad in this prefix\n");
    return 0;
  }
  ReleaseToFront();
  FollowTheFront();
  EndProgramsOfClass(L"Notepad");
  HookWhileAStartWaits();
  EndProgramsOfClass(L"Notepad");  // the start that waited in vain left one
  return 0;
}
