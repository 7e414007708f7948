#include "ui/launch_settings.h"

#include <gtest/gtest.h>

#include "config/settings_store.h"
#include "fakes/headless_app.h"

namespace corvid {
namespace {

constexpr const char* kProg = "C:\\Apps\\app1.exe";
// The placements only a window class allows.
constexpr LaunchRadio kClassPlacements[] = {LaunchRadio::Maximised, LaunchRadio::Minimised, LaunchRadio::Rectangle};

struct FakeFileDialog : ProgramFileDialog {
  bool Choose(const std::string& folder, std::string& out) override {
    folders.push_back(folder);
    if (chosen.empty()) return false;
    out = chosen;
    return true;
  }
  std::string chosen;  // empty: the user cancels
  std::vector<std::string> folders;
};

class LaunchSettingsTest : public ::testing::Test {
 protected:
  LaunchSettingsTest() {
    a.app.Windows().Editor().Close();  // shown by the first start
    dialog.SetFileDialog(&files);
    desktop.programs[kProg] = {"Main", "Frame1", 0};
  }
  AppEntry& App(int i) { return data.Apps[static_cast<size_t>(i)]; }
  void Open() { a.app.RunTrayCommand(a.app.Menu().Click(MenuItem::LaunchSettings)); }
  std::string File() { return a.p.memoryFiles.files[a.app.Settings().Path()]; }

  FakeDesktop desktop;
  HeadlessApp a{true, nullptr, &desktop};
  ConfigData& data = a.data;
  ActionEngine& engine = a.engine;
  LaunchSettings& dialog = a.app.Windows().Launch();
  FakeFileDialog files;
};

TEST_F(LaunchSettingsTest, LoadingAnEntryIsItsHandlersAtWork) {
  AppEntry& gone = App(1);
  gone.AppProg = "C:\\Gone\\old.exe";
  gone.AppPath = "C:\\Gone\\";
  gone.AppArgs = "-x";
  gone.Class = "Old";
  gone.Caption = "Old one";
  gone.Registered = gone.OwnKeyMap = true;
  a.app.Settings().SaveAppEntries();

  Open();
  EXPECT_EQ(engine.CurrentAppMap(), 1);
  // From the first opening on, an empty entry shows what the file says of
  // it: delays of 1000 and the whole screen.
  EXPECT_NE(File().find("AppSetConst=1,1,0,0,0,0,0,0,0,0,0,0,1920,1080,0,0,1000,1000"), std::string::npos);
  EXPECT_EQ(App(0).ActivateDelay, 1000);
  EXPECT_EQ(App(0).LongPressTime, 1000);
  EXPECT_EQ(dialog.Field(LaunchField::ActivateDelay).text, "1000");
  EXPECT_EQ(dialog.Field(LaunchField::RectRight).text + "x" + dialog.Field(LaunchField::RectBottom).text, "1920x1080");
  // The entry's own co-run box is ticked and cannot be unticked.
  EXPECT_EQ(App(0).CoRunMask, 1);
  EXPECT_FALSE(dialog.Check(LaunchSettings::CoRunCheck(0)).enabled);

  // The program file has vanished: its folder, arguments, class and caption
  // go, and the own map cannot be ticked; "取消" brings them back.
  dialog.SelectEntry(1);
  EXPECT_EQ(engine.CurrentAppMap(), 2);
  EXPECT_EQ(App(0).CoRunMask, 1);
  EXPECT_EQ(App(1).CoRunMask, 2);
  EXPECT_FALSE(gone.Registered);
  EXPECT_EQ(gone.AppPath + gone.AppArgs + gone.Class + gone.Caption, "");
  EXPECT_FALSE(dialog.Check(LaunchCheck::OwnKeyMap).enabled);
  EXPECT_TRUE(dialog.Check(LaunchCheck::OwnKeyMap).checked);
  EXPECT_FALSE(dialog.EditorButtonEnabled());
  dialog.Cancel();
  EXPECT_EQ(gone.AppPath, "C:\\Gone\\");
  EXPECT_EQ(gone.Caption, "Old one");
  EXPECT_EQ(dialog.Field(LaunchField::Arguments).text, "-x");
  EXPECT_TRUE(dialog.Visible());
}

TEST_F(LaunchSettingsTest, PlacementBoxesAndTheClassThatAllowsThem) {
  AppEntry& e = App(2);
  e.Class = "Frame";
  e.Placement = 8;
  e.WinLeft = 10, e.WinTop = 20, e.WinRight = 800, e.WinBottom = 600;
  Open();
  // The first entry shown has no class and no program: whatever the
  // handlers did not run for, only "通常" and no own map are offered.
  for (LaunchRadio r : kClassPlacements) EXPECT_FALSE(dialog.Radio(r).enabled);
  EXPECT_FALSE(dialog.Check(LaunchCheck::OwnKeyMap).enabled);
  dialog.SelectEntry(2);
  for (LaunchRadio r : kClassPlacements) EXPECT_TRUE(dialog.Radio(r).enabled);
  EXPECT_TRUE(dialog.Radio(LaunchRadio::Rectangle).checked);
  EXPECT_TRUE(dialog.Field(LaunchField::RectRight).enabled);
  EXPECT_EQ(dialog.Field(LaunchField::RectRight).colour, BoxColour::White);

  // A number box that holds no integer keeps the last value, without a box;
  // the note beside its row shows.
  dialog.SetField(LaunchField::RectLeft, "-");
  EXPECT_TRUE(dialog.RectangleInvalid());
  EXPECT_FALSE(dialog.ClickPointInvalid());
  EXPECT_EQ(e.WinLeft, 10);
  EXPECT_TRUE(a.p.boxes.shown.empty());
  dialog.SetField(LaunchField::RectLeft, "-15");
  dialog.SetField(LaunchField::ClickY, "1.5");
  EXPECT_FALSE(dialog.RectangleInvalid());
  EXPECT_TRUE(dialog.ClickPointInvalid());
  EXPECT_EQ(e.WinLeft, -15);

  dialog.SelectRadio(LaunchRadio::Maximised);  // "最大化"
  EXPECT_EQ(e.Placement, 2);
  EXPECT_EQ((std::array{e.WinLeft, e.WinTop, e.WinRight, e.WinBottom}), (std::array{0, 0, 0, 0}));
  EXPECT_EQ(dialog.Field(LaunchField::RectTop).colour, BoxColour::Face);
  dialog.SelectRadio(LaunchRadio::Rectangle);  // "指定"
  for (LaunchField f : {LaunchField::RectLeft, LaunchField::RectTop, LaunchField::RectRight, LaunchField::RectBottom})
    EXPECT_EQ(dialog.Field(f).text, "0");
  EXPECT_TRUE(dialog.Field(LaunchField::RectBottom).enabled);

  // Without a class only "通常" can be chosen.
  dialog.SetField(LaunchField::TargetClass, "");
  EXPECT_EQ(e.Placement, 1);
  EXPECT_TRUE(dialog.Radio(LaunchRadio::Normal).checked);
  for (LaunchRadio r : kClassPlacements) EXPECT_FALSE(dialog.Radio(r).enabled);
  dialog.SetField(LaunchField::TargetClass, "Frame");
  dialog.SelectRadio(LaunchRadio::Minimised);  // "最小化"
  EXPECT_EQ(e.Placement, 4);
  dialog.SelectRadio(LaunchRadio::Normal);
  EXPECT_EQ(e.Placement, 1);
}

TEST_F(LaunchSettingsTest, RadiosBoxesAndBarsStoreWhatTheyShow) {
  AppEntry& e = App(1);
  e.KeyAction = 4;  // a hidden choice
  e.StartMap = 2;
  e.CoRunMask = 0x81;
  e.DummyClick = true;
  e.LongPressQuit = false;
  e.ActivateDelay = 100;
  Open();
  dialog.SelectEntry(1);
  EXPECT_TRUE(dialog.Radio(LaunchRadio::Another).checked);
  EXPECT_EQ(dialog.StartMode(), 2);
  EXPECT_EQ(e.CoRunMask, 0x83);  // its own bit set
  EXPECT_TRUE(dialog.Check(LaunchSettings::CoRunCheck(7)).checked);
  EXPECT_FALSE(dialog.Check(LaunchSettings::CoRunCheck(2)).checked);
  EXPECT_EQ(e.ActivateDelay, kDelayMin);  // stored at once at the bar's end
  EXPECT_EQ(dialog.Field(LaunchField::ActivateDelay).text, "500");
  EXPECT_TRUE(dialog.Field(LaunchField::ClickX).enabled);
  EXPECT_EQ(dialog.Field(LaunchField::ClickY).colour, BoxColour::Window);
  EXPECT_FALSE(dialog.Field(LaunchField::LongPressTime).enabled);
  EXPECT_EQ(dialog.Field(LaunchField::LongPressTime).colour, BoxColour::Face);

  dialog.SelectRadio(LaunchRadio::Nothing);  // "何もしない"
  EXPECT_EQ(e.KeyAction, 1);
  dialog.SelectRadio(LaunchRadio::Restore);  // "起動状態の復帰"
  EXPECT_EQ(e.KeyAction, 2);
  EXPECT_FALSE(dialog.Radio(LaunchRadio::Another).checked);
  dialog.SetStartMode(1);
  EXPECT_EQ(e.StartMap, 1);
  EXPECT_EQ(engine.CurrentAppMap(), 2);
  dialog.SetChecked(LaunchSettings::CoRunCheck(2), true);  // "3"
  dialog.SetChecked(LaunchSettings::CoRunCheck(7), false);
  EXPECT_EQ(e.CoRunMask, 0x07);
  dialog.SetChecked(LaunchCheck::DummyClick, false);
  EXPECT_FALSE(e.DummyClick);
  EXPECT_FALSE(dialog.Field(LaunchField::ActivateDelay).enabled);
  EXPECT_EQ(dialog.Field(LaunchField::ClickX).colour, BoxColour::Face);
  dialog.SetChecked(LaunchCheck::LongPressQuit, true);
  EXPECT_TRUE(e.LongPressQuit);
  EXPECT_EQ(dialog.Field(LaunchField::LongPressTime).colour, BoxColour::Light);
  dialog.SetBar(LaunchBar::LongPressTime, 2500);
  EXPECT_EQ(e.LongPressTime, 2500);
  EXPECT_EQ(dialog.Field(LaunchField::LongPressTime).text, "2500");
  EXPECT_EQ(engine.LongPressTimer().Interval(), 2500u);

  // A start map the box has no item for leaves it as it was.
  App(2).StartMap = 7;
  dialog.SelectEntry(2);
  EXPECT_EQ(dialog.StartMode(), 1);
  EXPECT_EQ(App(2).StartMap, 7);
}

TEST_F(LaunchSettingsTest, BrowsingClearsTheEntryButKeepsItsArguments) {
  AppEntry& e = App(0);
  e.AppProg = "C:\\Old\\old.exe";
  desktop.files.insert(e.AppProg);
  e.AppPath = "C:\\Old\\";
  e.AppArgs = "-n file.txt";
  e.Class = "OldFrame";
  e.Message = "Old";
  e.KeyAction = 1;
  Open();
  dialog.BrowseProgram();  // cancelled
  EXPECT_EQ(e.Class, "OldFrame");
  files.chosen = kProg;
  dialog.BrowseProgram();
  EXPECT_EQ(files.folders, (Lines{"C:\\Old\\", "C:\\Old\\"}));
  EXPECT_EQ(e.AppProg, kProg);
  EXPECT_EQ(e.AppPath, "C:\\Apps\\");
  EXPECT_EQ(e.AppArgs, "-n file.txt");
  EXPECT_EQ(e.Class + e.Message, "");
  EXPECT_TRUE(e.Registered);
  EXPECT_TRUE(dialog.Check(LaunchCheck::OwnKeyMap).enabled);
  EXPECT_EQ(e.KeyAction, 2);
  EXPECT_TRUE(e.LongPressQuit);
  EXPECT_EQ(e.ActivateDelay, 1000);
  EXPECT_EQ(dialog.Bar(LaunchBar::LongPressTime), 1000);
}

TEST_F(LaunchSettingsTest, TestButtonStartsRestoresAndQuitsOnALongPressAndFindPicksTheClass) {
  files.chosen = kProg;
  Open();
  dialog.BrowseProgram();
  dialog.SetField(LaunchField::Message, "App1");
  EXPECT_FALSE(dialog.FindEnabled());
  dialog.TestPress();
  EXPECT_TRUE(a.messages.empty());  // the action waits for the release
  dialog.TestRelease();
  EXPECT_EQ(a.messages, Lines{"App1 Exec"});
  ASSERT_EQ(desktop.windows.size(), 1u);
  EXPECT_TRUE(dialog.FindEnabled());

  dialog.Find();
  EXPECT_EQ(a.p.hooks.installs.back(), HookKind::WindowPicker);
  EXPECT_EQ(dialog.Field(LaunchField::TargetClass).colour, BoxColour::Yellow);
  a.p.hooks.windowClass = "Frame1";
  a.app.Hooks().OnPickerEvent({0, 0x201, 300, 200});
  a.app.Hooks().RunPostedWork();
  EXPECT_EQ(App(0).Class, "Frame1");
  EXPECT_EQ(dialog.Field(LaunchField::TargetClass).colour, BoxColour::Light);

  dialog.TestPress();
  dialog.TestRelease();
  EXPECT_EQ(a.messages.back(), "App1 Restore");
  // Each test writes the program's header afresh, though its process is the same.
  const Lines trace = a.app.DebugLog().Lines();
  EXPECT_EQ(std::count_if(trace.begin(), trace.end(), [](const std::string& l) { return l.starts_with("EXEC PROG"); }), 2);

  // Held past the long-press time: " Quit" at once, the quit at the release.
  dialog.TestPress();
  a.p.clock.Advance(1000);
  EXPECT_EQ(a.messages.back(), "App1 Quit");
  dialog.TestRelease();
  EXPECT_TRUE(desktop.windows.empty());
  EXPECT_FALSE(dialog.FindEnabled());
}

TEST_F(LaunchSettingsTest, EditorAndDebugWindowBesideItAndTheHomeModeAfterClosing) {
  AppEntry& e = App(0);
  e.AppProg = kProg;
  e.Registered = e.OwnKeyMap = true;
  e.StartMap = 2;
  Open();
  a.app.Menu().BeforePopup(false, a.app.LaunchSettingsVisible());
  EXPECT_FALSE(a.app.Menu().Entry(MenuItem::KeyMapEditor).enabled);

  KeyMapEditor& editor = a.app.Windows().Editor();
  dialog.ToggleEditor();
  EXPECT_TRUE(editor.Visible());
  EXPECT_TRUE(editor.ResetButtonVisible);
  EXPECT_EQ(editor.Place().left, dialog.Place().Right());
  EXPECT_EQ(editor.Place().top, dialog.Place().top);
  EXPECT_EQ(dialog.EditorButtonCaption(), "<");
  EXPECT_TRUE(engine.MouseMode());
  EXPECT_EQ(engine.CurrentAppMap(), 1);
  dialog.SetChecked(LaunchCheck::OwnKeyMap, false);  // no own map: the editor goes
  EXPECT_FALSE(editor.Visible());
  EXPECT_EQ(dialog.EditorButtonCaption(), ">");
  dialog.SetChecked(LaunchCheck::OwnKeyMap, true);
  dialog.ToggleEditor();

  DebugWindow& debug = a.app.Windows().Debug();
  dialog.SetChecked(LaunchCheck::DebugWindow, true);
  EXPECT_TRUE(debug.Visible());
  EXPECT_EQ(debug.Place().Right(), dialog.Place().left);
  EXPECT_EQ(debug.Place().top, dialog.Place().top);
  debug.Close();  // its close box
  EXPECT_FALSE(dialog.Check(LaunchCheck::DebugWindow).checked);
  dialog.SetChecked(LaunchCheck::DebugWindow, true);
  debug.Match().Set("Frame1");
  debug.Trace().Append("EXEC PROG");
  debug.ClearTrace();
  EXPECT_EQ(debug.Match().Text() + std::to_string(debug.Trace().Lines().size()), "0");

  // A screen 1280 wide: no room on the right, then none on either side.
  a.p.screen.width = 1280;
  editor.Moved({0, 0, 646, 655});
  dialog.ToggleEditor();  // closes it
  dialog.Moved({900, 100, 440, 600});
  dialog.ToggleEditor();
  EXPECT_EQ(editor.Place().left, 900 - 646);
  EXPECT_EQ(editor.Place().top, 100);
  dialog.ToggleEditor();
  dialog.Moved({420, 212, 440, 600});
  dialog.ToggleEditor();
  EXPECT_EQ(editor.Place().left, 1280 - 646);
  EXPECT_EQ(dialog.Place().Right(), editor.Place().left);
  EXPECT_EQ(editor.Place().top, 212);

  dialog.Close();
  EXPECT_EQ(engine.CurrentAppMap(), 0);
  EXPECT_FALSE(engine.MouseMode());  // the home mode
  EXPECT_FALSE(editor.Visible());
  EXPECT_FALSE(debug.Visible());
  EXPECT_EQ(a.Log().back(), "共通初期モード復帰しました。");
}

TEST_F(LaunchSettingsTest, SaveWritesTheEntriesAndClosesTheRunningPrograms) {
  files.chosen = kProg;
  Open();
  dialog.BrowseProgram();
  dialog.TestPress();
  dialog.TestRelease();
  ASSERT_EQ(desktop.windows.size(), 1u);
  dialog.Save();
  EXPECT_FALSE(dialog.Visible());
  EXPECT_TRUE(desktop.windows.empty());
  EXPECT_NE(File().find("AppProg=C:\\Apps\\app1.exe"), std::string::npos);
  EXPECT_NE(File().find("AppSetConst=1,2,1,0,0,1,0,1,0,0,"), std::string::npos) << File();
}

}  // namespace
}  // namespace corvid
