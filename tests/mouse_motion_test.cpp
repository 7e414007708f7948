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
constexpr uint8_t kSquare = 0x80;                                        // byte 1
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

// The speeding up, its period and a click while moving are in the recorded
// session examples/mouse-cursor-steps.txt.

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

// Held elsewhere (see the recorded mouse session), but whole at once over
// Corvid's own windows.
TEST_F(MouseMotionTest, ClickOverOwnWindowIsWholeAtOnce) {
  screen.overOwnWindow = true;
  Report(0x5F, 0, kSquare);
  EXPECT_EQ(MouseFlags(), (std::vector<uint32_t>{mouseflag::kLeftDown, mouseflag::kLeftUp}));
  EXPECT_EQ(times, (std::vector<uint64_t>{0, 10}));
  Clear();
  Release();  // nothing left to release
  EXPECT_TRUE(MouseFlags().empty());
  EXPECT_FALSE(engine.Input().LButtonDown);
}

// A button held across an empty entry and a mode change is let go at the
// release (examples/mouse-cursor-steps.txt); "release everything" lets go of
// it too. A wheel's release leaves no timer ticking for nothing.
TEST_F(MouseMotionTest, NothingHeldOrTickingAfterTheRelease) {
  Report(0x5F, 0, kSquare);
  engine.ReleaseEverything();
  EXPECT_EQ(engine.Input().HeldButtons(), 0u);
  EXPECT_FALSE(motion.Holding());
  Report(0x5B, 0, 0x08);  // R1: the wheel
  Release();
  EXPECT_FALSE(motion.wheelTimer.Enabled());
}

}  // namespace
}  // namespace corvid
