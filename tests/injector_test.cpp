#include "actions/injector.h"

#include <gtest/gtest.h>

#include "app/headless_platform.h"

namespace corvid {
namespace {

using Lines = std::vector<std::string>;

struct InjectorTest : ::testing::Test {
  RecordingInputSink sink;
  LineView monitor;
  uint32_t speed = 0;
  int refused = 0;
  Injector inj{sink, monitor, [this] { ++refused; }, [this] { return speed; }};
};

TEST_F(InjectorTest, ChordPressAndReleaseOrderWithScanCodesAndTheThreadsExtraInfo) {
  sink.extraInfo = 0x5A5A;
  inj.PressKey(0x1111, 0x41);
  inj.ReleaseKey(0x1111, 0x41);
  EXPECT_EQ(monitor.Lines(), (Lines{" ALT", " CTRL", " SHIFT", " WIN", " 0x41", "-0x41", "-WIN", "-SHIFT", "-CTRL",
                                    "-ALT"}));
  ASSERT_EQ(sink.events.size(), 10u);
  EXPECT_EQ(sink.events[0].vk, 0x12);
  EXPECT_EQ(sink.events[3].vk, 0x5B);
  EXPECT_EQ(sink.events[9].vk, 0x12);
  for (const InputEvent& e : sink.events) {
    EXPECT_EQ(e.scan, e.vk);  // what the fake keyboard layout maps each key to
    EXPECT_EQ(e.extraInfo, 0x5A5Au);
    EXPECT_EQ(e.flags, &e < &sink.events[5] ? keyflag::kExtendedKey : keyflag::kExtendedKey | keyflag::kKeyUp);
  }
}

TEST_F(InjectorTest, ModifiersDoNotStackAndStayUntilNamed) {
  inj.PressKey(0x0010, 0);
  inj.PressKey(0x0010, 0x41);
  inj.ReleaseKey(0, 0x41);
  EXPECT_TRUE(inj.CtrlDown);
  EXPECT_EQ(monitor.Lines(), (Lines{" CTRL", " 0x41", "-0x41"}));
  inj.ReleaseKey(0x1000, 0);  // Win was never pressed: nothing sent
  EXPECT_EQ(sink.events.size(), 3u);
  EXPECT_EQ(inj.HeldModifiers(), 0x0010u);
}

TEST_F(InjectorTest, MouseButtonsPressBeforeRelease) {
  inj.SendMouseButtons(0x10);
  inj.SendMouseButtons(0x30);
  inj.SendMouseButtons(0);
  EXPECT_EQ(monitor.Lines(), (Lines{" LClick", " RClick", "-LClick", "-RClick"}));
  EXPECT_EQ(sink.events[1].flags, mouseflag::kRightDown);
  EXPECT_EQ(sink.events[3].flags, mouseflag::kRightUp);
}

TEST_F(InjectorTest, WheelNotchSizesFollowTheSpeedBits) {
  inj.SendWheel(0x100);
  inj.SendWheel(0);
  speed = 0x1000;
  inj.SendWheel(0x200);
  inj.SendWheel(0);
  speed = 0x3000;  // low speed wins
  inj.SendWheel(0x200);
  inj.SendWheel(0);
  ASSERT_EQ(sink.events.size(), 3u);  // releases send nothing
  EXPECT_EQ(sink.events[0].mouseData, 60);
  EXPECT_EQ(sink.events[1].mouseData, -120);
  EXPECT_EQ(sink.events[2].mouseData, -30);
  EXPECT_EQ(monitor.Lines()[0], " Wheel↑");
  EXPECT_EQ(monitor.Lines()[1], "-Wheel↑");
}

}  // namespace
}  // namespace corvid
