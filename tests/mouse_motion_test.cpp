#include "actions/mouse_motion.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <utility>
#include <vector>

#include "actions/injector.h"
#include "fakes/headless_app.h"

namespace corvid {
namespace {

// Mask bits of the buttons used here: byte 0, then byte 1 and byte 2.
constexpr uint8_t kUp = 0x10, kRight = 0x20, kDown = 0x40, kLeft = 0x80, kSquare = 0x80, kEnter = 0x08;

struct InjectorTest : ::testing::Test {
  RecordingInputSink sink;
  LineView monitor;
  Injector inj{sink, monitor, [] {}, [] { return 0u; }};
};

TEST_F(InjectorTest, ChordPressAndReleaseOrderWithScanCodesAndTheThreadsExtraInfo) {
  sink.extraInfo = 0x5A5A;
  inj.PressKey(0x1111, 0x41);
  inj.ReleaseKey(0x1111, 0x41);
  EXPECT_EQ(monitor.Lines(),
            (Lines{" ALT", " CTRL", " SHIFT", " WIN", " 0x41", "-0x41", "-WIN", "-SHIFT", "-CTRL", "-ALT"}));
  ASSERT_EQ(sink.events.size(), 10u);
  EXPECT_EQ(std::pair(sink.events[0].vk, sink.events[3].vk), (std::pair<uint16_t, uint16_t>(0x12, 0x5B)));  // Alt, Win
  for (const InputEvent& e : sink.events) {  // the fake keyboard layout maps each key to its own code
    const uint32_t flags = &e < &sink.events[5] ? keyflag::kExtendedKey : keyflag::kExtendedKey | keyflag::kKeyUp;
    EXPECT_EQ(e, (InputEvent{.vk = e.vk, .scan = e.vk, .flags = flags, .extraInfo = 0x5A5A}));
  }
}

// Held mouse buttons are in examples/two-buttons.txt.
TEST_F(InjectorTest, HeldModifiersAreNotPressedAgainAndStayUntilNamed) {
  inj.PressKey(0x0010, 0);
  inj.PressKey(0x0010, 0x41);
  inj.ReleaseKey(0, 0x41);
  inj.ReleaseKey(0x1000, 0);  // Win was never pressed: nothing sent
  EXPECT_EQ(inj.HeldModifiers(), 0x0010u);
  EXPECT_EQ(monitor.Lines(), (Lines{" CTRL", " 0x41", "-0x41"}));
}

class MouseMotionTest : public ::testing::Test, public HeadlessApp {
 protected:
  MouseMotionTest() {
    data.settings.CurSmooth = false;
    engine.SwitchToMouseMode();
  }
};

// Steps, aspect, speeding up and smoothing: examples/cursor-speeds, mouse-cursor-steps, smooth-cursor.
TEST_F(MouseMotionTest, HugeSpeedsArePinnedAScreenWithoutHeightIsNotWidenedAndTheMonitorShowsTheArrows) {
  data.settings.AdjustAspect = true;
  std::tie(p.screen.width, p.screen.height) = std::tuple(1280, 0);
  app.MonitorLines().SetVisible(true);
  Report(0x57, kUp | kRight | kDown | kLeft);
  EXPECT_EQ(Monitor(), Lines{" Cursor ↑→↓←"});
  Report(0x57, kLeft);
  data.settings.CurSpeed = INT_MAX;  // with a wide screen no integer holds the step
  p.screen.height = 100;
  Report(0x0B, kLeft, 0, kEnter);
  std::vector<std::pair<int32_t, int32_t>> moves;
  for (const InputEvent& e : p.input.events) moves.push_back({e.dx, e.dy});
  EXPECT_EQ(moves, (decltype(moves){{0, 0}, {-4, 0}, {INT32_MIN, 0}}));
}

// Held elsewhere (examples/mouse-session.txt), whole at once over Corvid's own windows.
TEST_F(MouseMotionTest, ClickOverOwnWindowIsWholeAtOnceAndNothingStaysHeldOrTicking) {
  std::vector<uint64_t> times;
  p.input.onEvent = [&](const InputEvent&) { times.push_back(p.clock.NowMs()); };
  p.screen.overOwnWindow = true;
  Report(0x5F, 0, kSquare);
  Release();
  EXPECT_EQ(Monitor(), (Lines{" LClick", "-LClick"}));
  EXPECT_EQ(times, (std::vector<uint64_t>{0, 10}));
  p.screen.overOwnWindow = false;
  Report(0x5F, 0, kSquare);
  engine.ReleaseEverything();
  EXPECT_EQ(engine.Input().HeldButtons(), 0u);
  EXPECT_FALSE(app.Mouse().Holding());
  // The sessions cannot see a wheel timer that ticks on sending nothing.
  Report(0x5B, 0, 0x08);  // R1: the wheel
  Release();
  EXPECT_FALSE(app.Mouse().wheelTimer.Enabled());
}

}  // namespace
}  // namespace corvid
