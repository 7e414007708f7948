#pragma once
// Message boxes on the desktop: the reports and questions of every subsystem.
#include <string_view>

namespace corvid {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  enum Kind : unsigned { kOk = 0, kOkCancel = 1, kYesNo = 4 };
  enum Answer : int { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };
  virtual int Show(std::string_view text, std::string_view caption, Kind kind = kOk) = 0;
};

}  // namespace corvid
