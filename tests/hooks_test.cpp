#include "app/hooks.h"

#include <gtest/gtest.h>

#include <vector>

#include "actions/cursor_hider.h"
#include "fakes/headless_app.h"

namespace corvid {
namespace {

// The class box of the launch-program settings, as the window picker sees it.
struct FakePicker : PickerTarget {
  void SetTargetClass(std::string_view c) override { log.push_back("class " + std::string(c)); }
  void SetPicking(bool on) override { log.push_back(on ? "yellow" : "normal"); }
  std::vector<std::string> log;
};

using Injections = std::vector<std::pair<uint16_t, bool>>;
constexpr auto kPass = HookVerdict::Pass, kSwallow = HookVerdict::Swallow;

class HooksTest : public ::testing::Test, public HeadlessApp {
 protected:
  HooksTest() {
    hooks.SetPickerTarget(&picker);
    data.settings.NoCursor = true;
  }
  void Idle(bool editor = false, bool environment = false) {
    app.Hider().ApplicationIdle({editor, environment, engine.MouseMode()});
  }
  HookVerdict Key(uint32_t vk, bool up, int32_t code = 0) {
    return hooks.OnKeyCaptureEvent(KeyHookEvent{code, vk, up ? 0x80u : 0u});
  }
  Injections Injected() {
    Injections out;
    for (const InputEvent& e : p.input.events) out.push_back({e.vk, (e.flags & keyflag::kKeyUp) != 0});
    p.input.events.clear();
    return out;
  }
  void Move(int32_t x) { hooks.OnCursorWakeEvent({0, 0x200, x, 5}); }

  GlobalHooks& hooks = app.Hooks();
  FakePicker picker;
};

TEST_F(HooksTest, InstallAndRemoveAreIdempotentWaitAndReportEachFailedAttempt) {
  hooks.InstallKeyCaptureHook();
  hooks.InstallKeyCaptureHook();
  hooks.RemoveKeyCaptureHook();
  hooks.RemoveKeyCaptureHook();  // already removed: nothing, no wait
  // A failed remove waits too, keeps the handle, and the next remove tries again.
  hooks.InstallCursorWakeHook();
  hooks.InstallKeyCaptureHook();
  p.hooks.failRemove = true;
  hooks.RemoveCursorWakeHook();
  hooks.RemoveKeyCaptureHook();
  p.hooks.failRemove = false;
  hooks.RemoveCursorWakeHook();
  p.hooks.failInstall = true;
  hooks.InstallPickerHook();
  hooks.InstallPickerHook();
  hooks.RemovePickerHook();  // nothing was installed
  EXPECT_EQ(p.clock.NowMs(), 80u);
  EXPECT_EQ(p.hooks.removed, (std::vector<HookHandle>{101, 102, 103, 102}));
  EXPECT_EQ(Boxes(), (Lines{"マウスフック解除は失敗しました", "キーフック解除は失敗しました",
                            "フック開始は失敗しました", "フック開始は失敗しました"}));
}

TEST_F(HooksTest, KeyCaptureReplacesTheEightKeysBothWaysAndAHeldWindowsKeyOnceOnlyForActionNotices) {
  const std::pair<uint32_t, uint16_t> table[] = {{9, 0x88},   {46, 0x89}, {45, 0x8C}, {145, 0x8D},
                                                 {144, 0x8E}, {20, 0x8F}, {27, 0x9E}, {44, 0x9F}};
  for (auto [vk, with] : table) {
    EXPECT_EQ(Key(vk, false), kSwallow) << vk;
    EXPECT_EQ(p.input.events.at(0), InputEvent{.vk = with}) << vk;  // no scan code, no flags, no extra info
    EXPECT_EQ(Key(vk, true), kSwallow) << vk;
    EXPECT_EQ(Injected(), (Injections{{with, false}, {with, true}})) << vk;
  }
  // Keys without a replacement, and notices that are not actions (code 3), pass untouched.
  for (auto [vk, code] : {std::pair{0x41u, 0}, {0x88u, 0}, {9u, 3}, {91u, 3}}) EXPECT_EQ(Key(vk, false, code), kPass);
  EXPECT_TRUE(Injected().empty());
  engine.Input().PressKey(0, 9);  // Corvid's own keys come back through the hook, and are translated too
  engine.Input().ReleaseKey(0, 9);
  for (auto [vk, up] : Injected()) EXPECT_EQ(Key(vk, up), kSwallow);
  EXPECT_EQ(Injected(), (Injections{{0x88, false}, {0x88, true}}));

  // A held Windows key is replaced once and released as itself; right Win was down before the hook.
  std::vector<HookVerdict> seen;
  for (auto [vk, up] :
       Injections{{91, false}, {0x8A, false}, {91, false}, {91, true}, {91, true}, {92, true}, {92, false}, {92, true}})
    seen.push_back(Key(vk, up));
  EXPECT_EQ(seen, (std::vector<HookVerdict>{kSwallow, kPass, kPass, kSwallow, kPass, kPass, kSwallow, kSwallow}));
  EXPECT_EQ(Injected(), (Injections{{0x8A, false}, {91, true}, {0x8B, false}, {92, true}}));
}

TEST_F(HooksTest, FirstMoveShowsOnceAfterTheCallbackUnlessAnotherShowCameFirstAndOffHidesNothing) {
  app.Hider().HideCursor();
  hooks.OnCursorWakeEvent({0, 0x201, 5, 5});  // a click does not wake
  EXPECT_EQ(p.hooks.posts, 0);
  Move(5);
  Move(6);
  EXPECT_FALSE(app.Hider().CursorVisible);  // nothing slow inside the callback
  hooks.RunPostedWork();
  Move(7);  // visible now: nothing more
  hooks.RunPostedWork();
  EXPECT_EQ(p.hooks.posts, 1);
  EXPECT_FALSE(app.Hider().hideDelayTimer.Enabled());  // the move alone does not restart the wait
  Idle();
  p.clock.Advance(4000);
  Move(1);
  engine.SwitchToMouseMode();  // shows the cursor before the posted work runs
  hooks.RunPostedWork();
  // Hiding off, or no blank cursor to be had: nothing is replaced, but closing still restores.
  data.settings.NoCursor = false;
  engine.SwitchToKeyboardMode();
  Idle();
  p.clock.Advance(10000);
  app.Hider().StopHiding();
  data.settings.NoCursor = true;
  p.cursors.canCreate = false;
  engine.SwitchToKeyboardMode();
  p.clock.Advance(4000);
  EXPECT_FALSE(hooks.Installed(HookKind::CursorWake));
  EXPECT_EQ(app.DebugLog().Lines().size(), 1u);
  app.Hider().ShowCursorAgain();
  Idle();
  engine.SwitchToKeyboardMode();
  p.clock.Advance(10000);
  EXPECT_EQ(p.cursors.log, (Lines{"blank", "restore", "blank", "restore", "restore", "no blank", "restore"}));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(HooksTest, HiderHidesFourSecondsIntoKeyboardModeAndShowsAtMouseModeSettingsAndEnd) {
  engine.SwitchToKeyboardMode();
  p.clock.Advance(3000);
  Idle();  // a running wait keeps its period
  p.clock.Advance(999);
  EXPECT_TRUE(p.cursors.log.empty());
  p.clock.Advance(1);
  EXPECT_EQ(p.cursors.log, Lines{"blank"});
  Idle();  // hidden already: no new wait
  EXPECT_FALSE(app.Hider().hideDelayTimer.Enabled());
  engine.SwitchToMouseMode();
  Idle();  // mouse mode never hides
  p.clock.Advance(10000);
  for (bool editor : {true, false}) {  // an open editor or settings window shows it and keeps it
    app.Hider().HideCursor();
    app.Hider().hideDelayTimer.Start();
    Idle(editor, !editor);
    p.clock.Advance(10000);
  }
  engine.SwitchToKeyboardMode();
  p.clock.Advance(4000);
  app.OnMainWindowClose();  // Corvid's end brings the system's cursors back
  EXPECT_EQ(p.cursors.log, (Lines{"blank", "restore", "blank", "restore", "blank", "restore", "blank", "restore"}));
  EXPECT_FALSE(hooks.Installed(HookKind::CursorWake) || app.Hider().hideDelayTimer.Enabled());
}

TEST_F(HooksTest, PickerTakesTheClickedClassAndLetsTheClickThrough) {
  app.Hider().HideCursor();
  hooks.StartWindowPick();  // shows the cursor: the user needs to see where to click
  hooks.OnPickerEvent({0, 0x200, 3, 4});
  EXPECT_EQ(hooks.OnPickerEvent({0, 0x201, 30, 40}), kPass);
  hooks.OnPickerEvent({0, 0x201, 50, 60});  // a second click before the work ran
  EXPECT_EQ(p.hooks.asked, (std::vector<std::pair<int32_t, int32_t>>{{30, 40}}));
  hooks.RunPostedWork();
  EXPECT_EQ(picker.log, (Lines{"yellow", "class Notepad", "normal"}));
  EXPECT_FALSE(hooks.Installed(HookKind::WindowPicker));
  EXPECT_TRUE(app.Hider().hideDelayTimer.Enabled());  // hidden again at once, and the wait runs
  data.settings.NoCursor = false;                     // without cursor hiding the cursor is left alone
  app.Hider().StopHiding();
  hooks.StartWindowPick();
  hooks.OnPickerEvent({0, 0x201, 1, 2});
  hooks.RunPostedWork();
  EXPECT_EQ(p.cursors.log, (Lines{"blank", "restore", "blank", "restore"}));
  EXPECT_FALSE(app.Hider().hideDelayTimer.Enabled());
}

}  // namespace
}  // namespace corvid
