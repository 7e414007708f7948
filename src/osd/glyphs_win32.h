#pragma once
// The message text drawn with GDI: measured with the font as chosen, drawn
// into a one-bit scratch bitmap (plain, or at 16 times the size for the
// smooth edges) and turned into coverage over the message picture.
#include <memory>
#include <string_view>

#include "osd/glyph_renderer.h"

namespace corvid {

class GdiGlyphRenderer : public GlyphRenderer {
 public:
  GdiGlyphRenderer();
  ~GdiGlyphRenderer() override;
  GdiGlyphRenderer(const GdiGlyphRenderer&) = delete;
  GdiGlyphRenderer& operator=(const GdiGlyphRenderer&) = delete;

  OsdSize Measure(std::string_view text, const OsdFont& font) override;
  void Draw(OsdBitmap& into, std::string_view text, const OsdFont& font, int32_t x, int32_t y, uint32_t colour,
            int32_t antialias) override;

  // The face the text is drawn in (the font asked for, or a face that has
  // glyphs for every character, e.g. a Japanese one), and whether it has
  // them all.
  std::wstring FaceFor(std::string_view text, const OsdFont& font, bool* complete = nullptr);
  // Heap and bitmap bytes kept between messages.
  size_t ScratchBytes() const;

  // Smoothed text is put together from glyphs drawn once at the large size
  // and kept; off, every text is drawn whole at the large size (slower, and
  // what the kept glyphs are checked against).
  bool glyphCache = true;

 private:
  bool DrawByGlyphs(OsdBitmap& into, int32_t x, int32_t y, uint32_t colour, int32_t lineHeight, int32_t margin,
                    int32_t left, int32_t top, int32_t right, int32_t bottom);

  struct Gdi;
  std::unique_ptr<Gdi> gdi_;
};

}  // namespace corvid
