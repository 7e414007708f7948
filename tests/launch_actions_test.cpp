#include "control/launch_actions.h"

#include <gtest/gtest.h>

#include <tuple>

#include "config/settings_store.h"
#include "fakes/expected_text.h"
#include "fakes/headless_app.h"

namespace corvid {
namespace {

constexpr uint8_t kQuitAllButton = 0x09;  // NUM0; NUM1.. are App-1..
constexpr uint8_t kProbe = 0x0B;          // ENTER: tells which map is active

class LaunchTest : public ::testing::Test {
 protected:
  LaunchTest() {
    for (int m = 0; m < kMapCount; ++m) {
      for (int k = 0; k < kAppCount; ++k) {
        data.KeyboardMap.at(static_cast<uint8_t>(k), m) = {7, static_cast<uint32_t>(k), ""};
        data.MouseMap.at(static_cast<uint8_t>(k), m) = {7, static_cast<uint32_t>(k), ""};
      }
      data.KeyboardMap.at(kQuitAllButton, m) = {7, 255, ""};
      data.KeyboardMap.at(kProbe, m) = {static_cast<uint16_t>(0x40 + m), 0, ""};
      data.MouseMap.at(kProbe, m) = {static_cast<uint16_t>(0x60 + m), 0, ""};
    }
    engine.SelectKeyMap(0, ModeRequest::Keyboard);
    data.settings.DispChange = false;
    for (AppEntry& e : data.Apps) e = AppEntry{};  // a fresh file's have the screen as their rectangle
  }
  void TearDown() override { ExpectTranscript("launch", transcript); }
  AppEntry& Register(int i, int appearAfterPasses = 0) {
    AppEntry& e = data.Apps[static_cast<size_t>(i)];
    e.AppProg = "C:\\Apps\\app" + std::to_string(i + 1) + ".exe";
    e.Class = "Frame" + std::to_string(i + 1);
    e.Message = "App" + std::to_string(i + 1);
    e.Registered = e.OwnKeyMap = true;
    e.LongPressTime = 1000;
    desktop.programs[e.AppProg] = {"Main", e.Class, appearAfterPasses};
    return e;
  }
  WindowHandle Running(int i, bool owned = false) {
    const AppEntry& e = Register(i);
    const uint32_t pid = desktop.AddProcess("app" + std::to_string(i + 1) + ".exe");
    const WindowHandle w = desktop.AddWindow(pid, "Main", e.Class);
    if (owned) desktop.Find(w)->owner = desktop.AddWindow(pid, "", "Owner" + std::to_string(i + 1));
    return w;
  }
  // A press and what it did: the ms it took at the release, messages, calls on windows named by class, trace,
  // maps, file marks, entry. App -1 releases a press made already.
  void Did(const std::string& step, int app, uint64_t holdMs = 0) {
    Name();
    desktop.log.clear();
    a.messages.clear();
    a.app.DebugLog().Clear();
    transcript.push_back("== " + step);
    if (app >= 0) a.Report(static_cast<uint8_t>(app));
    if (holdMs) a.p.clock.Advance(holdMs);
    const uint64_t before = a.p.clock.NowMs();
    a.Release();
    transcript.push_back(std::to_string(a.p.clock.NowMs() - before) + " ms");
    Name();
    transcript.insert(transcript.end(), a.messages.begin(), a.messages.end());
    for (std::string line : desktop.log) {
      const size_t at = line.find('#');
      if (at != std::string::npos) line.replace(at, line.find(' ', at) - at, names[std::stoul(line.substr(at + 1))]);
      transcript.push_back(line);
    }
    for (const std::string& line : a.app.DebugLog().Lines())
      if (line.starts_with("NOT RESPONDING") || line.starts_with("AutoStart")) transcript.push_back(line);
    const uint16_t probe = engine.ActiveMap()[kProbe].Key;
    ConfigData file;
    LoadSettings(file, a.p.configFolder + kSettingsFileName, a.p.memoryFiles);
    std::string marks;
    for (const AppEntry& e : file.Apps) marks += e.AutoStart ? '1' : '0';
    transcript.push_back("map " + std::to_string(engine.CurrentAppMap()) + ", " + (probe >= 0x60 ? "mouse " : "keys ") +
                         std::to_string(probe & 0xF) + ", marks " + marks +
                         (a.app.Windows().Launch().FindEnabled() ? ", Find" : "") +
                         (engine.LongPressed() ? ", held" : ""));
    const AppEntry& e = data.Apps[static_cast<size_t>(app < 0 || app >= kAppCount ? 0 : app)];
    transcript.push_back("entry: state " + std::to_string(e.WindowState) + ", window " + names[e.TargetWindow] +
                         ", rectangle " + std::to_string(e.LastLeft) + "," + std::to_string(e.LastTop) + "," +
                         std::to_string(e.LastRight) + "," + std::to_string(e.LastBottom));
  }
  void Name() {
    for (const FakeWindow& w : desktop.windows) {
      if (names.count(w.handle)) continue;
      const auto same = std::count_if(names.begin(), names.end(), [&](auto& n) {
        return n.second == w.className || n.second.starts_with(w.className + " ");
      });
      names[w.handle] = w.className + (same ? " " + std::to_string(same + 1) : "");
    }
  }

  FakeDesktop desktop;
  HeadlessApp a{true, nullptr, &desktop};
  ConfigData& data = a.data;
  ActionEngine& engine = a.engine;
  Lines transcript;
  std::map<WindowHandle, std::string> names{{0, "none"}};
};

TEST_F(LaunchTest, StartBringsTheWindowToTheFrontInItsPlacementWithItsOwnMap) {
  AppEntry& e = Register(0, 3);
  e.AppProg = "C:\\My Apps\\My Editor.exe";
  desktop.programs[e.AppProg] = {"Untitled", "Frame1", 3};
  e.AppArgs = "-n \"a b.txt\"";
  e.AppPath = "C:\\Work";
  e.Placement = e.StartMap = 2;
  e.RecordState = true;
  Did("started maximised, in front, with its own map in the mouse mode", 0);
  desktop.windows.front().maximized = false;
  e.KeyAction = 2;
  Did("a second press restores its recorded state", 0);
  desktop.windows.front().maximized = false;
  e.KeyAction = 1;
  Did("a press that does nothing records the rectangle", 0);
  e.WinRight = e.WinBottom = 900;
  desktop.windows.front().owner = desktop.AddWindow(e.ProcessId, "", "Owner");
  desktop.windows.front().rect = {0, 0, 10, 10};
  e.KeyAction = 2;
  Did("restored normal: its owner shown, the window put back where it was last seen", 0);
  a.app.Windows().Launch().SetFindEnabled(false);
  e.KeyAction = 4;
  Did("another copy: the entry follows the new one; Find is for the first", 0);
}

TEST_F(LaunchTest, PlacementAfterAStart) {
  const std::array<int32_t, 5> cases[] = {{1, 40, 30, 640, 430}, {4, 40, 30, 640, 430}, {8, 40, 30, 640, 430},
                                          {8, 40, 30, 0, 0},     {8, -50, -40, 0, 300}, {8, 40, 30, 20, 430}};
  for (const auto& [placement, left, top, right, bottom] : cases) {
    desktop.processes.clear();
    desktop.windows.clear();
    AppEntry& e = Register(0);
    e.Placement = placement;
    std::tie(e.WinLeft, e.WinTop, e.WinRight, e.WinBottom) = std::tie(left, top, right, bottom);
    Did("placement " + std::to_string(placement) + " to " + std::to_string(left) + "," + std::to_string(top) + "," +
            std::to_string(right) + "," + std::to_string(bottom),
        0);
  }
}

TEST_F(LaunchTest, AWindowNotFoundIsReportedByTheStepThatLookedForIt) {
  Register(0, -1).Class = "NoSuchClass";
  Did("no window after the start: 60 rounds of 20 passes", 0);
  EXPECT_EQ(desktop.passes, 60 * 20);
  desktop.processes.clear();
  desktop.programs[Register(1).AppProg].starts = false;
  Did("a start that failed is said at once", 1);
  Register(2);
  desktop.programs.clear();
  Did("a program file that is not there: nothing", 2);
  // App-1 acted on with its program running without a window, or with App-2's.
  const std::tuple<int32_t, uint64_t, bool, std::string> cases[] = {
      {2, 0, false, "restore"},
      {8, 0, false, "quit"},
      {4, 0, false, "another copy"},
      {1, 0, true, "App-2 may run beside it"},
      {2, 1000, true, "a long press quits, the next running one has no window"},
  };
  data.settings.StartMouse = true;
  for (const auto& [keyAction, holdMs, runsTwo, step] : cases) {
    desktop.processes.clear();
    desktop.windows.clear();
    AppEntry& e = Register(0, keyAction == 4 ? -1 : 0);
    e.KeyAction = keyAction;
    e.CoRunMask = 0b10;
    e.LongPressQuit = true;
    if (!runsTwo) desktop.AddProcess("app1.exe");
    if (holdMs) Running(0);
    if (runsTwo) {
      Register(1);
      desktop.AddProcess("app2.exe");
    }
    Did(step, 0, holdMs);
  }
}

TEST_F(LaunchTest, OthersAreClosedUnlessTheyMayRunBesideItThenMovedAboveTheScreen) {
  AppEntry& e = Register(0);
  e.CoRunMask = 0b010;  // App-2 may keep running
  std::tie(e.WinLeft, e.WinTop) = std::tuple(40, 30);
  Running(1);
  Running(2, true);
  Did("App-3 closed through its owner, App-2 moved above the screen", 0);
  Register(3);
  desktop.AddProcess("app4.exe");
  Register(4);
  Did("one without a window is said after the action's own message", 4);
}

// A program is its full path: one of the same name in another folder is not
// the entry's, and two entries of one program do not close each other.
TEST_F(LaunchTest, AProgramIsItsFullPath) {
  Register(0);
  desktop.AddWindow(desktop.AddProcess("app1.exe", 0, "D:\\Elsewhere\\app1.exe"), "Main", "Frame1");
  Did("app1.exe of another folder is not taken for running", 0);
  AppEntry& twin = Register(1);
  twin.AppProg = "c:/apps/APP1.exe";  // the same file, written another way
  twin.Class = "Frame1";
  desktop.programs[twin.AppProg] = {"Main", "Frame1", 0};
  Did("the same program in another entry is not closed", 1);
}

TEST_F(LaunchTest, LongPressQuitsAtTheReleaseAndBringsBackTheNextWithItsOwnMap) {
  AppEntry& e = Register(0);
  e.LongPressQuit = true;
  e.KeyAction = 2;
  Running(0, true);
  const WindowHandle two = Running(1);
  AppEntry& next = data.Apps[1];
  next.StartMap = 1;
  std::tie(next.LastLeft, next.LastTop, next.LastRight, next.LastBottom) = std::tuple(10, 20, 410, 320);  // last seen
  desktop.clock = &a.p.clock;  // and slow to come back from the task bar
  desktop.Find(two)->minimized = true;
  desktop.Find(two)->lagMs = 600;
  a.Report(0);
  a.p.clock.Advance(1000);
  EXPECT_EQ(a.messages, Lines{"App1 Quit"});  // at once
  Did("the release quits App-1 and brings back App-2", -1);
  data.settings.StartMouse = true;
  next.KeyAction = 8;
  Did("the last one quit: the basic map in the home mode", 1);
  Did("a long press on a program that does not run starts it", 0, 1500);
}

TEST_F(LaunchTest, OnlyTheLastEntryStartedWithRecordStateStaysMarked) {
  AppEntry& first = Register(0);
  first.RecordState = true;
  first.KeyAction = 2;
  Register(1);
  Did("started", 0);
  const int writes = a.p.memoryFiles.writes;
  Did("brought back: the file holds its marks already", 0);
  EXPECT_EQ(a.p.memoryFiles.writes, writes);
  Did("App-1 may not run beside App-2: closed and unmarked", 1);
  // Told in the trace, not in a box that would run the remote's reports in the middle of the action.
  a.p.memoryFiles.readOnly.insert(a.p.configFolder + kSettingsFileName);
  Did("a file that refuses the marks", 0);
  EXPECT_TRUE(a.p.boxes.shown.empty());
}

TEST_F(LaunchTest, AllQuitClosesWhatRunsAndReportsWhatHasNoWindow) {
  a.app.Windows().Launch().SetFindEnabled(true);
  Did("nothing runs", kQuitAllButton);
  Running(0, true);
  Register(1);
  desktop.AddProcess("app2.exe");  // running without a window
  engine.SetCurrentAppMap(1);
  const int passes = desktop.passes;
  Did("App-1 closed through its owner, App-2 without a window", kQuitAllButton);
  EXPECT_EQ(desktop.passes - passes, 1 + 100 * 20);
}

// The state recorded is read once changes show, or after half a second.
TEST_F(LaunchTest, ChangesAreGivenAMomentToShowAndAPressThatDoesNothingStillRecordsRaisesAndClicks) {
  desktop.clock = &a.p.clock;
  AppEntry& e = Register(0);
  e.KeyAction = e.WindowState = 2;
  FakeWindow& w = *desktop.Find(Running(0));
  w.lagMs = 25;
  Did("maximised 25 ms late", 0);
  w.maximized = false;
  w.lagMs = 60000;
  Did("never maximised", 0);
  e.KeyAction = 1;
  e.LaunchTopmost = e.DummyClick = true;
  std::tie(e.ClickX, e.ClickY) = std::tuple(10, 20);
  e.ActivateDelay = 300;
  std::tie(desktop.cursorX, desktop.cursorY) = std::tuple(7, 8);
  Did("topmost, a click after the delay, the cursor put back", 0);
  w.hangsAtMs = a.p.clock.NowMs() + 100;
  Did("hung during the delay: no click is left in its queue", 0);
}

TEST_F(LaunchTest, HungProgramIsSaidSoAndNothingWaitsForIt) {
  desktop.clock = &a.p.clock;
  AppEntry& e = Register(0);
  e.KeyAction = 2;
  e.LongPressQuit = e.DummyClick = true;
  e.CoRunMask = 0xFF;
  const WindowHandle hung = Running(0);
  desktop.Find(hung)->hung = true;
  Did("restore: one pass of the search, no wait for the program to be idle", 0);
  Did("a long press posts the close and ends", 0, 1000);
  Register(1, 0).Placement = 2;
  data.Apps[1].CoRunMask = 0xFF;
  Did("moved out of view beside another, which starts at its own time", 1);
  EXPECT_EQ(desktop.startTimes.back(), a.p.clock.NowMs() - 1000 - 10 - 20);
  data.Apps[1].KeyAction = 8;
  Did("the other one quit: the hung one is not brought back", 1);
  Did("All Quit asks it to close and says it may not", kQuitAllButton);
  AppEntry& three = Register(2);
  three.Placement = 2;
  three.DummyClick = true;
  three.CoRunMask = 0xFF;
  desktop.programs[three.AppProg].hangs = true;
  Did("a started program that hangs is not placed, raised or clicked into", 2);
}

TEST(LaunchStartUp, RecordedProgramsStartASecondApartUnlessRunningAndChooseTheMode) {
  FakeDesktop desktop;
  HeadlessApp a(false, nullptr, &desktop);
  desktop.clock = &a.p.clock;
  for (int i : {0, 1, 2, 3}) {
    AppEntry& e = a.data.Apps[static_cast<size_t>(i)];
    e.AppProg = "C:\\app" + std::to_string(i) + ".exe";
    e.AutoStart = true;
    e.Registered = i != 3;  // a mark in the file alone starts nothing
    desktop.programs[e.AppProg] = {"Main", "", 0};
  }
  a.data.Apps[0].CoRunMask = a.data.Apps[2].CoRunMask = 0xFF;
  a.data.Apps[2].StartMap = 2;
  desktop.AddWindow(desktop.AddProcess("app1.exe"), "Main", "");
  a.app.StartUp();
  EXPECT_EQ(a.messages.at(0), "app0.exe Exec");  // no message of its own: the program's name
  // 1000 ms before each, 10 for each window moved out of view first; between
  // them the first's 1000 ms of settling, its window found (10 + 20) and 100.
  EXPECT_EQ(desktop.startTimes, (std::vector<uint64_t>{1010, 1010 + 1000 + 10 + 20 + 100 + 1000 + 2 * 10}));
  EXPECT_TRUE(a.engine.MouseMode());
  EXPECT_EQ(a.Log().back(), "【 App-3 】のマウス併用割付モードです。");
}

}  // namespace
}  // namespace corvid
