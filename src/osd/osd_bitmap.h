#pragma once
// The picture of the on-screen message: 32-bit pixels as B, G, R, A bytes,
// premultiplied by alpha (what UpdateLayeredWindow takes), with the few
// operations the message drawing needs.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvid {

struct OsdRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  friend bool operator==(const OsdRect&, const OsdRect&) = default;
};

struct OsdPoint {
  int32_t x = 0, y = 0;
  friend bool operator==(const OsdPoint&, const OsdPoint&) = default;
};

struct OsdSize {
  int32_t width = 0, height = 0;
  friend bool operator==(const OsdSize&, const OsdSize&) = default;
};

// Top-left of a text of `text` size centred in a bitmap `area` wide and high
// (integer halves, truncated toward zero).
OsdPoint CentreText(OsdSize area, OsdSize text);

// The rectangle the shadow is blurred in: the text box widened by 26 and
// heightened by 6 on each side, kept one pixel inside the bitmap so the 3 x 3
// blur never reads outside it.
OsdRect ShadowRect(OsdPoint at, OsdSize text, OsdSize bitmap);

class OsdBitmap {
 public:
  // Fully transparent afterwards; negative sizes count as 0.
  void Resize(int32_t width, int32_t height);
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  OsdSize Size() const { return {width_, height_}; }
  size_t Stride() const { return static_cast<size_t>(width_) * 4; }

  // Fully transparent.
  void Clear();

  const uint8_t* Row(int32_t y) const { return pixels_.data() + static_cast<size_t>(y) * Stride(); }
  // Writable access: the row counts as drawn.
  uint8_t* Row(int32_t y);

  // Paints the opaque colour `colour` (0x00BBGGRR) over the picture through a
  // coverage mask (0 none .. 255 full per pixel) whose top-left lies at
  // (x, y); what falls outside the bitmap is dropped.
  void DrawCoverage(int32_t x, int32_t y, const uint8_t* mask, int32_t width, int32_t height,
                    size_t maskStride, uint32_t colour);

  // 3 x 3 box blur of all four channels inside the rectangle: each channel
  // becomes the sum over its 9 neighbours divided by 9, truncated. Pixels
  // outside the rectangle end transparent. The rectangle is kept one pixel
  // inside the bitmap.
  void BlurRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
  void BlurRect(const OsdRect& r) { BlurRect(r.left, r.top, r.right, r.bottom); }

  // A rectangle outside of which every pixel is transparent.
  const OsdRect& Drawn() const { return drawn_; }

  // Heap bytes held (pixels and the blur's reused rows).
  size_t MemoryBytes() const;

 private:
  void AddDrawn(const OsdRect& r);
  void ClearOutside(const OsdRect& keep);

  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<uint8_t> pixels_;
  OsdRect drawn_;
  // The blur works in place, keeping the original of the row above and of
  // the current row; allocated once, grown only for a wider rectangle.
  std::vector<uint8_t> above_, here_;
  std::vector<uint16_t> columnSums_;
};

}  // namespace corvid
