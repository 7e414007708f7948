#include "osd/glyphs_win32.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "app/text_win32.h"

namespace corvid {

namespace {

constexpr int kSmoothScale = 16;
// The large glyphs are drawn in horizontal strips that fit in this many bytes
// of one-bit pixels, whatever the screen and the text.
constexpr size_t kScratchBudget = size_t(1) << 20;

// Faces tried, in order, when the chosen face lacks glyphs of a text (the
// Japanese texts in a Latin face).
const wchar_t* const kFallbackFaces[] = {L"Meiryo UI", L"Meiryo",    L"Yu Gothic UI", L"MS UI Gothic",
                                         L"MS PGothic", L"MS Gothic", L"IPAPGothic",   L"IPAGothic"};

int ToInt(int64_t v) { return int(std::clamp<int64_t>(v, INT_MIN / 2, INT_MAX / 2)); }

}  // namespace

struct GdiGlyphRenderer::Gdi {
  HDC dc = nullptr;
  int dpi = 96;

  // Fonts of the face in use: plain and 16 times as large.
  std::wstring face;
  int32_t size = 0;
  HFONT fonts[2] = {};

  // The choice of face for the last text asked about.
  std::string askedFace;
  int32_t askedSize = INT32_MIN;
  std::wstring chosenFor;
  std::wstring chosenFace;
  bool chosenComplete = true;

  HBITMAP scratch = nullptr;
  HGDIOBJ originalBitmap = nullptr;
  uint8_t* bits = nullptr;
  int32_t scratchWidth = 0, scratchHeight = 0;
  size_t stride = 0;

  std::wstring text;
  std::vector<WORD> indices;
  std::vector<uint8_t> mask;
  std::vector<uint16_t> counts;

  ~Gdi() {
    DropFonts();
    if (dc && originalBitmap) SelectObject(dc, originalBitmap);
    if (scratch) DeleteObject(scratch);
    if (dc) DeleteDC(dc);
  }

  void DropFonts() {
    if (dc) SelectObject(dc, GetStockObject(SYSTEM_FONT));
    for (HFONT& f : fonts) {
      if (f) DeleteObject(f);
      f = nullptr;
    }
  }

  void UseFace(const std::wstring& f, int32_t s) {
    if (f == face && s == size) return;
    DropFonts();
    face = f;
    size = s;
  }

  HFONT Font(int scale) {
    HFONT& f = fonts[scale == 1 ? 0 : 1];
    if (f) return f;
    // Sizes beyond what any screen tenth can show are not worth a font of
    // sixteen times their size.
    const int points = std::clamp(size, 1, 200);
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(points, dpi, 72) * scale;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const size_t n = std::min<size_t>(face.size(), LF_FACESIZE - 1);
    std::memcpy(lf.lfFaceName, face.data(), n * sizeof(wchar_t));
    f = CreateFontIndirectW(&lf);
    return f;
  }

  bool SelectFont(int scale) {
    HFONT f = Font(scale);
    return f && SelectObject(dc, f);
  }

  // Every printable character of `text` has a glyph in the face in use.
  bool HasAllGlyphs() {
    if (text.empty()) return true;
    if (!SelectFont(1)) return false;
    indices.resize(text.size());
    if (GetGlyphIndicesW(dc, text.c_str(), int(text.size()), indices.data(), GGI_MARK_NONEXISTING_GLYPHS) ==
        GDI_ERROR)
      return false;
    for (size_t i = 0; i < text.size(); ++i)
      if (indices[i] == 0xFFFF && text[i] >= 0x20) return false;
    return true;
  }

  // Makes the face for `utf8` in `font` the one in use.
  void Choose(std::string_view utf8, const OsdFont& font) {
    text = Widen(utf8);
    if (askedFace != font.face || askedSize != font.size) {
      askedFace.assign(font.face);
      askedSize = font.size;
      chosenFor.clear();
      chosenFace.clear();
    }
    if (!chosenFace.empty() && chosenFor == text) {
      UseFace(chosenFace, font.size);
      return;
    }
    const std::wstring asked = Widen(font.face);
    UseFace(asked, font.size);
    chosenComplete = HasAllGlyphs();
    chosenFace = asked;
    for (size_t i = 0; !chosenComplete && i < std::size(kFallbackFaces); ++i) {
      UseFace(kFallbackFaces[i], font.size);
      if (HasAllGlyphs()) {
        chosenFace = kFallbackFaces[i];
        chosenComplete = true;
      }
    }
    UseFace(chosenFace, font.size);
    chosenFor = text;
  }

  bool EnsureScratch(int32_t width, int32_t height) {
    if (width <= scratchWidth && height <= scratchHeight && scratch) return true;
    const int32_t w = (std::max(width, scratchWidth) + 31) / 32 * 32;
    const int32_t h = std::max(height, scratchHeight);
    struct {
      BITMAPINFOHEADER header;
      RGBQUAD colours[2];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = w;
    info.header.biHeight = -h;  // top-down
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.header.biCompression = BI_RGB;
    info.colours[1] = RGBQUAD{255, 255, 255, 0};
    void* b = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &b, nullptr, 0);
    if (!bmp) return false;
    HGDIOBJ previous = SelectObject(dc, bmp);
    if (!originalBitmap) originalBitmap = previous;
    if (scratch) DeleteObject(scratch);
    scratch = bmp;
    bits = static_cast<uint8_t*>(b);
    scratchWidth = w;
    scratchHeight = h;
    stride = size_t(w) / 8;
    return true;
  }
};

GdiGlyphRenderer::GdiGlyphRenderer() : gdi_(std::make_unique<Gdi>()) {
  gdi_->dc = CreateCompatibleDC(nullptr);
  if (HDC screen = GetDC(nullptr)) {
    gdi_->dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  if (gdi_->dpi <= 0) gdi_->dpi = 96;
  if (gdi_->dc) {
    SetBkMode(gdi_->dc, TRANSPARENT);
    SetTextAlign(gdi_->dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
    SetTextColor(gdi_->dc, RGB(255, 255, 255));
  }
}

GdiGlyphRenderer::~GdiGlyphRenderer() = default;

std::wstring GdiGlyphRenderer::FaceFor(std::string_view text, const OsdFont& font, bool* complete) {
  Gdi& g = *gdi_;
  if (!g.dc) return {};
  g.Choose(text, font);
  if (complete) *complete = g.chosenComplete;
  wchar_t name[LF_FACESIZE] = {};
  if (g.SelectFont(1)) GetTextFaceW(g.dc, LF_FACESIZE, name);
  return name;
}

OsdSize GdiGlyphRenderer::Measure(std::string_view text, const OsdFont& font) {
  Gdi& g = *gdi_;
  if (!g.dc) return {};
  g.Choose(text, font);
  if (!g.SelectFont(1)) return {};
  SIZE s{};
  if (!GetTextExtentPoint32W(g.dc, g.text.c_str(), int(g.text.size()), &s)) return {};
  return {int32_t(s.cx), int32_t(s.cy)};
}

void GdiGlyphRenderer::Draw(OsdBitmap& into, std::string_view text, const OsdFont& font, int32_t x, int32_t y,
                            uint32_t colour, int32_t antialias) {
  Gdi& g = *gdi_;
  if (!g.dc || text.empty() || into.Width() <= 0 || into.Height() <= 0) return;
  const OsdSize box = Measure(text, font);  // also chooses the face
  const int scale = antialias == 0 ? 1 : kSmoothScale;
  if (!g.SelectFont(scale)) return;

  // Only the part of the picture the text can touch is drawn; a margin
  // catches overhanging glyphs.
  const int64_t margin = box.height / 4 + 2;
  const int32_t left = ToInt(std::max<int64_t>(int64_t{x} - margin, 0));
  const int32_t top = ToInt(std::max<int64_t>(int64_t{y} - margin, 0));
  const int32_t right = ToInt(std::min<int64_t>(int64_t{x} + box.width + margin, into.Width()));
  const int32_t bottom = ToInt(std::min<int64_t>(int64_t{y} + box.height + margin, into.Height()));
  if (right <= left || bottom <= top) return;
  const int32_t width = right - left;

  const size_t rowBytes = (size_t(width) * scale + 31) / 32 * 4;
  const int32_t stripRows =
      int32_t(std::clamp<size_t>(kScratchBudget / (rowBytes * scale), 1, size_t(bottom - top)));
  if (!g.EnsureScratch(width * scale, stripRows * scale)) return;
  if (g.mask.size() < size_t(width) * size_t(stripRows)) g.mask.resize(size_t(width) * size_t(stripRows));
  if (g.counts.size() < size_t(width)) g.counts.resize(size_t(width));

  for (int32_t stripTop = top; stripTop < bottom; stripTop += stripRows) {
    const int32_t rows = std::min(stripRows, bottom - stripTop);
    PatBlt(g.dc, 0, 0, width * scale, rows * scale, BLACKNESS);
    ExtTextOutW(g.dc, ToInt((int64_t{x} - left) * scale), ToInt((int64_t{y} - stripTop) * scale), 0, nullptr,
                g.text.c_str(), UINT(g.text.size()), nullptr);
    GdiFlush();
    for (int32_t r = 0; r < rows; ++r) {
      uint8_t* m = g.mask.data() + size_t(r) * size_t(width);
      if (scale == 1) {
        const uint8_t* row = g.bits + size_t(r) * g.stride;
        for (int32_t c = 0; c < width; ++c) m[c] = (row[c >> 3] & (0x80 >> (c & 7))) ? 255 : 0;
        continue;
      }
      // Each output pixel is a 16 x 16 block: two bytes in each of 16 rows.
      uint16_t* counts = g.counts.data();
      std::fill(counts, counts + width, uint16_t(0));
      for (int k = 0; k < kSmoothScale; ++k) {
        const uint8_t* row = g.bits + (size_t(r) * kSmoothScale + k) * g.stride;
        for (int32_t c = 0; c < width; ++c)
          counts[c] = uint16_t(counts[c] + __builtin_popcount((unsigned(row[2 * c]) << 8) | row[2 * c + 1]));
      }
      for (int32_t c = 0; c < width; ++c) m[c] = uint8_t((counts[c] * 255u + 128u) >> 8);
    }
    into.DrawCoverage(left, stripTop, g.mask.data(), width, rows, size_t(width), colour);
  }
}

size_t GdiGlyphRenderer::ScratchBytes() const {
  const Gdi& g = *gdi_;
  return g.stride * size_t(g.scratchHeight) + g.mask.capacity() + g.counts.capacity() * 2 +
         g.indices.capacity() * 2 + g.text.capacity() * 2;
}

}  // namespace corvid
