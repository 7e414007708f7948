#pragma once
// The window in front, watched with WinEvent hooks of the system's (out of
// context: nothing is loaded into other processes, and the system calls
// back on this thread through its message queue): the change of the window
// in front, and focus changes, which some systems (Wine among them) report
// where they do not report the other.
#include <functional>


namespace corvid {

class ForegroundHookWin32 {
 public:
  explicit ForegroundHookWin32(std::function<void()> onChange) : onChange_(std::move(onChange)) {}
  ~ForegroundHookWin32() { Watch(false); }
  ForegroundHookWin32(const ForegroundHookWin32&) = delete;
  ForegroundHookWin32& operator=(const ForegroundHookWin32&) = delete;

  // False when the system refused the hook.
  bool Watch(bool on);
  bool Watching() const { return hook_ != nullptr; }
  void Notify() { onChange_(); }

 private:
  std::function<void()> onChange_;
  void* hook_ = nullptr;
  void* focusHook_ = nullptr;
};

}  // namespace corvid
