#include "app/hooks.h"

#include <gtest/gtest.h>

#include <vector>

#include "actions/cursor_hider.h"
#include "fakes/fake_picker.h"
#include "fakes/headless_app.h"

namespace corvid {
namespace {

class HooksTest : public ::testing::Test, public HeadlessApp {
 protected:
  HooksTest() {
    hooks.SetPickerTarget(&picker);
    data.settings.NoCursor = true;
  }
  void Idle(bool editor = false, bool environment = false) {
    hider.ApplicationIdle({editor, environment, engine.MouseMode()});
  }
  HookVerdict Key(uint32_t vk, bool up, int32_t code = 0) {
    return hooks.OnKeyCaptureEvent(KeyHookEvent{code, vk, up ? 0x80u : 0u});
  }
  // What the hook injected since the last call, as (vk, up).
  std::vector<std::pair<uint16_t, bool>> Injected() {
    std::vector<std::pair<uint16_t, bool>> out;
    for (const InputEvent& e : p.input.events) out.push_back({e.vk, (e.flags & keyflag::kKeyUp) != 0});
    p.input.events.clear();
    return out;
  }
  // Windows hands injected events to the hook again, after the callback.
  std::vector<HookVerdict> FeedBackInjected() {
    std::vector<InputEvent> again;
    again.swap(p.input.events);
    std::vector<HookVerdict> out;
    for (const InputEvent& e : again) out.push_back(Key(e.vk, (e.flags & keyflag::kKeyUp) != 0));
    return out;
  }

  RecordingHookPlatform& platform = p.hooks;
  GlobalHooks& hooks = app.Hooks();
  RecordingCursors& cursors = p.cursors;
  CursorHider& hider = app.Hider();
  FakePicker picker;
};

using Calls = std::vector<std::string>;
using Injections = std::vector<std::pair<uint16_t, bool>>;

// --- Install and remove ----------------------------------------------------------

TEST_F(HooksTest, InstallAndRemoveAreIdempotentAndRemoveWaits) {
  hooks.InstallKeyCaptureHook();
  hooks.InstallKeyCaptureHook();
  EXPECT_EQ(platform.installs.size(), 1u);
  EXPECT_TRUE(hooks.Installed(HookKind::KeyCapture));
  hooks.RemoveKeyCaptureHook();
  EXPECT_EQ(p.clock.NowMs(), 20u);
  hooks.RemoveKeyCaptureHook();  // already removed: nothing, no wait
  EXPECT_EQ(platform.removed, std::vector<HookHandle>{101});
  EXPECT_EQ(p.clock.NowMs(), 20u);
}

TEST_F(HooksTest, FailedInstallIsReportedPerAttemptAndLeavesTheHandleEmpty) {
  platform.failInstall = true;
  hooks.InstallPickerHook();
  hooks.InstallPickerHook();
  ASSERT_EQ(p.boxes.shown.size(), 2u);
  EXPECT_EQ(p.boxes.shown[1].text, "フック開始は失敗しました");
  EXPECT_FALSE(hooks.Installed(HookKind::WindowPicker));
  hooks.RemovePickerHook();
  EXPECT_TRUE(platform.removed.empty());
  hider.HideCursor();  // the cursors change anyway
  EXPECT_EQ(cursors.log, Calls{"blank"});
  EXPECT_FALSE(hider.CursorVisible);
  EXPECT_EQ(p.boxes.shown.size(), 3u);
}

TEST_F(HooksTest, FailedRemoveKeepsTheHandleAndTheNextRemoveTriesAgain) {
  hooks.InstallCursorWakeHook();
  hooks.InstallKeyCaptureHook();
  platform.failRemove = true;
  hooks.RemoveCursorWakeHook();
  hooks.RemoveKeyCaptureHook();
  ASSERT_EQ(p.boxes.shown.size(), 2u);
  EXPECT_EQ(p.boxes.shown[0].text, "マウスフック解除は失敗しました");
  EXPECT_EQ(p.boxes.shown[1].text, "キーフック解除は失敗しました");
  EXPECT_EQ(p.clock.NowMs(), 40u);  // the wait follows a failure too
  EXPECT_TRUE(hooks.Installed(HookKind::CursorWake));
  platform.failRemove = false;
  hooks.RemoveCursorWakeHook();
  EXPECT_EQ(platform.removed, (std::vector<HookHandle>{101, 102, 101}));
}

// --- Key capture -------------------------------------------------------------------

TEST_F(HooksTest, KeyCaptureReplacesTheEightKeysBothWays) {
  const std::pair<uint32_t, uint16_t> table[] = {{9, 0x88},  {46, 0x89}, {45, 0x8C}, {145, 0x8D},
                                                 {144, 0x8E}, {20, 0x8F}, {27, 0x9E}, {44, 0x9F}};
  for (auto [vk, with] : table) {
    EXPECT_EQ(Key(vk, false), HookVerdict::Swallow) << vk;
    EXPECT_EQ(Key(vk, true), HookVerdict::Swallow) << vk;
    EXPECT_EQ(Injected(), (Injections{{with, false}, {with, true}})) << vk;
  }
  InputEvent plain;  // no scan code, no flags, no extra info
  plain.vk = 0x88;
  Key(9, false);
  EXPECT_EQ(p.input.events.at(0), plain);
}

TEST_F(HooksTest, HeldWindowsKeyIsReplacedOnceAndReleasedAsItself) {
  EXPECT_EQ(Key(91, false), HookVerdict::Swallow);
  EXPECT_TRUE(hooks.WinKeyLatched);
  EXPECT_EQ(FeedBackInjected(), std::vector<HookVerdict>{HookVerdict::Pass});  // 0x8A is not diverted
  EXPECT_EQ(Key(91, false), HookVerdict::Pass);  // auto-repeat
  EXPECT_EQ(Key(91, false), HookVerdict::Pass);
  EXPECT_TRUE(Injected().empty());
  EXPECT_EQ(Key(91, true), HookVerdict::Swallow);
  EXPECT_FALSE(hooks.WinKeyLatched);
  ASSERT_EQ(p.input.events.size(), 1u);
  EXPECT_EQ(p.input.events[0].vk, 91);
  EXPECT_EQ(FeedBackInjected(), std::vector<HookVerdict>{HookVerdict::Pass});  // its own release passes
  EXPECT_TRUE(p.input.events.empty());
  EXPECT_EQ(Key(92, true), HookVerdict::Pass);  // right Win pressed before the hook came
  Key(92, false);
  Key(92, true);
  EXPECT_EQ(Injected(), (Injections{{0x8B, false}, {92, true}}));
}

TEST_F(HooksTest, OtherKeysAndNonActionCodesPass) {
  EXPECT_EQ(Key('A', false), HookVerdict::Pass);
  EXPECT_EQ(Key(0x88, false), HookVerdict::Pass);
  EXPECT_EQ(Key(9, false, 3), HookVerdict::Pass);  // not an action notice
  EXPECT_EQ(Key(91, false, 3), HookVerdict::Pass);
  EXPECT_FALSE(hooks.WinKeyLatched);
  EXPECT_TRUE(Injected().empty());
  engine.Input().PressKey(0, 9);  // Corvid's own keys are translated too
  engine.Input().ReleaseKey(0, 9);
  EXPECT_EQ(FeedBackInjected(), (std::vector<HookVerdict>{HookVerdict::Swallow, HookVerdict::Swallow}));
  EXPECT_EQ(Injected(), (Injections{{0x88, false}, {0x88, true}}));
}

// --- Cursor wake --------------------------------------------------------------------

TEST_F(HooksTest, FirstMoveWhileHiddenShowsOnceAfterTheCallback) {
  hider.HideCursor();
  EXPECT_TRUE(hooks.Installed(HookKind::CursorWake));
  EXPECT_EQ(hooks.OnCursorWakeEvent({0, 0x201, 5, 5}), HookVerdict::Pass);  // a click does not wake
  EXPECT_EQ(platform.posts, 0);
  EXPECT_EQ(hooks.OnCursorWakeEvent({0, 0x200, 5, 5}), HookVerdict::Pass);
  hooks.OnCursorWakeEvent({0, 0x200, 6, 5});
  EXPECT_EQ(platform.posts, 1);
  EXPECT_FALSE(hider.CursorVisible);  // nothing slow inside the callback
  EXPECT_EQ(p.clock.NowMs(), 0u);
  hooks.RunPostedWork();
  EXPECT_FALSE(hooks.Installed(HookKind::CursorWake));
  hooks.OnCursorWakeEvent({0, 0x200, 7, 5});  // visible now: nothing more
  hooks.RunPostedWork();
  EXPECT_EQ(platform.posts, 1);
  EXPECT_EQ(cursors.log, (Calls{"blank", "restore"}));
  EXPECT_FALSE(hider.hideDelayTimer.Enabled());  // the move alone does not restart the wait
  Idle();
  p.clock.Advance(4000);
  EXPECT_FALSE(hider.CursorVisible);
}

TEST_F(HooksTest, WakeThatArrivesAfterAnotherShowDoesNotRestoreAgain) {
  hider.HideCursor();
  hooks.OnCursorWakeEvent({0, 0x200, 1, 1});
  engine.SwitchToMouseMode();  // shows the cursor before the posted work runs
  hooks.RunPostedWork();
  EXPECT_EQ(cursors.log, (Calls{"blank", "restore"}));
}

// --- Cursor hider ---------------------------------------------------------------------

TEST_F(HooksTest, HiderWithHidingOffNothingIsReplacedButClosingStillRestores) {
  data.settings.NoCursor = false;
  engine.SwitchToKeyboardMode();
  hider.ShowCursorAgain();
  Idle();
  p.clock.Advance(10000);
  EXPECT_FALSE(hider.hideDelayTimer.Enabled());
  EXPECT_EQ(cursors.log, Calls{"restore"});
  hider.StopHiding();
  EXPECT_EQ(cursors.log, (Calls{"restore", "restore"}));
}

TEST_F(HooksTest, HiderKeyboardModeHidesFourSecondsLaterAndIdleDoesNotRestartTheWait) {
  engine.SwitchToKeyboardMode();
  p.clock.Advance(3000);
  Idle();
  p.clock.Advance(999);
  EXPECT_TRUE(cursors.log.empty());
  p.clock.Advance(1);
  EXPECT_EQ(cursors.log, Calls{"blank"});
  EXPECT_FALSE(hider.CursorVisible);
  EXPECT_FALSE(hider.hideDelayTimer.Enabled());
  EXPECT_TRUE(hooks.Installed(HookKind::CursorWake));
  Idle();  // hidden already: no new wait
  EXPECT_FALSE(hider.hideDelayTimer.Enabled());
  // Corvid's end brings the system's cursors back.
  app.OnMainWindowClose();
  EXPECT_EQ(cursors.log, (Calls{"blank", "restore"}));
}

TEST_F(HooksTest, HiderMouseModeNeverHidesAndItAndClosingShowAHiddenCursor) {
  hider.HideCursor();
  engine.SwitchToMouseMode();
  EXPECT_TRUE(hider.CursorVisible);
  EXPECT_FALSE(hooks.Installed(HookKind::CursorWake));
  Idle();
  p.clock.Advance(10000);
  EXPECT_EQ(cursors.log, (Calls{"blank", "restore"}));
  engine.SwitchToKeyboardMode();
  p.clock.Advance(4000);
  hider.StopHiding();
  EXPECT_EQ(cursors.log, (Calls{"blank", "restore", "blank", "restore"}));
  EXPECT_FALSE(hooks.Installed(HookKind::CursorWake));
  EXPECT_FALSE(hider.hideDelayTimer.Enabled());
}

TEST_F(HooksTest, HiderOpenEditorOrSettingsShowAtTheNextIdleAndKeepThePointer) {
  for (bool editor : {true, false}) {
    hider.HideCursor();
    hider.hideDelayTimer.Start();
    Idle(editor, !editor);
    EXPECT_TRUE(hider.CursorVisible);
    EXPECT_FALSE(hider.hideDelayTimer.Enabled());
    p.clock.Advance(10000);
    EXPECT_EQ(cursors.log.back(), "restore");
  }
}

TEST_F(HooksTest, HiderWithoutABlankCursorCorvidGoesOnVisible) {
  cursors.canCreate = false;
  engine.SwitchToKeyboardMode();
  p.clock.Advance(4000);
  EXPECT_FALSE(hider.Available());
  EXPECT_FALSE(hooks.Installed(HookKind::CursorWake));
  ASSERT_EQ(app.DebugLog().Lines().size(), 1u);
  hider.ShowCursorAgain();
  Idle();
  engine.SwitchToKeyboardMode();
  p.clock.Advance(10000);
  EXPECT_FALSE(hider.hideDelayTimer.Enabled());
  EXPECT_EQ(cursors.log, (Calls{"no blank", "restore"}));
  EXPECT_TRUE(p.boxes.shown.empty());
}

// --- Window picker ---------------------------------------------------------------------

TEST_F(HooksTest, PickerTakesTheClickedClassAndLetsTheClickThrough) {
  hider.HideCursor();
  hooks.StartWindowPick();
  EXPECT_TRUE(hider.CursorVisible);  // the user needs to see where to click
  EXPECT_TRUE(hooks.Installed(HookKind::WindowPicker));
  EXPECT_EQ(hooks.OnPickerEvent({0, 0x200, 3, 4}), HookVerdict::Pass);
  EXPECT_EQ(hooks.OnPickerEvent({0, 0x201, 30, 40}), HookVerdict::Pass);
  hooks.OnPickerEvent({0, 0x201, 50, 60});  // a second click before the work ran
  EXPECT_EQ(platform.asked, (std::vector<std::pair<int32_t, int32_t>>{{30, 40}}));
  EXPECT_EQ(platform.posts, 1);
  hooks.RunPostedWork();
  EXPECT_EQ(picker.log, (std::vector<std::string>{"yellow", "class Notepad", "normal"}));
  EXPECT_FALSE(hooks.Installed(HookKind::WindowPicker));
  EXPECT_FALSE(hider.CursorVisible);  // hidden again at once, and the wait runs
  EXPECT_TRUE(hider.hideDelayTimer.Enabled());

  data.settings.NoCursor = false;  // without cursor hiding the cursor is left alone
  hider.StopHiding();
  cursors.log.clear();
  hooks.StartWindowPick();
  hooks.OnPickerEvent({0, 0x201, 1, 2});
  hooks.RunPostedWork();
  EXPECT_TRUE(cursors.log.empty());
  EXPECT_FALSE(hider.hideDelayTimer.Enabled());
  EXPECT_EQ(picker.log.back(), "normal");
}

}  // namespace
}  // namespace corvid
