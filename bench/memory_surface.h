#pragma once
// The message benchmarks' window: a memory copy of each pushed picture (the
// copy a layered window takes) on a screen of a chosen size, and message
// boxes that answer at once.
#include <cstring>
#include <vector>

#include "base/message_boxes.h"
#include "base/screen_size.h"
#include "osd/layered_surface.h"

namespace corvid::bench {

struct MemorySurface : LayeredSurface, ScreenSize {
  bool Exists() const override { return true; }
  bool Push(const OsdBitmap& p, int32_t, int32_t, uint8_t) override {
    copy.resize(p.Stride() * size_t(p.Height()));
    for (int32_t y = 0; y < p.Height(); ++y) std::memcpy(copy.data() + size_t(y) * p.Stride(), p.Row(y), p.Stride());
    return true;
  }
  bool SetAlpha(uint8_t) override { return true; }
  void BringToTop() override {}
  int32_t ScreenWidth() override { return screen.width; }
  int32_t ScreenHeight() override { return screen.height; }
  OsdSize screen;
  std::vector<uint8_t> copy;
};

struct NoBoxes : MessageBoxes {
  int Show(std::string_view, std::string_view, Kind) override { return kAnswerOk; }
};

}  // namespace corvid::bench
