#include "base/manual_clock.h"

#include <algorithm>

namespace corvid {

void ManualClock::Arm(Timer& t) {
  const uint64_t due = now_ + std::max<uint32_t>(t.Interval(), 1);
  for (Slot& s : slots_)
    if (s.timer == &t) {
      s.due = due;
      return;
    }
  slots_.push_back({&t, due});
}

void ManualClock::Disarm(Timer& t) {
  std::erase_if(slots_, [&](const Slot& s) { return s.timer == &t; });
}

bool ManualClock::AdvanceToNext() {
  if (slots_.empty()) return false;
  const auto next = std::min_element(slots_.begin(), slots_.end(),
                                     [](const Slot& a, const Slot& b) { return a.due < b.due; });
  Advance(next->due > now_ ? next->due - now_ : 0);
  return true;
}

void ManualClock::Advance(uint64_t ms) {
  const uint64_t target = now_ + ms;
  for (;;) {
    auto next = std::min_element(slots_.begin(), slots_.end(),
                                 [](const Slot& a, const Slot& b) { return a.due < b.due; });
    if (next == slots_.end() || next->due > target) break;
    Timer* t = next->timer;
    now_ = std::max(now_, next->due);
    // The next period counts from now: an overdue timer fires once, not once
    // per missed period.
    next->due = now_ + std::max<uint32_t>(t->Interval(), 1);
    t->Fire();  // may arm, disarm or sleep
  }
  now_ = std::max(now_, target);
}

}  // namespace corvid
