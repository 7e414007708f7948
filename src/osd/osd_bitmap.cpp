#include "osd/osd_bitmap.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace corvid {

namespace {

int32_t ToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

OsdRect Intersect(const OsdRect& a, const OsdRect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

// v / 255 rounded, for v up to 255 * 255.
inline uint32_t Div255(uint32_t v) {
  v += 128;
  return (v + (v >> 8)) >> 8;
}

}  // namespace

OsdPoint CentreText(OsdSize area, OsdSize text) {
  // C++ division truncates toward zero, as the placement wants for texts
  // larger than the area.
  return {ToInt32((int64_t{area.width} - text.width) / 2), ToInt32((int64_t{area.height} - text.height) / 2)};
}

OsdRect ShadowRect(OsdPoint at, OsdSize text, OsdSize bitmap) {
  const int64_t left = std::max<int64_t>(int64_t{at.x} - 26, 1);
  const int64_t top = std::max<int64_t>(int64_t{at.y} - 6, 1);
  const int64_t right = std::min<int64_t>(int64_t{at.x} + text.width + 26, int64_t{bitmap.width} - 1);
  const int64_t bottom = std::min<int64_t>(int64_t{at.y} + text.height + 6, int64_t{bitmap.height} - 1);
  return {ToInt32(left), ToInt32(top), ToInt32(right), ToInt32(bottom)};
}

void OsdBitmap::Resize(int32_t width, int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) {
    Clear();
    return;
  }
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4, 0);
  pixels_.shrink_to_fit();
  drawn_ = {};
}

void OsdBitmap::Clear() {
  ClearOutside({});
  drawn_ = {};
}

uint8_t* OsdBitmap::Row(int32_t y) {
  AddDrawn({0, y, width_, y + 1});
  return pixels_.data() + static_cast<size_t>(y) * Stride();
}

void OsdBitmap::AddDrawn(const OsdRect& r) {
  if (r.Empty()) return;
  if (drawn_.Empty()) {
    drawn_ = r;
    return;
  }
  drawn_ = {std::min(drawn_.left, r.left), std::min(drawn_.top, r.top), std::max(drawn_.right, r.right),
            std::max(drawn_.bottom, r.bottom)};
}

// Makes every drawn pixel outside `keep` transparent.
void OsdBitmap::ClearOutside(const OsdRect& keep) {
  if (drawn_.Empty()) return;
  const OsdRect d = drawn_;
  const size_t stride = Stride();
  for (int32_t y = d.top; y < d.bottom; ++y) {
    uint8_t* row = pixels_.data() + static_cast<size_t>(y) * stride;
    if (keep.Empty() || y < keep.top || y >= keep.bottom) {
      std::memset(row + size_t(d.left) * 4, 0, size_t(d.right - d.left) * 4);
      continue;
    }
    const int32_t leftEnd = std::min(d.right, keep.left);
    if (leftEnd > d.left) std::memset(row + size_t(d.left) * 4, 0, size_t(leftEnd - d.left) * 4);
    const int32_t rightStart = std::max(d.left, keep.right);
    if (d.right > rightStart) std::memset(row + size_t(rightStart) * 4, 0, size_t(d.right - rightStart) * 4);
  }
}

void OsdBitmap::DrawCoverage(int32_t x, int32_t y, const uint8_t* mask, int32_t width, int32_t height,
                             size_t maskStride, uint32_t colour) {
  if (!mask || width <= 0 || height <= 0) return;
  const OsdRect box = Intersect({x, y, ToInt32(int64_t{x} + width), ToInt32(int64_t{y} + height)},
                                {0, 0, width_, height_});
  if (box.Empty()) return;
  AddDrawn(box);
  const uint32_t r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
  for (int32_t py = box.top; py < box.bottom; ++py) {
    const uint8_t* m = mask + size_t(py - y) * maskStride + size_t(box.left - x);
    uint8_t* p = pixels_.data() + size_t(py) * Stride() + size_t(box.left) * 4;
    for (int32_t px = box.left; px < box.right; ++px, ++m, p += 4) {
      const uint32_t a = *m;
      if (a == 0) continue;
      if (a == 255) {
        p[0] = uint8_t(b), p[1] = uint8_t(g), p[2] = uint8_t(r), p[3] = 255;
        continue;
      }
      // Source over, both sides premultiplied.
      const uint32_t keep = 255 - a;
      p[0] = uint8_t(Div255(b * a + p[0] * keep));
      p[1] = uint8_t(Div255(g * a + p[1] * keep));
      p[2] = uint8_t(Div255(r * a + p[2] * keep));
      p[3] = uint8_t(Div255(255 * a + p[3] * keep));
    }
  }
}

void OsdBitmap::BlurRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  const OsdRect rect = Intersect({left, top, right, bottom}, {1, 1, width_ - 1, height_ - 1});
  if (rect.Empty()) {
    Clear();
    return;
  }
  // Pixels whose 3 x 3 neighbourhood holds nothing drawn stay transparent, so
  // only the drawn area grown by one pixel needs the arithmetic.
  const OsdRect grown = drawn_.Empty() ? OsdRect{}
                                       : OsdRect{drawn_.left - 1, drawn_.top - 1, drawn_.right + 1, drawn_.bottom + 1};
  const OsdRect work = Intersect(rect, grown);
  if (!work.Empty()) {
    const size_t stride = Stride();
    const size_t span = size_t(work.right - work.left + 2) * 4;  // columns left-1 .. right
    const size_t out = size_t(work.right - work.left) * 4;
    if (above_.size() < span) {
      above_.resize(span);
      here_.resize(span);
      columnSums_.resize(span);
    }
    const size_t first = size_t(work.left - 1) * 4;
    std::memcpy(above_.data(), pixels_.data() + size_t(work.top - 1) * stride + first, span);
    uint16_t* sums = columnSums_.data();
    for (int32_t y = work.top; y < work.bottom; ++y) {
      uint8_t* row = pixels_.data() + size_t(y) * stride;
      const uint8_t* below = row + stride + first;
      const uint8_t* above = above_.data();
      uint8_t* here = here_.data();
      // The row is overwritten below; the next row needs its original.
      std::memcpy(here, row + first, span);
      for (size_t i = 0; i < span; ++i) sums[i] = uint16_t(above[i] + here[i] + below[i]);
      uint8_t* dst = row + first + 4;
      for (size_t j = 0; j < out; ++j) dst[j] = uint8_t((uint32_t(sums[j]) + sums[j + 4] + sums[j + 8]) / 9u);
      std::swap(above_, here_);
    }
  }
  ClearOutside(rect);
  drawn_ = work.Empty() ? OsdRect{} : work;
}

size_t OsdBitmap::MemoryBytes() const {
  return pixels_.capacity() + above_.capacity() + here_.capacity() + columnSums_.capacity() * sizeof(uint16_t);
}

}  // namespace corvid
