#pragma once
#include <cstdint>

namespace corvid {

// Size of the primary screen in pixels, as it is now (it follows a change of
// display resolution).
class ScreenSize {
 public:
  virtual ~ScreenSize() = default;
  virtual int32_t ScreenWidth() = 0;
  virtual int32_t ScreenHeight() = 0;
};

}  // namespace corvid
