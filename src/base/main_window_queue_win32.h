#pragma once
#include "base/main_window_queue.h"
#include "base/win32_fwd.h"

namespace corvid {

class Win32Queue : public MainWindowQueue {
 public:
  void Attach(HWND window) { window_ = window; }
  void RemovePendingMouseMessages() override;
  void RemovePendingKeyboardMessages() override;

 private:
  HWND window_ = nullptr;
};

}  // namespace corvid
