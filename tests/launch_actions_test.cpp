#include "control/launch_actions.h"

#include <gtest/gtest.h>

#include "config/settings_store.h"
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
    // Blank entries (a fresh file's have the screen as their rectangle).
    for (AppEntry& e : data.Apps) e = AppEntry{};
  }
  AppEntry& Register(int i, int appearAfterPasses = 0) {
    AppEntry& e = data.Apps[static_cast<size_t>(i)];
    e.AppProg = "C:\\Apps\\app" + std::to_string(i + 1) + ".exe";
    e.Class = "Frame" + std::to_string(i + 1);
    e.Message = "App" + std::to_string(i + 1);
    e.Registered = true;
    e.OwnKeyMap = true;
    desktop.programs[e.AppProg] = {"Main", e.Class, appearAfterPasses};
    return e;
  }
  // The entry's program running now, with its window.
  WindowHandle Running(int i) {
    const AppEntry& e = Register(i);
    return desktop.AddWindow(desktop.AddProcess("app" + std::to_string(i + 1) + ".exe"), "Main", e.Class);
  }
  void Press(int app, uint64_t holdMs = 0) {
    a.Report(static_cast<uint8_t>(app));
    if (holdMs) a.p.clock.Advance(holdMs);
    a.Release();
  }
  // The "AutoStart" marks of the settings file.
  std::string Marks() {
    ConfigData d;
    LoadSettings(d, a.p.configFolder + kSettingsFileName, a.p.memoryFiles);
    std::string out;
    for (const AppEntry& e : d.Apps) out += e.AutoStart ? '1' : '0';
    return out;
  }
  uint16_t ActiveProbe() { return engine.ActiveMap()[kProbe].Key; }
  static std::string H(WindowHandle w) { return FakeDesktop::H(w); }

  FakeDesktop desktop;
  HeadlessApp a{true, nullptr, &desktop};
  ConfigData& data = a.data;
  ActionEngine& engine = a.engine;
};

TEST_F(LaunchTest, StartBringsTheWindowToTheFrontInItsPlacementWithItsOwnMap) {
  AppEntry& e = Register(0, 3);
  e.AppProg = "C:\\My Apps\\My Editor.exe";
  desktop.programs[e.AppProg] = {"Untitled", "Frame1", 3};
  e.AppArgs = "-n \"a b.txt\"";
  e.AppPath = "C:\\Work";
  e.Placement = 2;
  e.StartMap = 2;
  e.RecordState = true;
  Press(0);
  const WindowHandle w = desktop.windows.front().handle;
  EXPECT_EQ(desktop.log, (Lines{"start C:\\My Apps\\My Editor.exe | \"C:\\My Apps\\My Editor.exe\" -n \"a b.txt\" | C:\\Work",
                                "maximize " + H(w), "front " + H(w)}));
  EXPECT_EQ(a.messages, Lines{"App1 Exec"});
  EXPECT_EQ(engine.CurrentAppMap(), 1);
  EXPECT_TRUE(engine.MouseMode());
  EXPECT_EQ(ActiveProbe(), 0x61);
  EXPECT_EQ(e.WindowState, 2);
  EXPECT_EQ(e.TargetWindow, w);
  EXPECT_EQ(Marks(), "10000000");
  // A second press restores it to its recorded state.
  desktop.log.clear();
  desktop.windows.front().maximized = false;
  desktop.windows.front().minimized = true;
  e.KeyAction = 2;
  Press(0);
  EXPECT_EQ(desktop.log, (Lines{"maximize " + H(w), "front " + H(w)}));
  EXPECT_EQ(a.messages.back(), "App1 Restore");

  // Normal: its owner shown, the window put back where it was last seen.
  desktop.windows.front().maximized = desktop.windows.front().minimized = false;
  e.KeyAction = 1;
  Press(0);  // records the rectangle
  e.WinRight = e.WinBottom = 900;
  const WindowHandle owner = desktop.AddWindow(e.ProcessId, "", "Owner");
  desktop.windows.front().owner = owner;
  desktop.windows.front().rect = {0, 0, 10, 10};
  desktop.log.clear();
  e.KeyAction = 2;
  Press(0);
  EXPECT_EQ(desktop.log, (Lines{"show " + H(owner), "pos " + H(w) + " at 100,100 size 400x300", "front " + H(w)}));
  EXPECT_EQ(desktop.positionFlags, std::vector<uint32_t>{0x120});

  // Another copy: the entry follows the new one; "Find" is for the first.
  a.app.Windows().Launch().SetFindEnabled(false);
  desktop.log.clear();
  const uint32_t first = e.ProcessId;
  e.KeyAction = 4;
  Press(0);
  EXPECT_EQ(a.messages.back(), "App1 AddExec");
  EXPECT_NE(e.ProcessId, first);
  EXPECT_EQ(e.TargetWindow, desktop.windows.front().handle);
  EXPECT_EQ(desktop.log.at(2), "front " + H(e.TargetWindow));
  EXPECT_FALSE(a.app.Windows().Launch().FindEnabled());
}

// Each placement with the position flags it asks for.
TEST_F(LaunchTest, PlacementAfterAStart) {
  struct Case {
    int32_t placement, left, top, right, bottom;
    Lines moves;  // what is done between the start and the activation; W the window
    std::vector<uint32_t> flags;
    int32_t state;
  };
  const Case cases[] = {
      {1, 40, 30, 640, 430, {}, {}, 0},
      {4, 40, 30, 640, 430, {"minimize W"}, {}, 1},
      {8, 40, 30, 640, 430, {"show W", "pos W at 40,30 size 600x400"}, {0x120}, 0},
      {8, 40, 30, 0, 0, {"show W", "pos W at 40,30"}, {0x121}, 0},
      // A right edge of 0 right of the left one: moved, then sized.
      {8, -50, -40, 0, 300, {"show W", "pos W at -50,-40", "pos W at -50,-40 size 50x340"}, {0x121, 0x120}, 0},
      {8, 40, 30, 20, 430, {"show W"}, {}, 0},
  };
  for (const Case& c : cases) {
    desktop.processes.clear();
    desktop.windows.clear();
    desktop.log.clear();
    desktop.positionFlags.clear();
    AppEntry& e = Register(0);
    e.Placement = c.placement;
    e.WinLeft = c.left;
    e.WinTop = c.top;
    e.WinRight = c.right;
    e.WinBottom = c.bottom;
    Press(0);
    const std::string w = H(e.TargetWindow);
    Lines expected;
    for (std::string line : c.moves) expected.push_back(line.replace(line.find('W'), 1, w));
    expected.push_back("front " + w);
    ASSERT_FALSE(desktop.log.empty());
    EXPECT_EQ(Lines(desktop.log.begin() + 1, desktop.log.end()), expected) << c.placement << " " << c.right;
    EXPECT_EQ(desktop.positionFlags, c.flags) << c.placement << " " << c.right;
    EXPECT_EQ(e.WindowState, c.state);
  }
}

TEST_F(LaunchTest, AWindowNotFoundIsReportedByTheStepThatLookedForIt) {
  Register(0, -1).Class = "NoSuchClass";
  uint64_t before = a.p.clock.NowMs();
  Press(0);
  EXPECT_EQ(a.messages, (Lines{"App1 Exec", "Can't Control target.2"}));
  EXPECT_EQ(desktop.passes, 60 * 20);
  EXPECT_EQ(a.p.clock.NowMs() - before, 1000u + 60 * 20 * 10 + 60 * 20);
  EXPECT_EQ(engine.CurrentAppMap(), 0);
  EXPECT_EQ(desktop.log.size(), 1u);  // the start alone

  // No window can come from a start that failed: reported at once.
  a.messages.clear();
  desktop.processes.clear();
  desktop.programs[Register(1).AppProg].starts = false;
  before = a.p.clock.NowMs();
  Press(1);
  EXPECT_EQ(a.messages, (Lines{"App2 Exec", "Can't Control target.2"}));
  EXPECT_EQ(a.p.clock.NowMs(), before);

  // A program file that is not there: nothing at all.
  a.messages.clear();
  desktop.log.clear();
  Register(2);
  desktop.programs.clear();
  Press(2);
  EXPECT_TRUE(a.messages.empty());
  EXPECT_TRUE(desktop.log.empty());

  // App-1 acted on; "run" its program without a window, "App-2" App-2's.
  struct Case {
    int32_t keyAction;
    uint64_t holdMs;
    std::string running;
    Lines shown;
  };
  const Case cases[] = {
      {2, 0, "run", {"App1 Restore", "Can't Control target.4"}},
      {8, 0, "run", {"App1 Quit", "Can't Control target.5"}},
      {4, 0, "run", {"App1 AddExec", "Can't Control target.3"}},
      {1, 0, "App-2", {"App1 Exec", "Can't Control target.1"}},  // App-2 may run beside it
      // Quit by a long press (the others are left as they are); the next
      // running one has no window.
      {2, 1000, "App-2", {"App1 Quit", "Can't Control target.7"}},
  };
  for (const Case& c : cases) {
    desktop.processes.clear();
    desktop.windows.clear();
    AppEntry& e = Register(0, c.keyAction == 4 ? -1 : 0);
    e.KeyAction = c.keyAction;
    e.CoRunMask = 0b10;
    e.LongPressQuit = true;
    e.LongPressTime = 1000;
    if (c.running == "run") desktop.AddProcess("app1.exe");
    if (c.running == "App-2") {
      if (c.holdMs) Running(0);
      Register(1);
      desktop.AddProcess("app2.exe");
    }
    data.settings.StartMouse = true;
    a.messages.clear();
    Press(0, c.holdMs);
    EXPECT_EQ(a.messages, c.shown) << c.keyAction;
  }
  // Nothing came back after the quit: the basic map in the home mode.
  EXPECT_EQ(engine.CurrentAppMap(), 0);
  EXPECT_TRUE(engine.MouseMode());
}

TEST_F(LaunchTest, OthersAreClosedUnlessTheyMayRunBesideItThenMovedAboveTheScreen) {
  AppEntry& e = Register(0);
  e.CoRunMask = 0b010;  // App-2 may keep running
  e.WinLeft = 40;
  e.WinTop = 30;
  const WindowHandle two = Running(1), three = Running(2);
  // Closed through the window that owns it.
  const WindowHandle threeOwner = desktop.AddWindow(desktop.Find(three)->pid, "", "Owner");
  desktop.Find(three)->owner = threeOwner;
  Press(0);
  EXPECT_TRUE(desktop.HasLine("close " + H(threeOwner)));
  EXPECT_TRUE(desktop.HasLine("pos " + H(two) + " at 40,-1050"));
  EXPECT_EQ(desktop.positionFlags, std::vector<uint32_t>{0x31});
  EXPECT_FALSE(desktop.HasLine("close " + H(two)));
  EXPECT_EQ(data.Apps[2].ProcessId, 0u);
  EXPECT_EQ(a.messages, Lines{"App1 Exec"});
  EXPECT_EQ(engine.CurrentAppMap(), 1);

  // One without a window can be neither closed nor moved: said after the
  // action's own message, which would otherwise cover it at once.
  a.messages.clear();
  Register(3);
  desktop.AddProcess("app4.exe");
  Register(4);
  Press(4);
  EXPECT_EQ(a.messages, (Lines{"App5 Exec", "Can't Control target.0"}));
  EXPECT_EQ(engine.CurrentAppMap(), 5);
}

// A program is its full path: one of the same name in another folder is not
// the entry's, and two entries of one program do not close each other.
TEST_F(LaunchTest, AProgramIsItsFullPath) {
  Register(0);
  desktop.AddWindow(desktop.AddProcess("app1.exe", 0, "D:\\Elsewhere\\app1.exe"), "Main", "Frame1");
  Press(0);
  EXPECT_EQ(a.messages, Lines{"App1 Exec"});  // started, not taken for running

  AppEntry& twin = Register(1);
  twin.AppProg = "c:/apps/APP1.exe";  // the same file, written another way
  twin.Class = "Frame1";
  desktop.programs[twin.AppProg] = {"Main", "Frame1", 0};
  a.messages.clear();
  desktop.log.clear();
  Press(1);
  for (const std::string& line : desktop.log) EXPECT_NE(line.rfind("close", 0), 0u) << line;
  EXPECT_NE(data.Apps[0].ProcessId, 0u);
}

TEST_F(LaunchTest, LongPressQuitsAtTheReleaseAndBringsBackTheNextWithItsOwnMap) {
  AppEntry& e = Register(0);
  e.LongPressQuit = true;
  e.LongPressTime = 1000;
  e.KeyAction = 2;
  const WindowHandle one = Running(0);
  const WindowHandle two = Running(1);
  const WindowHandle oneOwner = desktop.AddWindow(desktop.Find(one)->pid, "", "Owner");
  desktop.Find(one)->owner = oneOwner;
  data.Apps[1].StartMap = 1;
  data.Apps[1].LastLeft = 10;  // where it was last seen
  data.Apps[1].LastTop = 20;
  data.Apps[1].LastRight = 410;
  data.Apps[1].LastBottom = 320;
  desktop.clock = &a.p.clock;  // and slow to come back from the task bar
  desktop.Find(two)->minimized = true;
  desktop.Find(two)->lagMs = 600;
  a.Report(0);
  a.p.clock.Advance(1000);
  EXPECT_EQ(a.messages, Lines{"App1 Quit"});  // at once
  a.Release();
  EXPECT_EQ(a.messages, (Lines{"App1 Quit", "App2 Restore"}));
  EXPECT_EQ(desktop.log, (Lines{"close " + H(oneOwner), "show " + H(two), "show " + H(two), "restore " + H(two),
                                "pos " + H(two) + " at 10,20 size 400x300", "front " + H(two)}));
  EXPECT_EQ(desktop.positionFlags, std::vector<uint32_t>{0x120});
  EXPECT_EQ(engine.CurrentAppMap(), 2);
  EXPECT_EQ(ActiveProbe(), 0x42);
  EXPECT_FALSE(engine.LongPressed());

  // The last one quit: the basic map in the home mode.
  data.settings.StartMouse = true;
  data.Apps[1].KeyAction = 8;
  Press(1);
  EXPECT_EQ(a.messages.back(), "App2 Quit");
  EXPECT_EQ(engine.CurrentAppMap(), 0);
  EXPECT_TRUE(engine.MouseMode());
  EXPECT_EQ(ActiveProbe(), 0x60);

  // A long press on a program that does not run starts it.
  a.messages.clear();
  Press(0, 1500);
  EXPECT_EQ(a.messages, Lines{"App1 Exec"});
  EXPECT_EQ(engine.CurrentAppMap(), 1);
}

TEST_F(LaunchTest, OnlyTheLastEntryStartedWithRecordStateStaysMarked) {
  AppEntry& first = Register(0);
  first.RecordState = true;
  first.KeyAction = 2;  // a press while it runs brings it back
  Register(1);
  Press(0);
  EXPECT_EQ(Marks(), "10000000");
  const int writes = a.p.memoryFiles.writes;
  Press(0);  // brought back: the file holds its marks already, and is not written
  EXPECT_EQ(a.p.memoryFiles.writes, writes);
  EXPECT_EQ(Marks(), "10000000");
  Press(1);  // App-1 may not run beside it: closed
  EXPECT_EQ(data.Apps[0].ProcessId, 0u);
  EXPECT_EQ(Marks(), "00000000");
  // A file that refuses the marks is told in the trace, not in a box that
  // would run the remote's reports in the middle of the action.
  a.p.memoryFiles.readOnly.insert(a.p.configFolder + kSettingsFileName);
  Press(0);
  const Lines trace = a.app.DebugLog().Lines();
  EXPECT_NE(std::find(trace.begin(), trace.end(), "AutoStart could not be written to the settings file."), trace.end());
  EXPECT_TRUE(a.p.boxes.shown.empty());
  EXPECT_EQ(engine.CurrentAppMap(), 1);
}

TEST_F(LaunchTest, AllQuitClosesWhatRunsAndReportsWhatHasNoWindow) {
  LaunchSettings& dialog = a.app.Windows().Launch();
  dialog.SetFindEnabled(true);
  a.Report(kQuitAllButton);
  a.Release();
  EXPECT_EQ(a.messages, Lines{"All Quit"});
  EXPECT_TRUE(desktop.log.empty());
  EXPECT_FALSE(dialog.FindEnabled());

  const WindowHandle one = Running(0);
  const WindowHandle oneOwner = desktop.AddWindow(desktop.Find(one)->pid, "", "Owner");
  desktop.Find(one)->owner = oneOwner;
  Register(1);
  desktop.AddProcess("app2.exe");  // running without a window
  engine.SetCurrentAppMap(1);
  a.messages.clear();
  dialog.SetFindEnabled(true);
  const int passes = desktop.passes;
  a.Report(kQuitAllButton);
  a.Release();
  EXPECT_EQ(a.messages, (Lines{"All Quit", "Can't Control Target.6"}));
  EXPECT_EQ(desktop.log, Lines{"close " + H(oneOwner)});
  EXPECT_EQ(desktop.passes - passes, 1 + 100 * 20);
  EXPECT_EQ(engine.CurrentAppMap(), 0);
  EXPECT_FALSE(dialog.FindEnabled());
}

TEST_F(LaunchTest, PressThatDoesNothingStillRecordsRaisesAndClicks) {
  AppEntry& e = Register(0);
  const WindowHandle w = Running(0);
  e.KeyAction = 2;
  Press(0);  // finds the window
  desktop.log.clear();
  desktop.positionFlags.clear();
  a.messages.clear();
  e.KeyAction = 1;
  e.LaunchTopmost = true;
  e.DummyClick = true;
  e.ClickX = 10;
  e.ClickY = 20;
  e.ActivateDelay = 300;
  desktop.cursorX = 7;
  desktop.cursorY = 8;
  const uint64_t before = a.p.clock.NowMs();
  Press(0);
  EXPECT_TRUE(a.messages.empty());
  EXPECT_EQ(desktop.log, (Lines{"pos " + H(w) + " topmost", "cursor 110,120", "click", "cursor 7,8"}));
  EXPECT_EQ(desktop.positionFlags, std::vector<uint32_t>{0x3});
  EXPECT_EQ(a.p.clock.NowMs() - before, 300u);

  // Hung during the delay: no click is left in its queue.
  desktop.clock = &a.p.clock;
  desktop.Find(w)->hangsAtMs = a.p.clock.NowMs() + 100;
  desktop.log.clear();
  Press(0);
  EXPECT_EQ(desktop.log, Lines{"pos " + H(w) + " topmost"});
  EXPECT_EQ(a.messages, Lines{"App1 Not Responding"});
}

// Changes are asked without waiting: the state the action records is read
// once they show, or after half a second when they never do.
TEST_F(LaunchTest, ChangesAreGivenAMomentToShowBeforeTheStateIsRead) {
  desktop.clock = &a.p.clock;
  AppEntry& e = Register(0);
  e.KeyAction = 2;
  e.WindowState = 2;
  const WindowHandle w = Running(0);
  desktop.Find(w)->lagMs = 25;
  uint64_t before = a.p.clock.NowMs();
  Press(0);
  EXPECT_EQ(a.p.clock.NowMs() - before, 10u + 30);  // a pass of the search, then the wait in slices
  EXPECT_EQ(e.WindowState, 2);

  desktop.Find(w)->maximized = false;
  desktop.Find(w)->lagMs = 60000;
  before = a.p.clock.NowMs();
  Press(0);
  EXPECT_EQ(a.p.clock.NowMs() - before, 10u + 500);
  EXPECT_EQ(e.WindowState, 0);
}

// A program that stopped taking its messages is said so and left alone at
// once: nothing waits for it, so the remote's next press acts on time.
TEST_F(LaunchTest, HungProgramIsSaidSoAndNothingWaitsForIt) {
  desktop.clock = &a.p.clock;
  AppEntry& e = Register(0);
  e.KeyAction = 2;
  e.LongPressQuit = true;
  e.LongPressTime = 1000;
  e.CoRunMask = 0xFF;
  e.DummyClick = true;
  const WindowHandle hung = Running(0);
  desktop.Find(hung)->hung = true;
  const auto took = [this](auto act) {
    const uint64_t before = a.p.clock.NowMs();
    act();
    return a.p.clock.NowMs() - before;
  };
  // The trace's word on hung windows so far.
  const auto hungLines = [this] {
    Lines out;
    for (const std::string& line : a.app.DebugLog().Lines())
      if (line.rfind("NOT RESPONDING", 0) == 0) out.push_back(line);
    return out;
  };
  const std::string one = "NOT RESPONDING > App-1 app1.exe";

  // Restore: one pass of the search, no wait for the program to be idle.
  EXPECT_EQ(took([&] { Press(0); }), 10u);
  EXPECT_EQ(a.messages, (Lines{"App1 Restore", "App1 Not Responding"}));
  EXPECT_TRUE(desktop.log.empty());
  EXPECT_EQ(hungLines(), Lines{one});

  // A long press posts the close and ends; the program stays as it is.
  a.messages.clear();
  a.Report(0);
  a.p.clock.Advance(1000);
  EXPECT_EQ(took([&] { a.Release(); }), 10u);
  EXPECT_EQ(a.messages, (Lines{"App1 Quit", "App1 Not Responding"}));
  EXPECT_EQ(desktop.log, Lines{"close " + H(hung)});
  EXPECT_NE(desktop.Find(hung), nullptr);
  EXPECT_FALSE(engine.LongPressed());

  // Moved out of view beside another, as asked; the next press starts that
  // one at its own time.
  Register(1, 0).Placement = 2;
  data.Apps[1].CoRunMask = 0xFF;
  desktop.log.clear();
  a.messages.clear();
  EXPECT_EQ(took([&] { Press(1); }), 10u + 1000 + 10 + 20);
  EXPECT_EQ(desktop.startTimes.back(), a.p.clock.NowMs() - 1000 - 10 - 20);
  EXPECT_TRUE(desktop.HasLine("pos " + H(hung) + " at 0,-1080"));
  EXPECT_EQ(a.messages, Lines{"App2 Exec"});
  EXPECT_EQ(hungLines(), (Lines{one, one, one}));
  EXPECT_EQ(engine.CurrentAppMap(), 2);

  // Quit, the other one is not brought back: the basic map returns.
  data.Apps[1].KeyAction = 8;
  const WindowHandle two = data.Apps[1].TargetWindow;
  desktop.log.clear();
  a.messages.clear();
  EXPECT_EQ(took([&] { Press(1); }), 10u + 10 + 400 + 10);
  EXPECT_EQ(a.messages, (Lines{"App2 Quit", "App1 Restore", "App1 Not Responding"}));
  EXPECT_EQ(desktop.log, (Lines{"pos " + H(hung) + " at 0,-1080", "close " + H(two)}));
  EXPECT_EQ(engine.CurrentAppMap(), 0);

  // All Quit asks it to close and says it may not.
  a.messages.clear();
  EXPECT_EQ(took([&] {
              a.Report(kQuitAllButton);
              a.Release();
            }),
            10u + 20);
  EXPECT_EQ(a.messages, (Lines{"All Quit", "App1 Not Responding"}));
  EXPECT_EQ(desktop.windows.size(), 1u);

  // A started program that hangs is not placed, raised or clicked into.
  AppEntry& three = Register(2);
  three.Placement = 2;
  three.DummyClick = true;
  three.CoRunMask = 0xFF;
  desktop.programs[three.AppProg].hangs = true;
  desktop.log.clear();
  a.messages.clear();
  EXPECT_EQ(took([&] { Press(2); }), 10u + 1000 + 10 + 20);
  EXPECT_EQ(desktop.log.size(), 2u);  // the hung one moved, the start
  EXPECT_EQ(a.messages, (Lines{"App3 Exec", "App3 Not Responding"}));
  EXPECT_EQ(hungLines().back(), "NOT RESPONDING > App-3 app3.exe");
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
  EXPECT_EQ(desktop.startTimes.size(), 2u);
  EXPECT_EQ(a.messages.at(0), "app0.exe Exec");  // no message of its own: the program's name
  // 1000 ms before each; a pass (10 ms) for each window moved out of view
  // first; between them the first one's 1000 ms of settling, its window
  // found (10 + 20 ms) and 100 ms.
  EXPECT_EQ(desktop.startTimes.at(0), 1000u + 10);
  EXPECT_EQ(desktop.startTimes.at(1) - desktop.startTimes.at(0), 1000u + 10 + 20 + 100 + 1000 + 2 * 10);
  EXPECT_TRUE(a.engine.MouseMode());
  EXPECT_EQ(a.Log().back(), "【 App-3 】のマウス併用割付モードです。");
}

}  // namespace
}  // namespace corvid
