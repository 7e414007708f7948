#include <gtest/gtest.h>

#include <vector>

#include "fakes/headless_app.h"

namespace corvid {
namespace {

class DispatchTest : public ::testing::Test, public HeadlessApp {};

TEST_F(DispatchTest, NoMessageWithoutDispMessage) {
  form.settings.DispMessage = false;
  Report(0x54, 0x10);
  EXPECT_TRUE(messages.empty());
}

// The press's keys go out before its message is drawn (the drawing takes
// milliseconds); a power action's message is drawn before the system goes.
TEST_F(DispatchTest, KeysGoOutBeforeTheirMessageIsDrawnPowerActionsAfterIt) {
  p.surface.record = true;
  p.input.onEvent = [&](const InputEvent&) { p.surface.log.push_back("key"); };
  Report(0x54, 0x10);  // UP, with its message
  ASSERT_GE(p.surface.log.size(), 2u);
  EXPECT_EQ(p.surface.log[0], "key");
  EXPECT_EQ(p.surface.log.back(), "push 255 at 0,0");
  EXPECT_EQ(messages, Lines{"UP"});
  Release();

  p.power.onAction = [&](const std::string& what) { p.surface.log.push_back(what); };
  for (uint8_t c = 0; c < 4; ++c) form.ActiveMap[c] = {static_cast<uint16_t>(151 + c), 0, "Power"};
  for (uint8_t c = 0; c < 4; ++c) {
    p.surface.log.clear();
    Report(c);
    ASSERT_GE(p.surface.log.size(), 2u);
    EXPECT_EQ(p.surface.log[p.surface.log.size() - 2], "push 255 at 0,0");
  }
  EXPECT_EQ(p.power.log, (Lines{"suspend", "hibernate", "exit 1", "exit 2"}));
  EXPECT_EQ(Monitor(), (Lines{" 0x26", "-0x26"}));
}

TEST_F(DispatchTest, AppButtonPressesNoKeyArmsTheLongPressTimerOnceAndDisarmsAtTheRelease) {
  form.ActiveMap[0x80] = {7, 2, "App-3"};
  form.ActiveMap[0x81] = {7, 255, "QuitAll"};
  Report(0x81);
  p.clock.Advance(1000);
  Release();
  EXPECT_TRUE(Monitor().empty());
  EXPECT_TRUE(p.input.events.empty());
  form.Apps[2].LongPressQuit = true;
  form.Apps[2].LongPressTime = 1500;
  Report(0x80);
  EXPECT_TRUE(form.AppArmed);
  p.clock.Advance(1499);
  EXPECT_FALSE(form.LongPressReached);
  p.clock.Advance(1);
  EXPECT_TRUE(form.LongPressReached);
  EXPECT_FALSE(form.DisableExec.Enabled());  // it fires once
  Release();
  EXPECT_FALSE(form.AppArmed);
  Report(0x80);  // the next press starts afresh
  EXPECT_FALSE(form.LongPressReached);
  EXPECT_TRUE(form.DisableExec.Enabled());
  Release();
  EXPECT_FALSE(form.DisableExec.Enabled());
}

TEST_F(DispatchTest, LowBatterySkipsTheActionButNotTheRelease) {
  Report(0x5F, 0, 0x80);  // Ctrl down with a good battery
  Report(0x54, 0x10, 0x80, 0, 1);
  EXPECT_EQ(messages.back(), "Low Battery Life. Let's it Change. ");
  EXPECT_EQ(Log().back(), "バッテリー不足です。");
  EXPECT_EQ(Monitor(), Lines{" CTRL"});
  Release(1);  // a release while the battery is low must not leave Ctrl down
  EXPECT_EQ(Monitor(), (Lines{" CTRL", "-CTRL"}));
  EXPECT_EQ(p.queue.log, (Lines{"mouse", "keyboard", "mouse", "keyboard"}));
  // An App press waiting for its release is dropped, not run at a later
  // release; the mask history is the decoder's and stays: with L1 last
  // held, L1+R1 with no code still names R1.
  form.ActiveMap[0x80] = {7, 0, "App-1"};
  Report(0x80);
  Report(0x5A, 0, 0x04);
  Release(1);
  EXPECT_FALSE(form.AppArmed);
  Report(0xFF, 0, 0x0C);
  EXPECT_EQ(Log().back(), "00-0C-00-5B-05  [ L1 R1  ]");
  form.settings.LowBattSkip = false;
  Report(0x54, 0x10, 0, 0, 0);
  EXPECT_EQ(Monitor().back(), " 0x26");
  messages.clear();
  Report(0x55, 0x20, 0, 0, 2);  // 2 is not low
  EXPECT_EQ(messages, Lines{"RIGHT"});
}

// PS held with no remote (a replay that ended) is let go silently; without
// NoPsRep it repeats as any key.
TEST_F(DispatchTest, PsWithoutARemoteIsLetGoSilentlyAndRepeatsWhenAsked) {
  Report(0x43, 0, 0, 0x01);
  p.clock.Advance(5200);
  EXPECT_EQ(messages, Lines{"TAB"});
  EXPECT_EQ(Monitor(), (Lines{" 0x09", "-0x09"}));
  Release();
  form.settings.NoPsRep = false;
  app.CodeMonitor().Clear();
  Report(0x43, 0, 0, 0x01);
  p.clock.Advance(500);
  EXPECT_EQ(Monitor(), (Lines{" 0x09", "-0x09", " 0x09"}));
  EXPECT_FALSE(form.DisConnect.Enabled());
}

TEST_F(DispatchTest, RefusedEventShowsTheBoxOncePerEventAfterTheQueueIsCleared) {
  p.input.refuse = true;
  form.ActiveMap[0x00] = {0x41, 0x0010, "Ctrl.A"};
  p.boxes.onShow = [&](std::string_view, std::string_view) { p.queue.log.push_back("box"); };
  Report(0x00);
  ASSERT_EQ(p.boxes.shown.size(), 2u);
  EXPECT_EQ(p.boxes.shown[0].caption, "Corvid Alart");
  EXPECT_EQ(p.boxes.shown[0].text, "操作対象プロセスへの操作権限がありません。処理は無効となります。");
  EXPECT_EQ(p.queue.log, (Lines{"mouse", "keyboard", "box", "mouse", "keyboard", "box"}));
  EXPECT_TRUE(form.Input().CtrlDown);  // state follows as if it went through
}

TEST_F(DispatchTest, ModeSwitchesCopyTheColumnOfTheCurrentMap) {
  form.Apps[1].OwnKeyMap = true;
  form.KeyboardMap.at(0x00, 2) = {0x31, 0, "1"};
  form.CurrentAppMap = 2;
  app.ReceiveLog().SetVisible(true);
  form.SwitchToKeyboardMode();
  EXPECT_EQ(form.ActiveMap[0x00].Key, 0x31);
  EXPECT_EQ(Log(), Lines{"【 App-2 】のキーボード割付モードです。"});
  EXPECT_TRUE(messages.empty());  // editor visible: no message
  app.ReceiveLog().SetVisible(false);
  form.SwitchToMouseMode();
  EXPECT_EQ(messages, Lines{"With MOUSE Mode"});
  EXPECT_EQ(p.clock.NowMs(), 500u);
  // Without DispChange the modes change silently.
  form.settings.DispChange = false;
  form.CurrentAppMap = 0;
  messages.clear();
  form.SwitchToKeyboardMode();
  form.SelectKeyMap(0, 2);
  form.SelectKeyMap(0, 1);
  EXPECT_TRUE(messages.empty());
  EXPECT_FALSE(form.MouseMode);
}

TEST_F(DispatchTest, SelectKeyMapFallsBackToTheBasicMapWithoutOwnMap) {
  form.KeyboardMap.at(0x00, 4) = {0x34, 0, "4"};
  form.SelectKeyMap(4, 0);
  EXPECT_EQ(form.ActiveMap[0x00].Key, 0);
  form.Apps[3].OwnKeyMap = true;
  form.SelectKeyMap(4, 0);
  EXPECT_EQ(form.ActiveMap[0x00].Key, 0x34);
  form.SelectKeyMap(0, 2);
  EXPECT_TRUE(form.MouseMode);
  EXPECT_EQ(messages.back(), "With Mouse Mode");
  form.SelectKeyMap(0, 3);  // home mode is keyboard
  EXPECT_FALSE(form.MouseMode);
  EXPECT_EQ(messages.back(), "KBD Mode");
  form.settings.StartMouse = true;
  messages.clear();
  form.SelectKeyMap(0, 3);
  EXPECT_TRUE(form.MouseMode);
  EXPECT_TRUE(messages.empty());
  form.SelectKeyMap(99, 0);  // out of range: basic map
  EXPECT_EQ(form.ActiveMap[0x0B].Key, 1);

  // Start-up comes up in keyboard mode whatever StartMouse says: it names
  // only the home mode.
  HeadlessApp fresh(false);
  fresh.p.memoryFiles.files[fresh.app.Settings().Path()] = "[System]\nStartMouse=1\n";
  fresh.app.StartUp();
  EXPECT_FALSE(fresh.form.MouseMode);
  EXPECT_EQ(fresh.form.settings.HomeMode(), 2);
}

TEST(TForm1Lifetime, EndingWhileAChordIsHeldReleasesIt) {
  std::vector<InputEvent> events;
  {
    HeadlessApp a;
    a.p.input.onEvent = [&](const InputEvent& e) { events.push_back(e); };
    a.Report(0x5F, 0, 0x80);  // SQUARE: Ctrl
  }
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events.back().vk, 0x11);
  EXPECT_TRUE(events.back().flags & keyflag::kKeyUp);
}

}  // namespace
}  // namespace corvid
