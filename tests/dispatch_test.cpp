#include <gtest/gtest.h>

#include <vector>

#include "fakes/headless_app.h"

namespace corvid {
namespace {

class DispatchTest : public ::testing::Test, public HeadlessApp {
 protected:
  void Press(uint8_t code, uint8_t m0 = 0, uint8_t m1 = 0, uint8_t m2 = 0, uint8_t battery = 5) {
    Report(code, m0, m1, m2, battery);
  }
};

TEST_F(DispatchTest, ChordRepeatsAsAFullReleaseAndPressAfterTheDelay) {
  Press(0x5F, 0, 0x80);     // SQUARE: Ctrl
  p.clock.Advance(2000);    // a modifier alone never repeats
  EXPECT_EQ(Monitor(), Lines{" CTRL"});
  Press(0x54, 0x10, 0x80);  // + UP
  p.clock.Advance(499);
  EXPECT_EQ(Monitor(), (Lines{" CTRL", " 0x26"}));
  p.clock.Advance(1 + 25);  // the delay, then one repeat
  EXPECT_EQ(Monitor(), (Lines{" CTRL", " 0x26", "-0x26", "-CTRL", " CTRL", " 0x26", "-0x26", "-CTRL", " CTRL",
                              " 0x26"}));
  Release();
  EXPECT_EQ(Monitor().back(), "-CTRL");
  const size_t n = Monitor().size();
  p.clock.Advance(1000);
  EXPECT_EQ(Monitor().size(), n);
  EXPECT_EQ(engine.HeldKey(), 0);
  EXPECT_EQ(engine.HeldParam(), 0u);
  const auto& ev = p.input.events;
  EXPECT_EQ(ev.front().vk, 0x11);
  EXPECT_EQ(ev.front().flags, keyflag::kExtendedKey);
  EXPECT_EQ(ev.back().flags, keyflag::kExtendedKey | keyflag::kKeyUp);
}

TEST_F(DispatchTest, SecondKeyReleasesTheFirstButKeepsModifiers) {
  engine.ActiveMap()[0x00] = {0x41, 0x0010, "Ctrl.A"};
  engine.ActiveMap()[0x01] = {0x42, 0, "B"};
  engine.ActiveMap()[0x02] = {2, 0x0010, ""};  // a mouse kind acts as a key in keyboard mode
  Press(0x00);
  Press(0x01);
  Release();
  EXPECT_EQ(Monitor(), (Lines{" CTRL", " 0x41", "-0x41", " 0x42", "-0x42", "-CTRL"}));
  app.MonitorLines().Clear();
  Press(0x02);
  EXPECT_EQ(Monitor(), (Lines{" CTRL", " 0x02"}));
  // In mouse mode it moves nothing without a mask bit, and while it is held
  // no key goes out.
  Release();
  engine.SwitchToMouseMode();
  engine.ActiveMap()[0x02] = {1, 0x0001, ""};
  p.input.events.clear();
  Press(0x02);
  Press(0x16);  // EJECT: ESC
  EXPECT_TRUE(p.input.events.empty());
}

TEST_F(DispatchTest, MessagesShownExceptForMouseCursorClickAndAppEntries) {
  engine.SwitchToMouseMode();
  messages.clear();
  Press(0x54, 0x10);  // cursor up: no message
  Release();
  Press(0x5F, 0, 0x80);  // click: no message
  Release();
  Press(0x52, 0x04);  // wheel: shows its message
  Release();
  EXPECT_EQ(messages, Lines{"WheelDOWN"});
  data.settings.DispMessage = false;
  Press(0x52, 0x04);
  EXPECT_EQ(messages.size(), 1u);
}

// The press's keys go out before its message is drawn (the drawing takes
// milliseconds); a power action's message is drawn before the system goes.
TEST_F(DispatchTest, KeysGoOutBeforeTheirMessageIsDrawnPowerActionsAfterIt) {
  p.surface.record = true;
  p.input.onEvent = [&](const InputEvent&) { p.surface.log.push_back("key"); };
  Press(0x54, 0x10);  // UP, with its message
  ASSERT_GE(p.surface.log.size(), 2u);
  EXPECT_EQ(p.surface.log[0], "key");
  EXPECT_EQ(p.surface.log.back(), "push 255 at 0,0");
  EXPECT_EQ(messages, Lines{"UP"});
  Release();

  p.power.onAction = [&](const std::string& what) { p.surface.log.push_back(what); };
  for (uint8_t c = 0; c < 4; ++c) engine.ActiveMap()[c] = {static_cast<uint16_t>(151 + c), 0, "Power"};
  for (uint8_t c = 0; c < 4; ++c) {
    p.surface.log.clear();
    Press(c);
    ASSERT_GE(p.surface.log.size(), 2u);
    EXPECT_EQ(p.surface.log[p.surface.log.size() - 2], "push 255 at 0,0");
  }
  EXPECT_EQ(p.power.log, (Lines{"suspend", "hibernate", "exit 1", "exit 2"}));
  EXPECT_EQ(Monitor(), (Lines{" 0x26", "-0x26"}));
}

TEST_F(DispatchTest, AppButtonPressesNoKeyArmsTheLongPressTimerOnceAndDisarmsAtTheRelease) {
  engine.ActiveMap()[0x80] = {7, 2, "App-3"};
  engine.ActiveMap()[0x81] = {7, 255, "QuitAll"};
  Press(0x81);
  p.clock.Advance(1000);
  Release();
  EXPECT_TRUE(Monitor().empty());
  EXPECT_TRUE(p.input.events.empty());
  data.Apps[2].LongPressQuit = true;
  data.Apps[2].LongPressTime = 1500;
  Press(0x80);
  EXPECT_TRUE(engine.AppArmed());
  p.clock.Advance(1499);
  EXPECT_FALSE(engine.LongPressed());
  p.clock.Advance(1);
  EXPECT_TRUE(engine.LongPressed());
  EXPECT_FALSE(engine.LongPressTimer().Enabled());  // it fires once
  Release();
  EXPECT_FALSE(engine.AppArmed());
  Press(0x80);  // the next press starts afresh
  EXPECT_FALSE(engine.LongPressed());
  EXPECT_TRUE(engine.LongPressTimer().Enabled());
  Release();
  EXPECT_FALSE(engine.LongPressTimer().Enabled());
}

TEST_F(DispatchTest, LowBatterySkipsTheActionButNotTheRelease) {
  Press(0x5F, 0, 0x80);  // Ctrl down with a good battery
  Press(0x54, 0x10, 0x80, 0, 1);
  EXPECT_EQ(messages.back(), "Low Battery Life. Let's it Change. ");
  EXPECT_EQ(Log().back(), "バッテリー不足です。");
  EXPECT_EQ(Monitor(), Lines{" CTRL"});
  Release(1);  // a release while the battery is low must not leave Ctrl down
  EXPECT_EQ(Monitor(), (Lines{" CTRL", "-CTRL"}));
  EXPECT_EQ(p.queue.log, (Lines{"mouse", "keyboard", "mouse", "keyboard"}));
  // An App press waiting for its release is dropped, not run at a later
  // release; the mask history is the decoder's and stays: with L1 last
  // held, L1+R1 with no code still names R1.
  engine.ActiveMap()[0x80] = {7, 0, "App-1"};
  Press(0x80);
  Press(0x5A, 0, 0x04);
  Release(1);
  EXPECT_FALSE(engine.AppArmed());
  Press(0xFF, 0, 0x0C);
  EXPECT_EQ(Log().back(), "00-0C-00-5B-05  [ L1 R1  ]");
  data.settings.LowBattSkip = false;
  Press(0x54, 0x10, 0, 0, 0);
  EXPECT_EQ(Monitor().back(), " 0x26");
  messages.clear();
  Press(0x55, 0x20, 0, 0, 2);  // 2 is not low
  EXPECT_EQ(messages, Lines{"RIGHT"});
}

TEST_F(DispatchTest, PsWithoutRepeatWaitsAndArmsDisconnect) {
  engine.RemoteHeldChanged(true);
  Press(0x43, 0, 0, 0x01);
  EXPECT_EQ(p.clock.NowMs(), 200u);
  p.clock.Advance(5000);
  EXPECT_EQ(Monitor(), (Lines{" 0x09", "-0x09"}));  // no repeat, released by the timer
  EXPECT_EQ(messages.back(), "Corvid DisConnect.");
  Release();  // releases once more, harmlessly
  EXPECT_EQ(Monitor().back(), "-0x09");
  EXPECT_FALSE(engine.PsReleaseTimer().Enabled());
  // A tap: the release stops the timer, so nothing is said 5 s later.
  messages.clear();
  Press(0x43, 0, 0, 0x01);
  Release();
  p.clock.Advance(6000);
  EXPECT_EQ(messages, Lines{"TAB"});
  // Held with no remote (a replay that ended): the key is let go silently.
  engine.RemoteHeldChanged(false);
  Press(0x43, 0, 0, 0x01);
  p.clock.Advance(5000);
  EXPECT_EQ(messages, (Lines{"TAB", "TAB"}));
  EXPECT_EQ(Monitor().back(), "-0x09");
  Release();
  data.settings.NoPsRep = false;  // PS repeats as any key
  app.MonitorLines().Clear();
  Press(0x43, 0, 0, 0x01);
  p.clock.Advance(500);
  EXPECT_EQ(Monitor(), (Lines{" 0x09", "-0x09", " 0x09"}));
  EXPECT_FALSE(engine.PsReleaseTimer().Enabled());
}

TEST_F(DispatchTest, RefusedEventShowsTheBoxOncePerEventAfterTheQueueIsCleared) {
  p.input.refuse = true;
  engine.ActiveMap()[0x00] = {0x41, 0x0010, "Ctrl.A"};
  p.boxes.onShow = [&](std::string_view, std::string_view) { p.queue.log.push_back("box"); };
  Press(0x00);
  ASSERT_EQ(p.boxes.shown.size(), 2u);
  EXPECT_EQ(p.boxes.shown[0].caption, "Corvid Alart");
  EXPECT_EQ(p.boxes.shown[0].text, "操作対象プロセスへの操作権限がありません。処理は無効となります。");
  EXPECT_EQ(p.queue.log, (Lines{"mouse", "keyboard", "box", "mouse", "keyboard", "box"}));
  EXPECT_TRUE(engine.Input().CtrlDown);  // state follows as if it went through
}

TEST_F(DispatchTest, ModeSwitchesCopyTheColumnOfTheCurrentMap) {
  data.Apps[1].OwnKeyMap = true;
  data.KeyboardMap.at(0x00, 2) = {0x31, 0, "1"};
  engine.SetCurrentAppMap(2);
  app.ReceiveLog().SetVisible(true);
  engine.SwitchToKeyboardMode();
  EXPECT_EQ(engine.ActiveMap()[0x00].Key, 0x31);
  EXPECT_EQ(Log(), Lines{"【 App-2 】のキーボード割付モードです。"});
  EXPECT_TRUE(messages.empty());  // editor visible: no message
  app.ReceiveLog().SetVisible(false);
  engine.SwitchToMouseMode();
  EXPECT_EQ(messages, Lines{"With MOUSE Mode"});
  EXPECT_EQ(p.clock.NowMs(), 500u);
  // Without DispChange the modes change silently.
  data.settings.DispChange = false;
  engine.SetCurrentAppMap(0);
  messages.clear();
  engine.SwitchToKeyboardMode();
  engine.SelectKeyMap(0, ModeRequest::Mouse);
  engine.SelectKeyMap(0, ModeRequest::Keyboard);
  EXPECT_TRUE(messages.empty());
  EXPECT_FALSE(engine.MouseMode());
}

TEST_F(DispatchTest, SelectKeyMapFallsBackToTheBasicMapWithoutOwnMap) {
  data.KeyboardMap.at(0x00, 4) = {0x34, 0, "4"};
  engine.SelectKeyMap(4, ModeRequest::Keep);
  EXPECT_EQ(engine.ActiveMap()[0x00].Key, 0);
  data.Apps[3].OwnKeyMap = true;
  engine.SelectKeyMap(4, ModeRequest::Keep);
  EXPECT_EQ(engine.ActiveMap()[0x00].Key, 0x34);
  engine.SelectKeyMap(0, ModeRequest::Mouse);
  EXPECT_TRUE(engine.MouseMode());
  EXPECT_EQ(messages.back(), "With Mouse Mode");
  engine.SelectKeyMap(0, ModeRequest::Home);  // home mode is keyboard
  EXPECT_FALSE(engine.MouseMode());
  EXPECT_EQ(messages.back(), "KBD Mode");
  data.settings.StartMouse = true;
  messages.clear();
  engine.SelectKeyMap(0, ModeRequest::Home);
  EXPECT_TRUE(engine.MouseMode());
  EXPECT_TRUE(messages.empty());
  engine.SelectKeyMap(99, ModeRequest::Keep);  // out of range: basic map
  EXPECT_EQ(engine.ActiveMap()[0x0B].Key, 1);

  // Start-up comes up in keyboard mode whatever StartMouse says: it names
  // only the home mode.
  HeadlessApp fresh(false);
  fresh.p.memoryFiles.files[fresh.app.Settings().Path()] = "[System]\nStartMouse=1\n";
  fresh.app.StartUp();
  EXPECT_FALSE(fresh.engine.MouseMode());
  EXPECT_EQ(fresh.data.settings.HomeMode(), 2);
}

TEST(EngineLifetime, EndingWhileAChordIsHeldReleasesIt) {
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
