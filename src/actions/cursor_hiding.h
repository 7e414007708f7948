#pragma once

namespace corvid {

// Hiding the cursor while the mouse is not used, as the mode switches see it.
class CursorHiding {
 public:
  virtual ~CursorHiding() = default;
  // Keyboard mode with hiding on: hide after the wait.
  virtual void StartWaitErase() = 0;
  // Mouse mode: stop waiting and show the cursor now.
  virtual void StopWaitEraseAndShow() = 0;
};

// The low-level mouse hook that brings a hidden cursor back at the first
// movement; installing an installed one and removing a removed one do nothing.
class CursorWakeHook {
 public:
  virtual ~CursorWakeHook() = default;
  virtual void InstallCursorWakeHook() = 0;
  virtual void RemoveCursorWakeHook() = 0;
};

}  // namespace corvid
