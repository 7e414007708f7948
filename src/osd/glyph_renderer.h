#pragma once
// Text for the on-screen message: measured and drawn by the platform's font
// engine (GDI on Windows, simple boxes in tests).
#include <cstdint>
#include <string_view>

#include "osd/osd_bitmap.h"

namespace corvid {

struct OsdFont {
  std::string_view face;  // UTF-8
  int32_t size = 0;       // points
};

class GlyphRenderer {
 public:
  virtual ~GlyphRenderer() = default;
  // Width and height of a UTF-8 text in the font.
  virtual OsdSize Measure(std::string_view text, const OsdFont& font) = 0;
  // Draws the text with its top-left at (x, y) in the opaque colour
  // (0x00BBGGRR) over the picture. antialias 0: the glyphs' own pixels;
  // 4: glyphs drawn 16 times as large without smoothing and scaled down, the
  // coverage becoming alpha.
  virtual void Draw(OsdBitmap& into, std::string_view text, const OsdFont& font, int32_t x, int32_t y,
                    uint32_t colour, int32_t antialias) = 0;
};

}  // namespace corvid
