#include "app/tray_menu.h"

#include <gtest/gtest.h>

#include <set>

#include "app/help_file.h"
#include "app/idle_trim.h"
#include "app/tray_status.h"
#include "fakes/expected_text.h"
#include "fakes/headless_app.h"

namespace corvid {
namespace {

TEST(TrayMenu, ItemsGreyByOpenWindowsAndTheMonitorItemFollowsTheWindow) {
  TrayMenu menu;
  menu.BeforePopup(true, true);
  EXPECT_FALSE(menu.Entry(MenuItem::LaunchSettings).enabled || menu.Entry(MenuItem::KeyMapEditor).enabled);
  menu.BeforePopup(false, true);
  EXPECT_TRUE(menu.Entry(MenuItem::LaunchSettings).enabled);
  EXPECT_FALSE(menu.Entry(MenuItem::KeyMapEditor).enabled);
  EXPECT_EQ(menu.Click(MenuItem::CodeMonitor), TrayCommand::ShowCodeMonitor);
  EXPECT_EQ(menu.Click(MenuItem::CodeMonitor), TrayCommand::HideCodeMonitor);
  menu.SetMonitorChecked(true);  // shown by other means
  EXPECT_EQ(menu.Click(MenuItem::CodeMonitor), TrayCommand::HideCodeMonitor);
  // The icon: a double click opens the editor, the right button the menu.
  EXPECT_EQ(menu.OnTrayMessage(0x203), TrayCommand::ShowKeyMapEditor);
  EXPECT_EQ(menu.OnTrayMessage(0x205), TrayCommand::OpenMenu);
  EXPECT_EQ(menu.Entry(MenuItem::Help).caption, std::string("設定操作説明 Ver.") + kVersion + " (&H)");
  EXPECT_EQ(menu.Click(MenuItem::Help), TrayCommand::OpenHelp);
}

// A row per update: what changed, then the tip and whether the icon is grey.
TEST(TrayStatus, TipTellsRemoteBatteryAndModeAndChangesOnlyWithThem) {
  TrayStatus t;
  const RemoteState five{true, true, 5, true}, low{true, true, 1};
  std::string out = t.Tip() + (t.Greyed() ? " grey\n" : "\n");
  // Low: one balloon, not again until the battery has been above the level.
  for (const RemoteState& s :
       {RemoteState{true}, five, five, low, {true, true, 0}, {true, true, 2}, low, {false, true, 1}}) {
    const TrayStatus::Change c = t.Update(s);
    out += std::string(c.tip ? "tip " : "") + (c.icon ? "icon " : "") + (c.balloon ? "balloon " : "") + "| " + t.Tip() +
           (t.Greyed() ? " grey\n" : "\n");
  }
  ExpectSameLines(out, Expected("tray_status.txt"));
}

TEST(TrayStatus, TheIconIsToldOnceTheQueueHasRunEmpty) {
  HeadlessApp hl;
  hl.app.OnIdle();
  EXPECT_TRUE(hl.p.tips.empty());  // the icon was added with this tip
  hl.engine.RemoteHeldChanged(true);
  hl.Report(0xFF, 0, 0, 0, 1);
  hl.engine.SwitchToMouseMode();
  hl.app.OnIdle();
  hl.app.OnIdle();
  EXPECT_EQ(hl.p.tips, Lines{"Corvid  リモコン接続中(1)\nWith MOUSE Mode"});
  EXPECT_EQ(std::pair(hl.p.iconChanges, hl.p.balloons), std::pair(1, 1));
  hl.engine.RemoteHeldChanged(false);
  hl.app.OnIdle();
  EXPECT_EQ(hl.p.tips.back(), "Corvid  リモコン未接続\nWith MOUSE Mode");
}

TEST(TrayCommands, LaunchItemPlacesTheDebugWindowAndQuitClosesTheDialogsFirst) {
  HeadlessApp a;
  SettingsWindows& w = a.app.Windows();
  w.Editor().Close();
  a.app.RunTrayCommand(TrayCommand::ShowLaunchSettings);
  w.Launch().SetChecked(LaunchCheck::DebugWindow, true);
  w.Debug().MoveTo(0, 0);
  w.Launch().Moved({700, 150, 600, 500});
  a.app.RunTrayCommand(TrayCommand::ShowLaunchSettings);
  EXPECT_EQ(w.Debug().Place().Right() + w.Debug().Place().top, 700 + 150);
  w.Launch().SetChecked(LaunchCheck::DebugWindow, false);
  w.Debug().Show(w.Launch().Place(), 1920);
  a.app.RunTrayCommand(TrayCommand::ShowLaunchSettings);
  EXPECT_FALSE(w.Debug().Visible());

  a.app.RunTrayCommand(TrayCommand::ShowEnvironment);
  a.app.RunTrayCommand(TrayCommand::ShowCodeMonitor);
  Lines closed;
  auto watch = [&closed](WindowModel& m, std::string name) {
    m.onChange = [&closed, &m, name, was = m.Visible()]() mutable {
      if (was && !m.Visible()) closed.push_back(name);
      was = m.Visible();
    };
  };
  watch(w.Launch(), "LaunchSettings");
  watch(w.Environment(), "EnvironmentDialog");
  watch(w.Monitor(), "CodeMonitor");
  a.p.onClose = [&] { closed.push_back("main"); };
  a.app.RunTrayCommand(TrayCommand::Quit);
  EXPECT_EQ(closed, (Lines{"LaunchSettings", "EnvironmentDialog", "CodeMonitor", "main"}));
}

TEST(IdleTrim, OncePerQuietPeriodNeverWhileBusy) {
  IdleTrim trim;
  std::string trimmed;
  for (bool busy : {false, false, true, false}) trimmed += trim.OnIdle(busy) ? 'T' : '-';  // busy: the cursor moving
  EXPECT_EQ(trimmed, "T--T");
}

TEST(HelpFile, CurrentFolderFirstThenTheProgramsFolderAndABoxNamesBoth) {
  std::set<std::string> files = {"C:\\Program Files\\Corvid\\Corvid.CHM", "D:\\Corvid.CHM"};
  auto exists = [&](const std::string& p) { return files.count(p) > 0; };
  // Started at sign-in: the current folder is the system's.
  EXPECT_EQ(LocateHelp("C:\\windows\\system32", "C:\\Program Files\\Corvid", exists).path,
            "C:\\Program Files\\Corvid\\Corvid.CHM");
  EXPECT_EQ(LocateHelp("D:\\", "C:\\Program Files\\Corvid", exists).path, "D:\\Corvid.CHM");
  const HelpLocation where = LocateHelp("C:\\Users\\me", "C:\\Users\\me\\", exists);
  EXPECT_EQ(std::pair(where.path, where.lookedCount), std::pair(std::string(), 1));  // one folder is named once
  EXPECT_NE(HelpMissingText(where).find("C:\\Users\\me\\Corvid.CHM"), std::string::npos);
}

}  // namespace
}  // namespace corvid
