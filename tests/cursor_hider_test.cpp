#include "actions/cursor_hider.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/headless_platform.h"
#include "app/hooks.h"

namespace corvid {
namespace {

using Log = std::vector<std::string>;

struct FakeCursors : SystemCursors {
  bool ReplaceWithBlank() override {
    log.push_back(canCreate ? "blank" : "no blank");
    return canCreate;
  }
  void Restore() override { log.push_back("restore"); }
  Log log;
  bool canCreate = true;
};

struct FakeHookPlatform : HookPlatform {
  HookHandle InstallHook(HookKind) override { return failInstall ? 0 : 7; }
  bool RemoveHook(HookHandle) override { return true; }
  std::string WindowClassAt(int32_t, int32_t) override { return {}; }
  void PostHookWork() override {}
  bool failInstall = false;
};

class CursorHiderTest : public ::testing::Test {
 protected:
  CursorHiderTest() {
    ApplyFactoryKeyMaps(form.KeyboardMap, form.MouseMap);
    form.settings.NoCursor = true;
  }
  void Idle(bool editor = false, bool environment = false) { hider.ApplicationIdle(editor, environment); }
  void MoveMouse() {
    hooks.OnCursorWakeEvent({0, 0x200, 1, 1});
    hooks.RunPostedWork();
  }

  HeadlessPlatform p;
  TForm1 form{p.services()};
  FakeHookPlatform platform;
  GlobalHooks hooks{form, platform};
  FakeCursors cursors;
  CursorHider hider{form, cursors, hooks};
};

// --- Visible --------------------------------------------------------------------------

TEST_F(CursorHiderTest, WithHidingOffNothingIsReplacedButClosingStillRestores) {
  form.settings.NoCursor = false;
  form.SwitchToKeyboardMode();
  hider.ShowCursorAgain();
  Idle();
  p.clock.Advance(10000);
  EXPECT_FALSE(hider.WaitEraseCursor.Enabled());
  EXPECT_EQ(cursors.log, Log{"restore"});
  hider.FormClose();
  EXPECT_EQ(cursors.log, (Log{"restore", "restore"}));
}

TEST_F(CursorHiderTest, KeyboardModeHidesFourSecondsLater) {
  form.SwitchToKeyboardMode();
  p.clock.Advance(3999);
  EXPECT_TRUE(cursors.log.empty());
  p.clock.Advance(1);
  EXPECT_EQ(cursors.log, Log{"blank"});
  EXPECT_FALSE(hider.CursorVisible);
  EXPECT_FALSE(hider.WaitEraseCursor.Enabled());
  EXPECT_TRUE(hooks.Installed(HookKind::CursorWake));
}

TEST_F(CursorHiderTest, MouseModeNeverHides) {
  form.SwitchToMouseMode();
  EXPECT_TRUE(hider.CursorVisible);
  Idle();
  p.clock.Advance(10000);
  EXPECT_EQ(cursors.log, Log{"restore"});
  form.SwitchToKeyboardMode();
  p.clock.Advance(4000);
  EXPECT_FALSE(hider.CursorVisible);
}

TEST_F(CursorHiderTest, IdleStartsTheWaitWithoutRestartingIt) {
  hider.ShowCursorAgain();
  Idle();
  p.clock.Advance(3000);
  Idle();  // a running wait keeps its period
  p.clock.Advance(1000);
  EXPECT_FALSE(hider.CursorVisible);
}

TEST_F(CursorHiderTest, SettingsWindowKeepsThePointer) {
  hider.ShowCursorAgain();
  Idle(true);
  p.clock.Advance(10000);
  EXPECT_TRUE(hider.CursorVisible);
  EXPECT_EQ(cursors.log, Log{"restore"});
}

// --- Hidden ---------------------------------------------------------------------------

TEST_F(CursorHiderTest, MouseMoveShowsAndTheWaitStartsAgainAtTheNextIdle) {
  form.SwitchToKeyboardMode();
  p.clock.Advance(4000);
  MoveMouse();
  EXPECT_TRUE(hider.CursorVisible);
  EXPECT_FALSE(hooks.Installed(HookKind::CursorWake));
  EXPECT_FALSE(hider.WaitEraseCursor.Enabled());  // the move alone does not restart it
  Idle();
  p.clock.Advance(4000);
  EXPECT_EQ(cursors.log, (Log{"blank", "restore", "blank"}));
}

TEST_F(CursorHiderTest, OpeningTheEditorOrTheSettingsShowsAtTheNextIdle) {
  for (bool editor : {true, false}) {
    hider.HideCursor();
    hider.WaitEraseCursor.Start();
    Idle(editor, !editor);
    EXPECT_TRUE(hider.CursorVisible);
    EXPECT_FALSE(hider.WaitEraseCursor.Enabled());
  }
}

TEST_F(CursorHiderTest, MouseModeAndClosingShowAHiddenCursor) {
  hider.HideCursor();
  form.SwitchToMouseMode();
  EXPECT_TRUE(hider.CursorVisible);
  EXPECT_FALSE(hooks.Installed(HookKind::CursorWake));
  form.SwitchToKeyboardMode();
  p.clock.Advance(4000);
  hider.FormClose();
  EXPECT_EQ(cursors.log, (Log{"blank", "restore", "blank", "restore"}));
  EXPECT_FALSE(hooks.Installed(HookKind::CursorWake));
  EXPECT_FALSE(hider.WaitEraseCursor.Enabled());
}

// --- No blank cursor, no hook ----------------------------------------------------------

TEST_F(CursorHiderTest, WithoutABlankCursorCorvidGoesOnVisible) {
  cursors.canCreate = false;
  form.SwitchToKeyboardMode();
  p.clock.Advance(4000);
  EXPECT_FALSE(hider.Available());
  EXPECT_FALSE(hooks.Installed(HookKind::CursorWake));
  ASSERT_EQ(p.debugLog.Lines().size(), 1u);
  hider.ShowCursorAgain();
  Idle();
  form.SwitchToKeyboardMode();
  p.clock.Advance(10000);
  EXPECT_FALSE(hider.WaitEraseCursor.Enabled());
  EXPECT_EQ(cursors.log, (Log{"no blank", "restore"}));
  EXPECT_TRUE(p.boxes.shown.empty());
}

TEST_F(CursorHiderTest, HookThatCannotBeInstalledIsReportedAndTheCursorsChangeAnyway) {
  platform.failInstall = true;
  hider.HideCursor();
  EXPECT_EQ(cursors.log, Log{"blank"});
  EXPECT_FALSE(hider.CursorVisible);
  ASSERT_EQ(p.boxes.shown.size(), 1u);
  EXPECT_EQ(p.boxes.shown[0].text, "フック開始は失敗しました");
}

}  // namespace
}  // namespace corvid
