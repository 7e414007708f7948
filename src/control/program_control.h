#pragma once
// What the dispatcher asks of program control: the launch-program actions
// and the power actions.
#include <cstdint>

namespace corvid {

class AppActions {
 public:
  virtual ~AppActions() = default;
  // At the release of an App button (index 0..7, or 255 for quit all).
  virtual void RunAppAction(int32_t index) = 0;
  // The long-press timer of an App button has expired.
  virtual void DisableExecTimer() = 0;
  // At start-up: the programs recorded to start with Corvid.
  virtual void StartRecordedPrograms() {}
};

class PowerActions {
 public:
  virtual ~PowerActions() = default;
  virtual void SuspendSystem(bool hibernate) = 0;
  virtual void ExitSystem(int32_t how) = 0;  // 1 shut down, 2 reboot
};

}  // namespace corvid
