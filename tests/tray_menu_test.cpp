#include "app/tray_menu.h"

#include <gtest/gtest.h>

#include <set>

#include "app/help_file.h"
#include "app/idle_trim.h"

namespace corvid {
namespace {

TEST(TrayMenu, ItemsGreyByOpenWindowsAndTheMonitorItemFollowsTheWindow) {
  TrayMenu menu;
  menu.PopupMenu1Popup(true, true);
  EXPECT_FALSE(menu.Entry(MenuItem::E1).enabled);
  EXPECT_FALSE(menu.Entry(MenuItem::C1).enabled);
  menu.PopupMenu1Popup(false, true);
  EXPECT_TRUE(menu.Entry(MenuItem::E1).enabled);
  EXPECT_FALSE(menu.Entry(MenuItem::C1).enabled);
  EXPECT_EQ(menu.Click(MenuItem::M1), TrayCommand::ShowCodeMonitor);
  EXPECT_EQ(menu.Click(MenuItem::M1), TrayCommand::HideCodeMonitor);
  menu.SetMonitorChecked(true);  // shown by other means
  EXPECT_EQ(menu.Click(MenuItem::M1), TrayCommand::HideCodeMonitor);
  EXPECT_EQ(menu.Click(MenuItem::N1), TrayCommand::None);
  // The icon: a double click opens the editor, the right button the menu.
  EXPECT_EQ(menu.OnTrayMessage(0x203), TrayCommand::ShowKeyMapEditor);
  EXPECT_EQ(menu.OnTrayMessage(0x205), TrayCommand::OpenMenu);
  EXPECT_EQ(menu.OnTrayMessage(0x202), TrayCommand::None);
  EXPECT_EQ(menu.Entry(MenuItem::H1).caption, std::string("設定操作説明 Ver.") + kVersion + " (&H)");
  EXPECT_EQ(menu.Click(MenuItem::H1), TrayCommand::OpenHelp);
}

TEST(IdleTrim, OncePerQuietPeriodNeverWhileBusy) {
  IdleTrim trim;
  EXPECT_TRUE(trim.OnIdle(false));
  EXPECT_FALSE(trim.OnIdle(false));
  for (int i = 0; i < 100; ++i) EXPECT_FALSE(trim.OnIdle(true));  // cursor moving
  EXPECT_TRUE(trim.OnIdle(false));
  EXPECT_FALSE(trim.OnIdle(false));
}

TEST(HelpFile, CurrentFolderFirstThenTheProgramsFolderAndABoxNamesBoth) {
  std::set<std::string> files = {"C:\\Program Files\\Corvid\\Corvid.CHM"};
  auto exists = [&](const std::string& p) { return files.count(p) > 0; };

  // Started at sign-in: the current folder is the system's.
  HelpLocation where = LocateHelp("C:\\windows\\system32", "C:\\Program Files\\Corvid", exists);
  EXPECT_EQ(where.path, "C:\\Program Files\\Corvid\\Corvid.CHM");

  files.insert("D:\\Corvid.CHM");
  EXPECT_EQ(LocateHelp("D:\\", "C:\\Program Files\\Corvid", exists).path, "D:\\Corvid.CHM");

  where = LocateHelp("C:\\Users\\me", "C:\\Users\\me\\", [](const std::string&) { return false; });
  EXPECT_EQ(where.path, "");
  ASSERT_EQ(where.lookedCount, 1);  // one folder is named once
  EXPECT_NE(HelpMissingText(where).find("C:\\Users\\me\\Corvid.CHM"), std::string::npos);
}

}  // namespace
}  // namespace corvid
