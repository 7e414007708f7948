#pragma once
// A recorded session played in place of the remote: its reports go to the
// report handler as the HID layer hands them over, its waits run on a timer
// of the program, so the program's own timers (repeat, cursor, message) run
// between them exactly as they do for the remote.
#include <cstdint>
#include <functional>
#include <vector>

#include "base/timer.h"
#include "remote/recorded_session.h"

namespace corvid {

class SessionReplay {
 public:
  // Reports played in one turn of the message loop at the most.
  static constexpr size_t kReportsPerTick = 200;
  using Deliver = std::function<void(uint8_t reportId, const uint8_t* data, size_t size)>;
  SessionReplay(TimerHost& timers, Deliver deliver, std::function<void()> finished);

  // Starts at the next timer tick (the message loop runs first).
  void Start(RecordedSession session);
  void Stop();
  bool Running() const { return running_; }

 private:
  void Step();

  Timer timer_;
  Deliver deliver_;
  std::function<void()> finished_;
  RecordedSession session_;
  size_t next_ = 0;
  bool running_ = false;
};

}  // namespace corvid
