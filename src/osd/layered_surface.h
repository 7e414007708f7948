#pragma once
// Where the message picture is shown: a top-most window with per-pixel alpha
// and one constant alpha over it.
#include <cstdint>

#include "osd/osd_bitmap.h"

namespace corvid {

class LayeredSurface {
 public:
  virtual ~LayeredSurface() = default;
  // The window exists (it is created after the main window).
  virtual bool Exists() const = 0;
  // Shows the picture with its top-left at (x, y) under a constant alpha;
  // false when the system refused.
  virtual bool Push(const OsdBitmap& picture, int32_t x, int32_t y, uint8_t alpha) = 0;
  // Changes only the constant alpha of what is shown.
  virtual bool SetAlpha(uint8_t alpha) = 0;
  // Above the other top-most windows, without activating it.
  virtual void BringToTop() = 0;
  // Whether clicks pass through to the windows below (they do, but while the
  // message is being placed by dragging it).
  virtual void SetClickThrough(bool) {}
};

}  // namespace corvid
