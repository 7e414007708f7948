#pragma once
// The window in front, watched with WinEvent hooks of the system's (out of
// context: nothing is loaded into other processes, and the system calls
// back on this thread through its message queue). The program hears of
// each change of the window in front once.
#include <functional>

#include "control/desktop.h"

namespace corvid {

class ForegroundHookWin32 {
 public:
  explicit ForegroundHookWin32(std::function<void(WindowHandle)> onChange) : onChange_(std::move(onChange)) {}
  ~ForegroundHookWin32() { Watch(false); }
  ForegroundHookWin32(const ForegroundHookWin32&) = delete;
  ForegroundHookWin32& operator=(const ForegroundHookWin32&) = delete;

  // False when the system refused the hook.
  bool Watch(bool on);
  bool Watching() const { return hook_ != nullptr; }
  void Notify(WindowHandle w);

 private:
  std::function<void(WindowHandle)> onChange_;
  void* hook_ = nullptr;
  void* focusHook_ = nullptr;
  WindowHandle last_ = 0;
};

}  // namespace corvid
