#include "app/tray_menu.h"

#include <gtest/gtest.h>

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
