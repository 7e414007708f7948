#include <gtest/gtest.h>

#include <vector>

#include "fakes/headless_app.h"
#include "remote/button_codes.h"

namespace corvid {
namespace {

class DispatchTest : public ::testing::Test, public HeadlessApp {};

// The press's keys go out before its message is drawn (the drawing takes
// milliseconds); a power action's message is drawn before the system goes.
TEST_F(DispatchTest, KeysGoOutBeforeTheirMessageIsDrawnPowerActionsAfterIt) {
  p.surface.record = true;
  p.input.onEvent = [&](const InputEvent&) { p.surface.log.push_back("key"); };
  Report(0x54, 0x10);  // UP, with its message
  EXPECT_EQ(p.surface.log.at(0), "key");
  EXPECT_EQ(p.surface.log.back(), "push 255 at 0,0");
  Release();
  p.power.onAction = [&](const std::string& what) { p.surface.log.push_back(what); };
  for (uint8_t c = 0; c < 4; ++c) {
    engine.ActiveMap()[c] = {static_cast<uint16_t>(151 + c), 0, "Power"};
    p.surface.log.clear();
    Report(c);
    ASSERT_GE(p.surface.log.size(), 2u);
    EXPECT_EQ(p.surface.log[p.surface.log.size() - 2], "push 255 at 0,0");
  }
  EXPECT_EQ(p.power.log, (Lines{"suspend", "hibernate", "exit 1", "exit 2"}));
  EXPECT_EQ(Monitor(), (Lines{" 0x26", "-0x26"}));
}

TEST_F(DispatchTest, AppButtonPressesNoKeyArmsTheLongPressTimerOnceAndDisarmsAtTheRelease) {
  engine.ActiveMap()[0x80] = {7, 2, "App-3"};
  engine.ActiveMap()[0x81] = {7, 255, "QuitAll"};
  Report(0x81);
  p.clock.Advance(1000);
  Release();
  EXPECT_TRUE(p.input.events.empty());
  data.Apps[2].LongPressQuit = true;
  data.Apps[2].LongPressTime = 1500;
  Report(0x80);
  p.clock.Advance(1499);
  EXPECT_FALSE(engine.LongPressed());
  p.clock.Advance(1);
  EXPECT_TRUE(engine.LongPressed());
  EXPECT_FALSE(engine.LongPressTimer().Enabled());  // it fires once
  Release();
  Report(0x80);  // the next press starts afresh
  EXPECT_FALSE(engine.LongPressed());
  Release();
  EXPECT_FALSE(engine.LongPressTimer().Enabled());
}

// Beyond the recorded sessions low-battery.txt and lenient.txt: the input
// queued for the window in front goes at a skipped press and at its release,
// and an App press waiting for its release is dropped.
TEST_F(DispatchTest, LowBatteryClearsTheQueueDropsAnArmedAppPressOrActsWhenAsked) {
  Report(0x54, 0x10, 0, 0, 1);
  Release(1);
  EXPECT_EQ(p.queue.log, (Lines{"mouse", "keyboard", "mouse", "keyboard"}));
  engine.ActiveMap()[0x80] = {7, 0, "App-1"};
  Report(0x80);
  Release(1);
  EXPECT_FALSE(engine.AppArmed());
}

// PS held with no remote (a replay that ended) is let go silently; without
// NoPsRep it repeats as any key (examples/lenient.txt).
TEST_F(DispatchTest, PsWithoutARemoteIsLetGoSilently) {
  Report(0x43, 0, 0, 0x01);
  p.clock.Advance(5200);
  EXPECT_EQ(messages, Lines{"TAB"});
  EXPECT_EQ(Monitor(), (Lines{" 0x09", "-0x09"}));
}

TEST_F(DispatchTest, RefusedEventShowsTheBoxOncePerEventAfterTheQueueIsCleared) {
  p.input.refuse = true;
  engine.ActiveMap()[0x00] = {0x41, 0x0010, "Ctrl.A"};
  p.boxes.onShow = [&](std::string_view, std::string_view) { p.queue.log.push_back("box"); };
  Report(0x00);
  const std::string text = "操作対象プロセスへの操作権限がありません。処理は無効となります。";
  EXPECT_EQ(Boxes(), (Lines{text, text}));
  EXPECT_EQ(p.boxes.shown[0].caption, "Corvid Alart");
  EXPECT_EQ(p.queue.log, (Lines{"mouse", "keyboard", "box", "mouse", "keyboard", "box"}));
  EXPECT_TRUE(engine.Input().CtrlDown);  // state follows as if it went through
}

TEST_F(DispatchTest, ModesAndMapsFollowTheProgramsOwnMapAndAreToldUnlessAskedNotTo) {
  data.Apps[1].OwnKeyMap = true;
  data.KeyboardMap.at(0x00, 2) = {0x31, 0, "1"};
  data.KeyboardMap.at(0x00, 3) = {0x33, 0, "3"};
  engine.SelectKeyMap(3, ModeRequest::Keep);  // App-3 has no map of its own: the basic one
  EXPECT_EQ(engine.ActiveMap()[0x00].Key, 0);
  engine.SelectKeyMap(2, ModeRequest::Keep);
  EXPECT_EQ(engine.ActiveMap()[0x00].Key, 0x31);
  engine.SetCurrentAppMap(2);
  app.ReceiveLog().SetVisible(true);
  engine.SwitchToKeyboardMode();
  EXPECT_EQ(Log(), Lines{"【 App-2 】のキーボード割付モードです。"});
  EXPECT_TRUE(messages.empty());  // editor visible: no message
  app.ReceiveLog().SetVisible(false);
  engine.SwitchToMouseMode();
  EXPECT_EQ(p.clock.NowMs(), 500u);
  engine.SelectKeyMap(0, ModeRequest::Home);  // home mode is keyboard
  data.settings.StartMouse = true;
  engine.SelectKeyMap(0, ModeRequest::Home);   // now mouse, silently
  engine.SelectKeyMap(99, ModeRequest::Keep);  // out of range: basic map
  EXPECT_EQ(engine.ActiveMap()[0x0B].Key, 1);
  engine.SelectKeyMap(0, ModeRequest::Keyboard);
  engine.SelectKeyMap(0, ModeRequest::Mouse);
  data.settings.DispChange = false;
  engine.SelectKeyMap(0, ModeRequest::Keyboard);
  EXPECT_FALSE(engine.MouseMode());
  EXPECT_EQ(messages, (Lines{"With MOUSE Mode", "KBD Mode", "KBD Mode", "With Mouse Mode"}));

  // Start-up comes up in keyboard mode whatever StartMouse says: it names only the home mode.
  HeadlessApp fresh(false);
  fresh.p.memoryFiles.files[fresh.app.Settings().Path()] = "[System]\nStartMouse=1\n";
  fresh.app.StartUp();
  EXPECT_FALSE(fresh.engine.MouseMode());
  EXPECT_EQ(fresh.data.settings.HomeMode(), 2);
}

// What the receive log says of each report is in the recorded sessions.
TEST_F(DispatchTest, ShortEmptyAndOversizedReportsStayInBounds) {
  Report(0x0B, 0, 0, 0x08, 7);
  engine.RemoteReport(1, nullptr, 0);  // nothing delivered: the previous state is decoded again
  EXPECT_EQ(Log().back(), "00-00-08-0B-07  [ ENTER  ]");
  const std::vector<uint8_t> big(5000, 0x11), cleared(3, 0);  // mask cleared, code and battery kept
  engine.RemoteReport(1, cleared.data(), cleared.size());
  EXPECT_EQ(Log().back(), "00-00-00-0B-07  [ ENTER  ]");
  engine.RemoteReport(3, big.data(), big.size());
  EXPECT_EQ(Log().back().size(), 4 + 2 * kRawReportSize);
  engine.RemoteReport(1, nullptr, 40);
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
