#pragma once
// The message window: a layered, top-most "STATIC" popup owned by the main
// window, showing the message picture through UpdateLayeredWindow. Its
// window procedure hands mouse and move messages to the OsdMessage.
#include <cstdint>
#include <memory>

#include "base/win32_fwd.h"
#include "base/window_win32.h"
#include "osd/layered_surface.h"
#include "osd/osd_message.h"

namespace corvid {

class OsdWindowWin32 : public LayeredSurface, private Win32Window {
 public:
  OsdWindowWin32();
  ~OsdWindowWin32() override;
  OsdWindowWin32(const OsdWindowWin32&) = delete;
  OsdWindowWin32& operator=(const OsdWindowWin32&) = delete;

  // Once the main window exists; until then the message display shows
  // nothing. Its messages go to `core`.
  bool Create(HWND owner, OsdMessage& core);
  using Win32Window::Handle;

  bool Exists() const override { return Handle() != nullptr; }
  bool Push(const OsdBitmap& picture, int32_t x, int32_t y, uint8_t alpha) override;
  bool SetAlpha(uint8_t alpha) override;
  void BringToTop() override;
  void SetClickThrough(bool on) override;

 private:
  void Hide();
  intptr_t OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) override;
  bool EnsureSurface(int32_t width, int32_t height);
  bool UpdateWindow(bool move, uint8_t alpha);

  OsdMessage* core_ = nullptr;
  // The picture as the system takes it: a 32-bit DIB section in a memory DC.
  struct Surface;
  std::unique_ptr<Surface> surface_;
  uint8_t* bits_ = nullptr;
  int32_t width_ = 0, height_ = 0;
  int32_t x_ = 0, y_ = 0;
  bool shown_ = false;
  bool hidden_ = true;  // while nothing is shown, nothing lies over the band
};

}  // namespace corvid
