#pragma once
// The mouse mode over time: cursor steps with acceleration, diagonal and
// aspect correction and smoothing, mouse buttons and double clicks, and the
// repeated wheel notches, all driven by the held bits and two timers.
#include <array>
#include <cstdint>

#include "actions/injector.h"
#include "actions/mouse_driver.h"
#include "actions/own_windows.h"
#include "base/screen_size.h"
#include "base/text_view.h"
#include "base/timer.h"
#include "model/settings.h"

namespace corvid {

class MouseMotion : public MouseDriver {
 public:
  // `codeMonitor` gets the cursor lines while it is visible.
  MouseMotion(TimerHost& timers, Clock& clock, Injector& input, const Settings& settings, TextView& codeMonitor,
              ScreenSize& screen, OwnWindows& own);
  MouseMotion(const MouseMotion&) = delete;
  MouseMotion& operator=(const MouseMotion&) = delete;

  void SetMouseState(uint32_t bits, uint16_t mouseKey) override;
  void ResetFactors() override { CursorFactor = 1.0; }
  uint32_t SpeedBits() const override { return speedBits_; }
  bool Holding() const override { return (clickBits_ | dirBits_ | wheelBits_) != 0; }

  uint32_t DirBits() const { return dirBits_; }
  uint32_t ClickBits() const { return clickBits_; }
  uint32_t WheelBits() const { return wheelBits_; }

  void OnCursorStep();
  void OnWheelStep();
  void MoveCursor(uint32_t dirs);
  void SendCursorDelta(double dx, double dy);

  // Applies CurRepeat to cursorTimer (also done whenever the cursor starts).
  void ApplyTimerSettings();

  Timer cursorTimer;
  Timer wheelTimer;

  double CursorFactor = 1.0;
  static constexpr int kSmoothSlots = 20;
  static constexpr int kSmoothWindow = 12;  // N; slots 0..N are in use
  struct Delta {
    double dx = 0, dy = 0;
  };
  std::array<Delta, kSmoothSlots> SmoothHistory{};
  int32_t SmoothCount = 0;

 private:
  void StopCursor();

  Clock& clock_;
  Injector& input_;
  const Settings& settings_;
  TextView& monitor_;
  ScreenSize& screen_;
  OwnWindows& own_;
  uint32_t speedBits_ = 0;
  uint32_t dirBits_ = 0;
  uint32_t clickBits_ = 0;
  uint32_t wheelBits_ = 0;
};

}  // namespace corvid
