#pragma once
#include "base/screen_size.h"

namespace corvid {

class Win32ScreenSize : public ScreenSize {
 public:
  int32_t ScreenWidth() override;
  int32_t ScreenHeight() override;
};

}  // namespace corvid
