#include "actions/mouse_motion.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

#include "fakes/headless_app.h"

namespace corvid {
namespace {

using Step = std::pair<int32_t, int32_t>;
using Steps = std::vector<Step>;

// Report bytes of the mask buttons used here (byte, bit of the held mask).
constexpr uint8_t kUp = 0x10, kRight = 0x20, kDown = 0x40, kLeft = 0x80;  // byte 0
constexpr uint8_t kR1 = 0x08, kTriangle = 0x10, kSquare = 0x80;          // byte 1
constexpr uint8_t kEnter = 0x08;                                         // byte 2

class MouseMotionTest : public ::testing::Test, public HeadlessApp {
 protected:
  MouseMotionTest() {
    screen.width = 1280;
    screen.height = 1024;
    data.settings.CurSmooth = false;
    engine.SwitchToMouseMode();
    app.MonitorLines().Clear();
    // Every event with the replay time it was sent at.
    p.input.onEvent = [this](const InputEvent&) { times.push_back(p.clock.NowMs()); };
  }
  // The program, which ends after these members, lets go of what it holds.
  ~MouseMotionTest() override { p.input.onEvent = nullptr; }
  Steps Moves() const {
    Steps out;
    for (const InputEvent& e : p.input.events)
      if (e.type == InputEvent::Type::Mouse && e.flags == mouseflag::kMove) out.push_back({e.dx, e.dy});
    return out;
  }
  std::vector<uint32_t> MouseFlags() const {
    std::vector<uint32_t> out;
    for (const InputEvent& e : p.input.events)
      if (e.type == InputEvent::Type::Mouse) out.push_back(e.flags);
    return out;
  }
  void Clear() {
    p.input.events.clear();
    times.clear();
  }

  std::vector<uint64_t> times;
  FixedScreen& screen = p.screen;
  MouseMotion& motion = app.Mouse();
};

// --- cursorTimer: acceleration and timing --------------------------------

TEST_F(MouseMotionTest, FactorGrowsBeforeItIsCappedSoOneTickOvershoots) {
  data.settings.CurSpeed = 100;  // 40 px per step at rest: the overshoot shows in whole pixels
  Report(0x54, kUp);
  p.clock.Advance(350);  // 35 ticks
  EXPECT_NEAR(motion.CursorFactor, 1.99989, 1e-5);
  p.clock.Advance(10);
  EXPECT_NEAR(motion.CursorFactor, 2.03989, 1e-5);
  p.clock.Advance(510);
  EXPECT_EQ(motion.CursorFactor, 2.0);
  const Steps m = Moves();
  ASSERT_EQ(m.size(), 1u + 37 + 50);
  EXPECT_EQ(m[0], Step(0, -40));  // the report's own step, factor 1.0
  EXPECT_EQ(m[2], Step(0, -41));  // 41.616
  EXPECT_EQ(m[36], Step(0, -81)); // 81.59: the one tick above 2.0
  EXPECT_EQ(m.back(), Step(0, -80));
}

TEST_F(MouseMotionTest, ReleaseStopsTheCursorAndTheNextHoldStartsAtRest) {
  data.settings.CurRepeat = 25;
  Report(0x55, kRight);
  p.clock.Advance(200);
  EXPECT_EQ(Moves().size(), 1u + 8);
  Release();
  EXPECT_FALSE(motion.cursorTimer.Enabled());
  EXPECT_EQ(motion.CursorFactor, 1.0);
  p.clock.Advance(500);
  EXPECT_EQ(Moves().size(), 1u + 8);
  Report(0x55, kRight);
  EXPECT_EQ(Moves().back(), Step(4, 0));
}

TEST_F(MouseMotionTest, EveryReportWithADirectionStepsOnceMoreWithoutRestartingThePeriod) {
  Report(0x54, kUp);
  p.clock.Advance(5);
  Report(0x0B, kUp, 0, kEnter);  // + ENTER: high speed, an extra step now
  EXPECT_EQ(Moves(), (Steps{{0, -4}, {0, -8}}));
  p.clock.Advance(5);  // the tick still comes 10 ms after the first report
  EXPECT_EQ(Moves().size(), 3u);
  EXPECT_EQ(times.back(), 10u);
}

// --- MoveCursor and SendCursorDelta: the pixel steps ------------------------

TEST_F(MouseMotionTest, SpeedBitsTruncationAndHugeSpeeds) {
  engine.ActiveMap()[0x5A] = {action::kMouseMove, mouse::kLowSpeed, "LSpeed."};  // L1
  Report(0x54, kUp, 0, kEnter);
  Report(0x5A, kUp, 0x04, kEnter);  // + L1: low speed over high
  data.settings.CurSpeed = 7;       // 2.8 normal, 1.4 low: truncated toward zero
  Report(0x57, kLeft);
  Report(0x5A, kLeft, 0x04);
  data.settings.CurSpeed = INT_MAX;  // with a wide screen no integer holds the step
  data.settings.AdjustAspect = true;
  screen.width = 1920;
  screen.height = 1080;
  Report(0x0B, kLeft, 0, kEnter);
  EXPECT_EQ(Moves(), (Steps{{0, -8}, {0, -2}, {-2, 0}, {-1, 0}, {INT32_MIN, 0}}));
}

TEST_F(MouseMotionTest, DiagonalStepHasTheLengthOfAStraightOneAndAspectWidensOnlyX) {
  Report(0x54, kUp);
  Report(0x55, kUp | kRight);  // 2.83 per axis, truncated
  Report(0x56, kUp | kRight | kDown);  // up and down cancel
  EXPECT_TRUE(app.MonitorLines().Lines().empty());
  app.MonitorLines().SetVisible(true);
  Report(0x57, kUp | kRight | kDown | kLeft);
  EXPECT_EQ(app.MonitorLines().Lines(), Lines{" Cursor ↑→↓←"});
  Report(0x57, kUp | kLeft);
  EXPECT_EQ(Moves(), (Steps{{0, -4}, {2, -2}, {4, 0}, {0, 0}, {-2, -2}}));
  Clear();
  data.settings.AdjustAspect = true;
  screen.width = 1920;
  screen.height = 1080;
  Report(0x55, kRight);  // 7.11
  Report(0x56, kRight | kDown);  // 2.83 x 1.78 = 5.03, and 2.83
  Report(0x56, kDown);
  screen.height = 0;  // a screen that reports nothing is left alone
  Report(0x57, kLeft);
  EXPECT_EQ(Moves(), (Steps{{7, 0}, {5, 2}, {0, 4}, {-4, 0}}));
}

// --- Smoothing ---------------------------------------------------------------

TEST_F(MouseMotionTest, SmoothingStartsAtZeroSettlesAtTwelveThirteenthsAndRestartsPerHold) {
  data.settings.CurSmooth = true;
  for (int i = 0; i < 30; ++i) motion.SendCursorDelta(0, -26);
  const Steps m = Moves();
  EXPECT_EQ(m[0], Step(0, 0));
  EXPECT_EQ(m[1], Step(0, -13));  // half of the first step
  EXPECT_EQ(m[2], Step(0, -17));  // two of three
  for (const Step& s : m) EXPECT_GE(s.second, -24);
  EXPECT_EQ(m.back(), Step(0, -24));
  Release();
  Clear();
  Report(0x55, kRight);  // the first report of a hold moves nothing
  p.clock.Advance(10);
  Release();
  Report(0x55, kRight);  // the window starts afresh
  EXPECT_EQ(Moves(), (Steps{{0, 0}, {2, 0}, {0, 0}}));
}

// --- Clicks --------------------------------------------------------------------

TEST_F(MouseMotionTest, ClickHeldElsewhereButWholeAtOnceOverOwnWindow) {
  using F = std::vector<uint32_t>;
  Report(0x5F, 0, kSquare);
  p.clock.Advance(300);
  Release();
  EXPECT_EQ(MouseFlags(), (F{mouseflag::kLeftDown, mouseflag::kLeftUp}));
  EXPECT_EQ(times, (std::vector<uint64_t>{0, 300}));
  Clear();
  screen.overOwnWindow = true;
  Report(0x5F, 0, kSquare);
  EXPECT_EQ(MouseFlags(), (F{mouseflag::kLeftDown, mouseflag::kLeftUp}));
  EXPECT_EQ(times, (std::vector<uint64_t>{300, 310}));
  Clear();
  Release();  // nothing left to release (the wait still runs)
  EXPECT_TRUE(MouseFlags().empty());
  EXPECT_FALSE(engine.Input().LButtonDown);
  screen.overOwnWindow = false;
  Report(0x5C, 0, kTriangle);  // Dbl.LClick ends released
  EXPECT_EQ(MouseFlags(), (F{mouseflag::kLeftDown, mouseflag::kLeftUp, mouseflag::kLeftDown, mouseflag::kLeftUp}));
  EXPECT_EQ(times, (std::vector<uint64_t>{320, 320, 330, 330}));
  Clear();
  Release();
  EXPECT_TRUE(MouseFlags().empty());
}

TEST_F(MouseMotionTest, ClickWhileMovingKeepsTheCursorGoing) {
  Report(0x55, kRight);
  Report(0x5F, kRight, kSquare);
  Report(0x55, kRight, 0);  // SQUARE up, RIGHT still held
  p.clock.Advance(10);
  EXPECT_EQ(MouseFlags(), (std::vector<uint32_t>{mouseflag::kMove, mouseflag::kLeftDown, mouseflag::kMove,
                                                 mouseflag::kLeftUp, mouseflag::kMove, mouseflag::kMove}));
}

// --- wheelTimer ------------------------------------------------------------

TEST_F(MouseMotionTest, WheelNotchesAtOnceThenEveryThirtyMilliseconds) {
  Report(0x5B, 0, kR1);  // WheelUP
  p.clock.Advance(95);
  Report(0x0B, 0, kR1, kEnter);  // + high speed: a notch of 120 at once
  Release();
  p.clock.Advance(100);
  std::vector<int32_t> data;
  for (const InputEvent& e : p.input.events) data.push_back(e.mouseData);
  EXPECT_EQ(data, (std::vector<int32_t>{60, 60, 60, 60, 120}));
  EXPECT_EQ(times, (std::vector<uint64_t>{0, 30, 60, 90, 95}));
  EXPECT_FALSE(motion.wheelTimer.Enabled());
  EXPECT_EQ(app.MonitorLines().Lines().size(), 10u);  // a press and a release line per notch
}

TEST_F(MouseMotionTest, AButtonHeldAcrossAnEmptyEntryAndAModeChangeIsLetGo) {
  Report(0x5F, 0, kSquare);        // SQUARE: the left button, held
  Report(0x00, 0, kSquare);        // NUM1, empty in the mouse map
  Report(0x50, 0x01, kSquare);     // SELECT: keyboard mode
  Release();
  EXPECT_EQ(engine.Input().HeldButtons(), 0u);
  EXPECT_EQ(MouseFlags().back(), mouseflag::kLeftUp);
  // And every "release everything" lets go of a held button too.
  engine.SwitchToMouseMode();
  Report(0x5F, 0, kSquare);
  engine.ReleaseEverything();
  EXPECT_EQ(engine.Input().HeldButtons(), 0u);
  EXPECT_FALSE(motion.Holding());
}

}  // namespace
}  // namespace corvid
