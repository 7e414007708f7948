#pragma once
// A timer of the main window: an interval, an enabled flag and a handler, run
// on the user-interface thread by a TimerHost (SetTimer on Windows, a manual
// clock in tests and replays).
#include <cstdint>
#include <functional>

namespace corvid {

class Timer;

class TimerHost {
 public:
  virtual ~TimerHost() = default;
  // (Re)starts the period of `t` from now.
  virtual void Arm(Timer& t) = 0;
  virtual void Disarm(Timer& t) = 0;
};

class Timer {
 public:
  Timer(TimerHost& host, uint32_t intervalMs, std::function<void()> onTimer)
      : host_(host), interval_(intervalMs), onTimer_(std::move(onTimer)) {}
  ~Timer() { SetEnabled(false); }
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  // Enabling a running timer keeps its period; changing the interval of a
  // running one restarts it.
  void SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    if (on) host_.Arm(*this); else host_.Disarm(*this);
  }
  void Start() { SetEnabled(true); }
  void Stop() { SetEnabled(false); }
  bool Enabled() const { return enabled_; }

  void SetInterval(uint32_t ms) {
    if (ms == interval_) return;
    interval_ = ms;
    if (enabled_) host_.Arm(*this);
  }
  uint32_t Interval() const { return interval_; }

  // Called by the host when the period has elapsed.
  void Fire() {
    if (enabled_ && onTimer_) onTimer_();
  }

 private:
  TimerHost& host_;
  uint32_t interval_;
  bool enabled_ = false;
  std::function<void()> onTimer_;
};

// Time as the core sees it; Sleep blocks the user-interface thread.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint64_t NowMs() = 0;
  virtual void Sleep(uint32_t ms) = 0;
};

}  // namespace corvid
