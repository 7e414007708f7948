#pragma once

namespace corvid {

// Hiding the cursor while the mouse is not used.
class CursorHiding {
 public:
  virtual ~CursorHiding() = default;
  // Keyboard mode with hiding on: hide after the wait.
  virtual void StartWaitErase() = 0;
  // Mouse mode: stop waiting and show the cursor now.
  virtual void StopWaitEraseAndShow() = 0;
};

}  // namespace corvid
