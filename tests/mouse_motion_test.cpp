#include "actions/mouse_motion.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

#include "actions/injector.h"
#include "fakes/headless_app.h"

namespace corvid {
namespace {

using Step = std::pair<int32_t, int32_t>;
using Steps = std::vector<Step>;

// Mask bits of the buttons used here: byte 0, then byte 1 and byte 2.
constexpr uint8_t kUp = 0x10, kRight = 0x20, kDown = 0x40, kLeft = 0x80, kSquare = 0x80, kEnter = 0x08;

struct InjectorTest : ::testing::Test {
  RecordingInputSink sink;
  LineView monitor;
  uint32_t speed = 0;
  Injector inj{sink, monitor, [] {}, [this] { return speed; }};
};

TEST_F(InjectorTest, ChordPressAndReleaseOrderWithScanCodesAndTheThreadsExtraInfo) {
  sink.extraInfo = 0x5A5A;
  inj.PressKey(0x1111, 0x41);
  inj.ReleaseKey(0x1111, 0x41);
  EXPECT_EQ(monitor.Lines(),
            (Lines{" ALT", " CTRL", " SHIFT", " WIN", " 0x41", "-0x41", "-WIN", "-SHIFT", "-CTRL", "-ALT"}));
  ASSERT_EQ(sink.events.size(), 10u);
  EXPECT_EQ(sink.events[0].vk, 0x12);
  EXPECT_EQ(sink.events[3].vk, 0x5B);
  for (const InputEvent& e : sink.events) {
    EXPECT_EQ(e.scan, e.vk);  // what the fake keyboard layout maps each key to
    EXPECT_EQ(e.extraInfo, 0x5A5Au);
    EXPECT_EQ(e.flags, &e < &sink.events[5] ? keyflag::kExtendedKey : keyflag::kExtendedKey | keyflag::kKeyUp);
  }
}

TEST_F(InjectorTest, HeldModifiersAndButtonsAreNotPressedAgainAndStayUntilNamed) {
  inj.PressKey(0x0010, 0);
  inj.PressKey(0x0010, 0x41);
  inj.ReleaseKey(0, 0x41);
  inj.ReleaseKey(0x1000, 0);  // Win was never pressed: nothing sent
  EXPECT_EQ(inj.HeldModifiers(), 0x0010u);
  inj.SendMouseButtons(0x10);
  inj.SendMouseButtons(0x30);
  inj.SendMouseButtons(0);
  EXPECT_EQ(monitor.Lines(), (Lines{" CTRL", " 0x41", "-0x41", " LClick", " RClick", "-LClick", "-RClick"}));
  EXPECT_EQ(sink.events[4].flags, mouseflag::kRightDown);
  EXPECT_EQ(sink.events[6].flags, mouseflag::kRightUp);
}

TEST_F(InjectorTest, WheelNotchSizesFollowTheSpeedBits) {
  for (uint32_t bits : {0x000, 0x1000, 0x3000}) {  // normal, high, low speed over high
    speed = bits;
    inj.SendWheel(bits ? 0x200 : 0x100);
    inj.SendWheel(0);
  }
  ASSERT_EQ(sink.events.size(), 3u);  // releases send nothing
  EXPECT_EQ(sink.events[0].mouseData, 60);
  EXPECT_EQ(sink.events[1].mouseData, -120);
  EXPECT_EQ(sink.events[2].mouseData, -30);
  EXPECT_EQ(monitor.Lines()[1], "-Wheel↑");
}

class MouseMotionTest : public ::testing::Test, public HeadlessApp {
 protected:
  MouseMotionTest() {
    screen.width = 1280;
    screen.height = 1024;
    data.settings.CurSmooth = false;
    engine.SwitchToMouseMode();
  }
  Steps Moves() const {
    Steps out;
    for (const InputEvent& e : p.input.events)
      if (e.type == InputEvent::Type::Mouse && e.flags == mouseflag::kMove) out.push_back({e.dx, e.dy});
    return out;
  }

  FixedScreen& screen = p.screen;
  MouseMotion& motion = app.Mouse();
};

// The steps at each speed, their truncation and the aspect are in the
// recorded session examples/cursor-speeds.txt; the speeding up, its period
// and a click while moving in examples/mouse-cursor-steps.txt.
TEST_F(MouseMotionTest, HugeSpeedsArePinnedAScreenWithoutHeightIsNotWidenedAndTheMonitorShowsTheArrows) {
  data.settings.AdjustAspect = true;
  screen.height = 0;
  app.MonitorLines().SetVisible(true);
  Report(0x57, kUp | kRight | kDown | kLeft);
  EXPECT_EQ(Monitor(), Lines{" Cursor ↑→↓←"});
  Report(0x57, kLeft);
  data.settings.CurSpeed = INT_MAX;  // with a wide screen no integer holds the step
  screen.height = 100;
  Report(0x0B, kLeft, 0, kEnter);
  EXPECT_EQ(Moves(), (Steps{{0, 0}, {-4, 0}, {INT32_MIN, 0}}));
}

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
  p.input.events.clear();
  Report(0x55, kRight);  // the first report of a hold moves nothing
  p.clock.Advance(10);
  Release();
  Report(0x55, kRight);  // the window starts afresh
  EXPECT_EQ(Moves(), (Steps{{0, 0}, {2, 0}, {0, 0}}));
}

// Held elsewhere (see the recorded mouse session), but whole at once over
// Corvid's own windows. Nothing stays held or ticking after a release.
TEST_F(MouseMotionTest, ClickOverOwnWindowIsWholeAtOnceAndNothingStaysHeld) {
  std::vector<uint64_t> times;
  p.input.onEvent = [&](const InputEvent&) { times.push_back(p.clock.NowMs()); };
  screen.overOwnWindow = true;
  Report(0x5F, 0, kSquare);
  Release();
  p.input.onEvent = nullptr;
  EXPECT_EQ(Monitor(), (Lines{" LClick", "-LClick"}));
  EXPECT_EQ(times, (std::vector<uint64_t>{0, 10}));
  screen.overOwnWindow = false;
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
