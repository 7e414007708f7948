#include "ui/launch_settings.h"

#include <gtest/gtest.h>

#include "config/settings_schema.h"
#include "fakes/expected_text.h"
#include "fakes/headless_app.h"

namespace corvid {
namespace {

constexpr const char* kProg = "C:\\Apps\\app1.exe";

struct FakeFileDialog : ProgramFileDialog {
  bool Choose(const std::string& folder, std::string& out) override {
    folders.push_back(folder);
    out = chosen;
    return !chosen.empty();
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
  void TearDown() override { ExpectTranscript("launch_settings", transcript); }
  AppEntry& App(int i) { return data.Apps[static_cast<size_t>(i)]; }
  void Open() { a.app.RunTrayCommand(a.app.Menu().Click(MenuItem::LaunchSettings)); }
  std::string File() { return a.p.memoryFiles.files[a.app.Settings().Path()]; }
  // The entry and the map; radios ((x) chosen, ~ hidden), boxes (! not a number) and ticks, "-" when greyed;
  // the start mode, bars, editor button, Find; where the windows are.
  void Shown(const std::string& step) {
    static const char* radios[] = {"", "max", "normal", "min", "rect", "restore", "another", "quit", "nothing"};
    static const char* fields[] = {"",        "prog", "folder", "left",  "top",   "right", "bottom", "args",
                                   "message", "x",    "y",      "delay", "class", "long",  "caption"};
    static const char* colours[] = {"window", "white", "light", "face", "yellow"};
    static const char* ticks[] = {"",  "long", "debug", "topmost", "click", "",  "1",      "2",
                                  "3", "4",    "5",     "6",       "7",     "8", "record", "own"};
    const AppEntry& e = App(dialog.Entry());
    transcript.push_back("== " + step);
    transcript.push_back("App-" + std::to_string(dialog.Entry() + 1) + " " + JoinAppSetConst(e) + " " + e.AppProg +
                         "|" + e.AppPath + "|" + e.AppArgs + "|" + e.Message + "|" + e.Class + "|" + e.Caption +
                         ", map " + std::to_string(engine.CurrentAppMap()));
    std::string radio;
    for (int r = 1; r <= LaunchSettings::kRadios; ++r) {
      const LaunchRadioState& s = dialog.Radio(LaunchRadio(r));
      radio += " " + std::string(s.visible ? "" : "~") + (s.enabled ? "" : "-") + radios[r] + (s.checked ? "(x)" : "");
    }
    transcript.push_back(radio);
    std::string field;
    for (int f = 1; f <= LaunchSettings::kFields; ++f) {
      const LaunchFieldState& s = dialog.Field(LaunchField(f));
      field += std::string(" ") + (s.enabled ? "" : "-") + fields[f] + "=" + s.text + (s.invalid ? "!" : "") + "/" +
               colours[int(s.colour)];
    }
    transcript.push_back(field);
    std::string tick;
    for (int c = 1; c <= LaunchSettings::kChecks; ++c) {
      const LaunchCheckState& s = dialog.Check(LaunchCheck(c));
      if (*ticks[c]) tick += std::string(" ") + (s.enabled ? "" : "-") + ticks[c] + (s.checked ? "[x]" : "");
    }
    const auto at = [](const WindowModel& w) {
      return w.Visible() ? std::to_string(w.Place().left) + "," + std::to_string(w.Place().top) : std::string("hidden");
    };
    tick += ", start mode " + std::to_string(dialog.StartMode()) + ", bars " +
            std::to_string(dialog.Bar(LaunchBar::ActivateDelay)) + " " +
            std::to_string(dialog.Bar(LaunchBar::LongPressTime)) + ", editor " + dialog.EditorButtonCaption() +
            (dialog.EditorButtonEnabled() ? "" : "-") + (dialog.FindEnabled() ? ", Find" : "");
    transcript.push_back(tick);
    transcript.push_back("dialog " + at(dialog) + ", editor " + at(a.app.Windows().Editor()) + ", debug " +
                         at(a.app.Windows().Debug()) + (engine.MouseMode() ? ", mouse mode" : ""));
  }

  FakeDesktop desktop;
  HeadlessApp a{true, nullptr, &desktop};
  ConfigData& data = a.data;
  ActionEngine& engine = a.engine;
  LaunchSettings& dialog = a.app.Windows().Launch();
  FakeFileDialog files;
  Lines transcript;
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
  // From the first opening on, an empty entry shows what the file says of it.
  EXPECT_NE(File().find("AppSetConst=1,1,0,0,0,0,0,0,0,0,0,0,1920,1080,0,0,1000,1000"), std::string::npos);
  Shown("an empty entry: delays of 1000, the whole screen, its own co-run box ticked for good");
  dialog.SelectEntry(1);
  EXPECT_EQ(App(0).CoRunMask, 1);
  Shown("the program file has vanished: folder, arguments, class and caption go, no own map");
  dialog.Cancel();
  Shown("cancelled: all back, still open");
}

TEST_F(LaunchSettingsTest, PlacementBoxesAndTheClassThatAllowsThem) {
  AppEntry& e = App(2);
  e.Class = "Frame";
  e.Placement = 8;
  e.WinLeft = 10, e.WinTop = 20, e.WinRight = 800, e.WinBottom = 600;
  Open();
  Shown("App-1 without a class or a program: only normal, no own map, whatever handlers did not run");
  dialog.SelectEntry(2);
  Shown("App-3 placed in a rectangle");
  // A number box that holds no integer keeps the last value, without a box.
  dialog.SetField(LaunchField::RectLeft, "-");
  Shown("not a number in the rectangle");
  EXPECT_TRUE(dialog.RectangleInvalid() && !dialog.ClickPointInvalid() && a.p.boxes.shown.empty());
  dialog.SetField(LaunchField::RectLeft, "-15");
  dialog.SetField(LaunchField::ClickY, "1.5");
  EXPECT_TRUE(!dialog.RectangleInvalid() && dialog.ClickPointInvalid());
  Shown("a number again in the rectangle, none in the click point");
  dialog.SelectRadio(LaunchRadio::Maximised);
  Shown("maximised: the rectangle zeroed and greyed");
  dialog.SelectRadio(LaunchRadio::Rectangle);
  Shown("the rectangle again");
  dialog.SetField(LaunchField::TargetClass, "");
  Shown("without a class only normal");
  dialog.SetField(LaunchField::TargetClass, "Frame");
  dialog.SelectRadio(LaunchRadio::Minimised);
  Shown("minimised");
  dialog.SelectRadio(LaunchRadio::Normal);
  Shown("normal");
}

TEST_F(LaunchSettingsTest, RadiosBoxesAndBarsStoreWhatTheyShow) {
  AppEntry& e = App(1);
  // Another copy, a choice the dialog hides.
  e.KeyAction = 4;
  e.StartMap = 2;
  e.CoRunMask = 0x81;
  e.DummyClick = true;
  e.LongPressQuit = false;
  e.ActivateDelay = 100;
  Open();
  dialog.SelectEntry(1);
  Shown("another copy, the mouse mode, its own co-run bit set, a delay below the bar's end stored at it");
  dialog.SelectRadio(LaunchRadio::Nothing);
  Shown("nothing");
  dialog.SelectRadio(LaunchRadio::Restore);
  dialog.SetStartMode(1);
  dialog.SetChecked(LaunchSettings::CoRunCheck(2), true);
  dialog.SetChecked(LaunchSettings::CoRunCheck(7), false);
  dialog.SetChecked(LaunchCheck::DummyClick, false);
  Shown("restore, the keyboard mode, App-3 beside it but not App-8, no dummy click");
  dialog.SetChecked(LaunchCheck::LongPressQuit, true);
  dialog.SetBar(LaunchBar::LongPressTime, 2500);
  EXPECT_EQ(engine.LongPressTimer().Interval(), 2500u);
  Shown("a long press of 2500 ms quits");
  App(2).StartMap = 7;
  dialog.SelectEntry(2);
  Shown("a start map the box has no item for leaves it as it was");
}

TEST_F(LaunchSettingsTest, BrowseTestPickTheClassAndSave) {
  AppEntry& e = App(0);
  e.AppProg = "C:\\Old\\old.exe";
  e.AppPath = "C:\\Old\\";
  e.AppArgs = "-n file.txt";
  e.Class = "OldFrame";
  e.Message = "Old";
  e.KeyAction = 1;
  desktop.files.insert(e.AppProg);
  Open();
  dialog.BrowseProgram();
  Shown("browsing cancelled");
  files.chosen = kProg;
  dialog.BrowseProgram();
  EXPECT_EQ(files.folders, (Lines{"C:\\Old\\", "C:\\Old\\"}));
  Shown("chosen: a cleared entry of that program with the arguments kept");
  dialog.SetField(LaunchField::Message, "App1");
  dialog.TestPress();
  EXPECT_TRUE(a.messages.empty());  // the action waits for the release
  dialog.TestRelease();
  EXPECT_EQ(a.messages, Lines{"App1 Exec"});
  ASSERT_EQ(desktop.windows.size(), 1u);
  dialog.Find();
  EXPECT_EQ(a.p.hooks.installs.back(), HookKind::WindowPicker);
  Shown("started, Find picking");
  a.p.hooks.windowClass = "Frame1";
  a.app.Hooks().OnPickerEvent({0, 0x201, 300, 200});
  a.app.Hooks().RunPostedWork();
  Shown("the class picked");
  dialog.TestPress();
  dialog.TestRelease();
  EXPECT_EQ(a.messages.back(), "App1 Restore");
  // Each test writes the program's header afresh, though its process is the same.
  EXPECT_EQ(std::ranges::count_if(a.app.DebugLog().Lines(), [](auto& l) { return l.starts_with("EXEC PROG"); }), 2);
  // Held past the long-press time: " Quit" at once, the quit at the release.
  dialog.TestPress();
  a.p.clock.Advance(1000);
  EXPECT_EQ(a.messages.back(), "App1 Quit");
  dialog.TestRelease();
  EXPECT_TRUE(desktop.windows.empty());
  Shown("quit");
  dialog.TestPress();
  dialog.TestRelease();
  dialog.Save();
  EXPECT_FALSE(dialog.Visible());
  EXPECT_TRUE(desktop.windows.empty());
  EXPECT_NE(File().find("AppProg=C:\\Apps\\app1.exe"), std::string::npos);
  EXPECT_NE(File().find("AppSetConst=1,2,1,0,0,1,0,1,0,0,"), std::string::npos) << File();
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
  EXPECT_TRUE(editor.ResetButtonVisible);
  Shown("the editor beside it in the entry's mode");
  dialog.SetChecked(LaunchCheck::OwnKeyMap, false);
  Shown("no own map: the editor goes");
  dialog.SetChecked(LaunchCheck::OwnKeyMap, true);
  dialog.ToggleEditor();
  DebugWindow& debug = a.app.Windows().Debug();
  dialog.SetChecked(LaunchCheck::DebugWindow, true);
  Shown("the debug window on its left");
  debug.Close();  // its close box
  Shown("the debug window closed");
  dialog.SetChecked(LaunchCheck::DebugWindow, true);
  debug.Match().Set("Frame1");
  debug.Trace().Append("EXEC PROG");
  debug.ClearTrace();
  EXPECT_EQ(debug.Match().Text() + std::to_string(debug.Trace().Lines().size()), "0");

  a.p.screen.width = 1280;
  editor.Moved({0, 0, 646, 655});
  dialog.ToggleEditor();  // closes it
  dialog.Moved({900, 100, 440, 600});
  dialog.ToggleEditor();
  Shown("a screen 1280 wide: no room on the right");
  dialog.ToggleEditor();
  dialog.Moved({420, 212, 440, 600});
  dialog.ToggleEditor();
  Shown("no room on either side: the dialog moves left of the editor");
  dialog.Close();
  Shown("closed: the basic map in the home mode");
  EXPECT_EQ(a.Log().back(), "共通初期モード復帰しました。");
}

}  // namespace
}  // namespace corvid
