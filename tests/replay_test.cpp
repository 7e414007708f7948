#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "app/session_replay.h"
#include "base/manual_clock.h"
#include "remote/recorded_session.h"

namespace corvid {
namespace {

TEST(ManualClock, FiresInDueOrderCoalescesAfterSleepAndKeepsARunningTimersPeriod) {
  ManualClock clock;
  std::vector<std::string> fired;
  Timer a(clock, 10, [&] { fired.push_back("a" + std::to_string(clock.NowMs())); });
  Timer b(clock, 25, [&] { fired.push_back("b" + std::to_string(clock.NowMs())); });
  a.Start();
  b.Start();
  clock.Advance(27);
  a.Start();  // running: keeps its period
  clock.Advance(3);
  clock.Sleep(100);  // a blocked thread: one late tick each, not ten
  clock.RunDue();
  a.SetInterval(20);  // a new interval restarts the period
  b.Stop();
  clock.Advance(20);
  EXPECT_EQ(fired, (std::vector<std::string>{"a10", "a20", "b25", "a30", "a130", "b130", "a150"}));
}

// However many reports come without a wait, each turn of the message loop plays a bounded number.
TEST(SessionReplay, PlaysInBoundedTurns) {
  ManualClock clock;
  std::vector<size_t> perTurn{0};
  bool finished = false;
  SessionReplay replay(
      clock, [&](uint8_t, const uint8_t*, size_t) { ++perTurn.back(); }, [&] { finished = true; });
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "01 00 00 00 FF FF FF FF FF 00 00 05\n";
  replay.Start(ParseRecordedSession(text));
  while (!finished && clock.AdvanceToNext()) perTurn.push_back(0);
  EXPECT_LE(*std::max_element(perTurn.begin(), perTurn.end()), SessionReplay::kReportsPerTick);
  EXPECT_EQ(std::accumulate(perTurn.begin(), perTurn.end(), size_t{0}), 1000u);
}

}  // namespace
}  // namespace corvid
