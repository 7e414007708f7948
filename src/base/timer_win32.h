#pragma once
// Timers and time on the Win32 API: message timers of a hidden window of
// the user-interface thread, and a clock whose sleep keeps that thread
// serving hook callbacks and sent messages.
#include <cstdint>
#include <unordered_set>

#include "base/timer.h"
#include "base/window_win32.h"

namespace corvid {

// The timer's address is its identifier. Create on the user-interface
// thread: the timers run on it.
class Win32TimerHost : public TimerHost, private Win32Window {
 public:
  Win32TimerHost();
  // Its hidden window was made: without it no timer fires.
  bool Exists() const { return Handle() != nullptr; }
  void Arm(Timer& t) override;
  void Disarm(Timer& t) override;

 private:
  intptr_t OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) override;
  // Identifiers armed now, so a late WM_TIMER of a stopped timer is ignored.
  std::unordered_set<uintptr_t> armed_;
};

class Win32Clock : public Clock {
 public:
  uint64_t NowMs() override;
  // Blocks the thread for `ms` as a sleep does for the program's own work
  // (timers, remote reports, posted messages wait), but answers sent
  // messages and the low-level hooks meanwhile: every mouse move and key
  // press of the desktop waits for a hook callback of this thread.
  void Sleep(uint32_t ms) override;
};

}  // namespace corvid
