#pragma once
// The desktop facts the mouse motion asks for: the primary screen's size and
// the window under the cursor.
#include "actions/mouse_motion.h"

struct HWND__;
typedef HWND__* HWND;

namespace corvid {

class Win32ScreenSize : public ScreenSize {
 public:
  int32_t ScreenWidth() override;
  int32_t ScreenHeight() override;
};

// The windows of TForm1 to TForm5, registered as they are created.
class Win32OwnWindows : public OwnWindows {
 public:
  void Add(HWND window);
  void Remove(HWND window);
  bool IsOverOwnWindow() override;

 private:
  static constexpr int kMax = 5;
  HWND windows_[kMax] = {};
};

}  // namespace corvid
