#include <gtest/gtest.h>

#include "app/session_replay.h"
#include "base/manual_clock.h"
#include "remote/recorded_session.h"

namespace corvid {
namespace {

// The other readings of a session are in examples/session-lines.txt.
TEST(RecordedSession, ALoneCrEndsALineAndBadBytesAreShownEscaped) {
  auto s = ParseRecordedSession("01 02\rwait 5\r02 \x1B[2J\xFF\n");
  ASSERT_EQ(s.steps.size(), 2u);
  ASSERT_EQ(s.problems.size(), 1u);
  EXPECT_EQ(s.problems[0].line, 3);
  EXPECT_EQ(s.problems[0].text, "not a hex byte: \"\\x1B[2J\\xFF\"");  // nothing raw to the terminal
}

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
  EXPECT_EQ(fired, (std::vector<std::string>{"a10", "a20", "b25", "a30"}));
  fired.clear();
  clock.Sleep(100);  // a blocked thread: one late tick each, not ten
  clock.RunDue();
  EXPECT_EQ(fired, (std::vector<std::string>{"a130", "b130"}));
  a.SetInterval(20);  // a new interval restarts the period
  b.Stop();
  clock.Advance(19);
  EXPECT_EQ(fired.size(), 2u);
  clock.Advance(1);
  EXPECT_EQ(fired.back(), "a150");
}

// However many reports come without a wait, each turn of the message loop
// plays a bounded number. (Its end letting go is in examples/session-lines.txt.)
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
  size_t total = 0;
  for (size_t n : perTurn) {
    EXPECT_LE(n, SessionReplay::kReportsPerTick);
    total += n;
  }
  EXPECT_EQ(total, 1000u);
}

}  // namespace
}  // namespace corvid
