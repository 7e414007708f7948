#pragma once
// Message boxes with the W functions, so the Japanese texts show on any
// system locale.
#include "base/message_boxes.h"

namespace corvid {

class Win32MessageBoxes : public MessageBoxes {
 public:
  int Show(std::string_view text, std::string_view caption, Kind kind) override;
};

}  // namespace corvid
