#pragma once
// Timers and time on a clock that only moves when told to: the replay clock
// of recorded sessions and the clock of the tests.
#include <cstdint>
#include <vector>

#include "base/timer.h"

namespace corvid {

class ManualClock : public TimerHost, public Clock {
 public:
  void Arm(Timer& t) override;
  void Disarm(Timer& t) override;
  uint64_t NowMs() override { return now_; }
  // A blocked thread: time passes, timers fire afterwards (once each, as
  // coalesced timer messages do).
  void Sleep(uint32_t ms) override { now_ += ms; }

  // Moves time forward by `ms`, firing due timers in order of their due time.
  void Advance(uint64_t ms);
  // Fires timers that are due now (after a Sleep) without moving time.
  void RunDue() { Advance(0); }
  // Moves time to the next due timer and fires what is due then; false when
  // no timer is armed.
  bool AdvanceToNext();

 private:
  struct Slot {
    Timer* timer;
    uint64_t due;
  };
  std::vector<Slot> slots_;
  uint64_t now_ = 0;
};

}  // namespace corvid
