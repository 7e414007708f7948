#pragma once
// The main window's message queue, as far as the core touches it.
namespace corvid {

class MainWindowQueue {
 public:
  virtual ~MainWindowQueue() = default;
  // Drop pending mouse messages (0x0200..0x020D) of the main window.
  virtual void RemovePendingMouseMessages() = 0;
  // Drop pending keyboard messages (0x0100..0x0108) of the main window.
  virtual void RemovePendingKeyboardMessages() = 0;
};

}  // namespace corvid
