#pragma once
// The Win32 services of the main window: message timers, time, the queue,
// message boxes.
#include <cstdint>

#include "app/main_window.h"
#include "app/timer.h"

struct HWND__;
typedef HWND__* HWND;

namespace corvid {

// Timers on SetTimer of one window; the timer's address is its identifier.
class Win32TimerHost : public TimerHost {
 public:
  void Attach(HWND window) { window_ = window; }
  void Arm(Timer& t) override;
  void Disarm(Timer& t) override;
  // From WM_TIMER.
  static void OnTimerMessage(uintptr_t id) { reinterpret_cast<Timer*>(id)->Fire(); }
  bool Owns(uintptr_t id) const;

 private:
  HWND window_ = nullptr;
  // Identifiers armed now, so a late WM_TIMER of a stopped timer is ignored.
  static constexpr int kMax = 32;
  uintptr_t armed_[kMax] = {};
};

class Win32Clock : public Clock {
 public:
  uint64_t NowMs() override;
  void Sleep(uint32_t ms) override;
};

class Win32Queue : public MainWindowQueue {
 public:
  void Attach(HWND window) { window_ = window; }
  void RemovePendingMouseMessages() override;
  void RemovePendingKeyboardMessages() override;

 private:
  HWND window_ = nullptr;
};

class Win32MessageBoxes : public MessageBoxes {
 public:
  int Show(std::string_view text, std::string_view caption, Kind kind) override;
};

}  // namespace corvid
