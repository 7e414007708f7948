#pragma once
#include <string_view>

namespace corvid {

// The fading on-screen message.
class MessageDisplay {
 public:
  virtual ~MessageDisplay() = default;
  virtual void ShowMessage(std::string_view text) = 0;
};

}  // namespace corvid
