#include "app/session_replay.h"

namespace corvid {

SessionReplay::SessionReplay(TimerHost& timers, Deliver deliver, std::function<void()> finished)
    : timer_(timers, 1, [this] { Step(); }), deliver_(std::move(deliver)), finished_(std::move(finished)) {}

void SessionReplay::Start(RecordedSession session) {
  session_ = std::move(session);
  next_ = 0;
  running_ = true;
  timer_.Stop();
  timer_.SetInterval(1);
  timer_.Start();
}

void SessionReplay::Stop() {
  timer_.Stop();
  running_ = false;
}

void SessionReplay::Step() {
  timer_.Stop();
  size_t delivered = 0;
  while (running_ && next_ < session_.steps.size()) {
    const SessionStep& step = session_.steps[next_];
    if (step.kind == SessionStep::Kind::Wait) {
      ++next_;
      if (step.waitMs == 0) continue;
      timer_.SetInterval(step.waitMs);
      timer_.Start();
      return;
    }
    // However long a session runs without a wait, the message loop (the
    // tray, the timers, the hooks) gets its turn between batches.
    if (delivered == kReportsPerTick) {
      timer_.SetInterval(1);
      timer_.Start();
      return;
    }
    ++next_;
    ++delivered;
    if (!step.bytes.empty()) deliver_(step.bytes[0], step.bytes.data() + 1, step.bytes.size() - 1);
  }
  if (!running_) return;
  running_ = false;
  if (finished_) finished_();
}

}  // namespace corvid
