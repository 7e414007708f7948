#pragma once
// What the core needs of the main window and the desktop's message boxes.
#include <string_view>

namespace corvid {

class MainWindowQueue {
 public:
  virtual ~MainWindowQueue() = default;
  // Drop pending mouse messages (0x0200..0x020D) of the main window.
  virtual void RemovePendingMouseMessages() = 0;
  // Drop pending keyboard messages (0x0100..0x0108) of the main window.
  virtual void RemovePendingKeyboardMessages() = 0;
};

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  enum Kind : unsigned { kOk = 0, kYesNo = 4 };
  enum Answer : int { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };
  virtual int Show(std::string_view text, std::string_view caption, Kind kind = kOk) = 0;
};

}  // namespace corvid
