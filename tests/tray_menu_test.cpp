#include "app/tray_menu.h"

#include <gtest/gtest.h>

#include "app/idle_trim.h"

namespace corvid {
namespace {

TEST(TrayMenu, PopupSetsHelpCaptionAndGreysItemsByOpenWindows) {
  TrayMenu menu;
  menu.PopupMenu1Popup(true, true);
  EXPECT_EQ(menu.Entry(MenuItem::H1).caption, "設定操作説明 Ver.0.997 (&H)");
  EXPECT_FALSE(menu.Entry(MenuItem::E1).enabled);
  EXPECT_FALSE(menu.Entry(MenuItem::C1).enabled);
  menu.PopupMenu1Popup(false, true);
  EXPECT_TRUE(menu.Entry(MenuItem::E1).enabled);
  EXPECT_FALSE(menu.Entry(MenuItem::C1).enabled);
}

TEST(TrayMenu, MonitorItemTogglesAndFollowsTheWindow) {
  TrayMenu menu;
  EXPECT_EQ(menu.Click(MenuItem::M1), TrayCommand::ShowCodeMonitor);
  EXPECT_EQ(menu.Click(MenuItem::M1), TrayCommand::HideCodeMonitor);
  menu.SetMonitorChecked(true);  // shown by other means
  EXPECT_EQ(menu.Click(MenuItem::M1), TrayCommand::HideCodeMonitor);
  EXPECT_EQ(menu.Click(MenuItem::QuitQ1), TrayCommand::Quit);
  EXPECT_EQ(menu.Click(MenuItem::N1), TrayCommand::None);
}

TEST(TrayMenu, IconMessages) {
  EXPECT_EQ(TrayMenu::OnTrayMessage(0x203), TrayCommand::ShowKeyMapEditor);
  EXPECT_EQ(TrayMenu::OnTrayMessage(0x205), TrayCommand::OpenMenu);
  EXPECT_EQ(TrayMenu::OnTrayMessage(0x200), TrayCommand::None);
}

TEST(IdleTrim, OncePerQuietPeriodNeverWhileBusy) {
  IdleTrim trim;
  EXPECT_TRUE(trim.OnIdle(false));
  EXPECT_FALSE(trim.OnIdle(false));
  for (int i = 0; i < 100; ++i) EXPECT_FALSE(trim.OnIdle(true));  // cursor moving
  EXPECT_TRUE(trim.OnIdle(false));
  EXPECT_FALSE(trim.OnIdle(false));
}

}  // namespace
}  // namespace corvid
