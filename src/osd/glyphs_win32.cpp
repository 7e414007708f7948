#include "osd/glyphs_win32.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/dpi_win32.h"
#include "base/handles_win32.h"
#include "base/text_win32.h"

namespace corvid {

namespace {

constexpr int kSmoothScale = 16;
// The large glyphs are drawn in horizontal strips that fit in this many bytes
// of one-bit pixels, whatever the screen and the text.
constexpr size_t kScratchBudget = size_t(1) << 20;

// Smoothed glyphs are kept, per character and horizontal sixteenth of a
// pixel, up to this many bytes of coverage; a message then costs no drawing
// at the large size unless it brings new characters.
constexpr size_t kGlyphCacheBudget = size_t(512) << 10;
// A single glyph's cell at 16 times the size larger than this (very large
// font sizes) is drawn with the text in strips instead.
constexpr size_t kGlyphCellBudget = size_t(1) << 20;

// Faces tried, in order, when the chosen face lacks glyphs of a text (the
// Japanese texts in a Latin face).
const wchar_t* const kFallbackFaces[] = {L"Meiryo UI", L"Meiryo",    L"Yu Gothic UI", L"MS UI Gothic",
                                         L"MS PGothic", L"MS Gothic", L"IPAPGothic",   L"IPAGothic"};

int ToInt(int64_t v) { return int(std::clamp<int64_t>(v, INT_MIN / 2, INT_MAX / 2)); }

// Characters that GDI may shape, combine or reorder with their neighbours:
// such texts are drawn whole, never glyph by glyph.
bool NeedsShaping(wchar_t c) {
  return (c >= 0x0300 && c <= 0x036F) || (c >= 0x0483 && c <= 0x0489) || (c >= 0x0591 && c <= 0x1CFF) ||
         (c >= 0x1DC0 && c <= 0x1DFF) || (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xA800 && c <= 0xABFF) || (c >= 0xD800 && c <= 0xDFFF) ||
         (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE00 && c <= 0xFE2F) || (c >= 0xFE70 && c <= 0xFEFF);
}

// Coverage of 16 x 16 blocks of a one-bit picture (16 rows per output row,
// two bytes per output pixel): 0 .. 256 set bits become 0 .. 255.
void Downsample16(const uint8_t* bits, size_t stride, int32_t rows, int32_t width, uint8_t* out, size_t outStride,
                  uint16_t* counts) {
  for (int32_t r = 0; r < rows; ++r) {
    std::fill(counts, counts + width, uint16_t(0));
    for (int k = 0; k < kSmoothScale; ++k) {
      const uint8_t* row = bits + (size_t(r) * kSmoothScale + k) * stride;
      for (int32_t c = 0; c < width; ++c)
        counts[c] = uint16_t(counts[c] + __builtin_popcount((unsigned(row[2 * c]) << 8) | row[2 * c + 1]));
    }
    uint8_t* m = out + size_t(r) * outStride;
    for (int32_t c = 0; c < width; ++c) m[c] = uint8_t((counts[c] * 255u + 128u) >> 8);
  }
}

}  // namespace

struct GdiGlyphRenderer::Gdi {
  MemoryDc dc;
  int dpi = 96;

  // Smoothed coverage of one character at one horizontal phase, trimmed to
  // its ink, placed relative to the pen's whole pixel and the text's top.
  struct Glyph {
    int32_t dx = 0, dy = 0, width = 0, height = 0;
    std::vector<uint8_t> coverage;
  };

  // A face at a size: its fonts, plain and 16 times as large, and its kept
  // glyphs. The last few are kept, so that Latin and Japanese messages in
  // turn do not draw their glyphs anew each time.
  struct Face {
    std::wstring name;
    int32_t size = 0;
    GdiObject<HFONT> fonts[2];
    std::unordered_map<uint32_t, Glyph> glyphs;
    size_t glyphBytes = 0;
  };
  static constexpr size_t kFacesKept = 3;
  std::vector<std::unique_ptr<Face>> faces;  // the one in use first

  // The choice of face for the last text asked about.
  std::string askedFace;
  int32_t askedSize = INT32_MIN;
  std::wstring chosenFor;
  std::wstring chosenFace;
  bool chosenComplete = true;

  // After the faces: the DC lets go of their fonts before they are deleted.
  SelectedObject fontInUse;
  DibSection scratch;
  uint8_t* bits = nullptr;
  int32_t scratchWidth = 0, scratchHeight = 0;
  size_t stride = 0;

  std::wstring text;
  std::vector<WORD> indices;
  std::vector<uint8_t> mask;
  std::vector<uint16_t> counts;
  std::vector<int> extents;
  std::vector<uint8_t> cell;

  Face& Current() { return *faces.front(); }

  size_t GlyphBytes() const {
    size_t n = 0;
    for (const auto& f : faces) n += f->glyphBytes;
    return n;
  }

  void UseFace(const std::wstring& name, int32_t size) {
    auto it = std::find_if(faces.begin(), faces.end(),
                           [&](const std::unique_ptr<Face>& f) { return f->name == name && f->size == size; });
    if (it == faces.end()) {
      // The DC's own font first: the dropped face's font may be selected.
      fontInUse.Reset();
      if (faces.size() >= kFacesKept) faces.pop_back();
      auto f = std::make_unique<Face>();
      f->name = name;
      f->size = size;
      faces.insert(faces.begin(), std::move(f));
    } else {
      std::rotate(faces.begin(), it, it + 1);
    }
  }

  HFONT CreateFace(const std::wstring& name, int32_t size, int scale) const {
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
    const size_t n = std::min<size_t>(name.size(), LF_FACESIZE - 1);
    std::memcpy(lf.lfFaceName, name.data(), n * sizeof(wchar_t));
    return CreateFontIndirectW(&lf);
  }

  bool SelectFont(int scale) {
    if (faces.empty()) return false;
    Face& f = Current();
    GdiObject<HFONT>& font = f.fonts[scale == 1 ? 0 : 1];
    if (!font) font.Reset(CreateFace(f.name, f.size, scale));
    return font && fontInUse.Select(dc.Get(), font.Get());
  }

  // Every printable character of `text` has a glyph in the face.
  bool HasAllGlyphs(const std::wstring& name, int32_t size) {
    if (text.empty()) return true;
    const GdiObject<HFONT> probe(CreateFace(name, size, 1));
    if (!probe) return false;
    const SelectedObject probing(dc.Get(), probe.Get());
    indices.resize(text.size());
    bool all = GetGlyphIndicesW(dc.Get(), text.c_str(), int(text.size()), indices.data(),
                                GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR;
    for (size_t i = 0; all && i < text.size(); ++i)
      if (indices[i] == 0xFFFF && text[i] >= 0x20) all = false;
    return all;
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
    if (chosenFace.empty() || chosenFor != text) {
      chosenFace = Widen(font.face);
      chosenComplete = HasAllGlyphs(chosenFace, font.size);
      for (size_t i = 0; !chosenComplete && i < std::size(kFallbackFaces); ++i) {
        if (HasAllGlyphs(kFallbackFaces[i], font.size)) {
          chosenFace = kFallbackFaces[i];
          chosenComplete = true;
        }
      }
      chosenFor = text;
    }
    UseFace(chosenFace, font.size);
  }

  // The glyph of `c`, its pen `phase` sixteenths right of a whole pixel and
  // `advance` sixteenths wide, in a font `lineHeight` pixels high; the large
  // font is selected. Null when it could not be drawn.
  const Glyph* GlyphFor(wchar_t c, int phase, int advance, int32_t lineHeight, int32_t margin) {
    Face& face = Current();
    const uint32_t key = uint32_t(c) << 4 | uint32_t(phase);
    if (auto it = face.glyphs.find(key); it != face.glyphs.end()) return &it->second;
    const int32_t cellWidth = (phase + std::max(advance, 0) + kSmoothScale - 1) / kSmoothScale + 2 * margin;
    const int32_t cellHeight = lineHeight + 2 * margin;
    if (size_t(cellWidth) * size_t(cellHeight) * kSmoothScale * kSmoothScale / 8 > kGlyphCellBudget) return nullptr;
    if (!EnsureScratch(cellWidth * kSmoothScale, cellHeight * kSmoothScale)) return nullptr;
    PatBlt(dc.Get(), 0, 0, cellWidth * kSmoothScale, cellHeight * kSmoothScale, BLACKNESS);
    ExtTextOutW(dc.Get(), margin * kSmoothScale + phase, margin * kSmoothScale, 0, nullptr, &c, 1, nullptr);
    GdiFlush();
    cell.resize(size_t(cellWidth) * size_t(cellHeight));
    if (counts.size() < size_t(cellWidth)) counts.resize(size_t(cellWidth));
    Downsample16(bits, stride, cellHeight, cellWidth, cell.data(), size_t(cellWidth), counts.data());

    // Keep only the ink's box.
    int32_t x0 = cellWidth, y0 = cellHeight, x1 = 0, y1 = 0;
    for (int32_t y = 0; y < cellHeight; ++y)
      for (int32_t x = 0; x < cellWidth; ++x)
        if (cell[size_t(y) * size_t(cellWidth) + size_t(x)]) {
          x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x + 1), y1 = std::max(y1, y + 1);
        }
    Glyph g;
    if (x1 > x0) {
      g = {x0 - margin, y0 - margin, x1 - x0, y1 - y0, {}};
      g.coverage.resize(size_t(g.width) * size_t(g.height));
      for (int32_t y = 0; y < g.height; ++y)
        std::memcpy(g.coverage.data() + size_t(y) * size_t(g.width),
                    cell.data() + size_t(y0 + y) * size_t(cellWidth) + size_t(x0), size_t(g.width));
    }
    const size_t bytes = g.coverage.size() + 64;
    if (GlyphBytes() + bytes > kGlyphCacheBudget)
      for (auto& f : faces) f->glyphs.clear(), f->glyphBytes = 0;
    face.glyphBytes += bytes;
    return &face.glyphs.emplace(key, std::move(g)).first->second;
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
    if (!scratch.Create(dc.Get(), *reinterpret_cast<const BITMAPINFO*>(&info))) return false;
    bits = static_cast<uint8_t*>(scratch.Bits());
    scratchWidth = w;
    scratchHeight = h;
    stride = size_t(w) / 8;
    return true;
  }
};

GdiGlyphRenderer::GdiGlyphRenderer() : gdi_(std::make_unique<Gdi>()) {
  gdi_->dc.Reset(CreateCompatibleDC(nullptr));
  // The message shows on the primary screen, at its DPI as the windows see it.
  gdi_->dpi = static_cast<int>(PrimaryMonitorDpi());
  if (gdi_->dc) {
    SetBkMode(gdi_->dc.Get(), TRANSPARENT);
    SetTextAlign(gdi_->dc.Get(), TA_TOP | TA_LEFT | TA_NOUPDATECP);
    SetTextColor(gdi_->dc.Get(), RGB(255, 255, 255));
  }
}

GdiGlyphRenderer::~GdiGlyphRenderer() = default;

std::wstring GdiGlyphRenderer::FaceFor(std::string_view text, const OsdFont& font, bool* complete) {
  Gdi& g = *gdi_;
  if (!g.dc) return {};
  g.Choose(text, font);
  if (complete) *complete = g.chosenComplete;
  wchar_t name[LF_FACESIZE] = {};
  if (g.SelectFont(1)) GetTextFaceW(g.dc.Get(), LF_FACESIZE, name);
  return name;
}

OsdSize GdiGlyphRenderer::Measure(std::string_view text, const OsdFont& font) {
  Gdi& g = *gdi_;
  if (!g.dc) return {};
  g.Choose(text, font);
  if (!g.SelectFont(1)) return {};
  SIZE s{};
  if (!GetTextExtentPoint32W(g.dc.Get(), g.text.c_str(), int(g.text.size()), &s)) return {};
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

  if (scale != 1 && glyphCache && DrawByGlyphs(into, x, y, colour, box.height, int32_t(margin), left, top, right, bottom))
    return;

  const size_t rowBytes = (size_t(width) * scale + 31) / 32 * 4;
  const int32_t stripRows =
      int32_t(std::clamp<size_t>(kScratchBudget / (rowBytes * scale), 1, size_t(bottom - top)));
  if (!g.EnsureScratch(width * scale, stripRows * scale)) return;
  if (g.mask.size() < size_t(width) * size_t(stripRows)) g.mask.resize(size_t(width) * size_t(stripRows));
  if (g.counts.size() < size_t(width)) g.counts.resize(size_t(width));

  for (int32_t stripTop = top; stripTop < bottom; stripTop += stripRows) {
    const int32_t rows = std::min(stripRows, bottom - stripTop);
    PatBlt(g.dc.Get(), 0, 0, width * scale, rows * scale, BLACKNESS);
    ExtTextOutW(g.dc.Get(), ToInt((int64_t{x} - left) * scale), ToInt((int64_t{y} - stripTop) * scale), 0, nullptr,
                g.text.c_str(), UINT(g.text.size()), nullptr);
    GdiFlush();
    for (int32_t r = 0; r < rows; ++r) {
      uint8_t* m = g.mask.data() + size_t(r) * size_t(width);
      if (scale == 1) {
        const uint8_t* row = g.bits + size_t(r) * g.stride;
        for (int32_t c = 0; c < width; ++c) m[c] = (row[c >> 3] & (0x80 >> (c & 7))) ? 255 : 0;
        continue;
      }
      Downsample16(g.bits + size_t(r) * kSmoothScale * g.stride, g.stride, 1, width, m, size_t(width),
                   g.counts.data());
    }
    into.DrawCoverage(left, stripTop, g.mask.data(), width, rows, size_t(width), colour);
  }
}

bool GdiGlyphRenderer::DrawByGlyphs(OsdBitmap& into, int32_t x, int32_t y, uint32_t colour, int32_t lineHeight,
                                    int32_t margin, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  Gdi& g = *gdi_;
  const int n = int(g.text.size());
  for (wchar_t c : g.text)
    if (NeedsShaping(c)) return false;
  // Where the large font puts each character: the pen positions GDI itself
  // uses for the whole text.
  g.extents.resize(size_t(n));
  SIZE total{};
  if (!GetTextExtentExPointW(g.dc.Get(), g.text.c_str(), n, 0, nullptr, g.extents.data(), &total)) return false;

  const int32_t width = right - left, rows = bottom - top;
  g.mask.assign(size_t(width) * size_t(rows), 0);
  const int64_t originX = (int64_t{x} - left) * kSmoothScale;
  const int64_t originY = int64_t{y} - top;
  for (int i = 0; i < n; ++i) {
    const int64_t pen = originX + (i ? g.extents[size_t(i) - 1] : 0);
    const int advance = g.extents[size_t(i)] - (i ? g.extents[size_t(i) - 1] : 0);
    const int64_t penPixel = pen >> 4;  // floor, also left of the picture
    // Characters wholly outside the drawn part are not drawn at all.
    if (penPixel - margin >= width || penPixel + (advance + kSmoothScale) / kSmoothScale + margin <= 0) continue;
    const Gdi::Glyph* glyph = g.GlyphFor(g.text[size_t(i)], int(pen & 15), advance, lineHeight, margin);
    if (!glyph) return false;
    const int64_t gx = penPixel + glyph->dx, gy = originY + glyph->dy;
    const int64_t x0 = std::max<int64_t>(gx, 0), x1 = std::min<int64_t>(gx + glyph->width, width);
    const int64_t y0 = std::max<int64_t>(gy, 0), y1 = std::min<int64_t>(gy + glyph->height, rows);
    for (int64_t yy = y0; yy < y1; ++yy) {
      const uint8_t* src = glyph->coverage.data() + size_t(yy - gy) * size_t(glyph->width) + size_t(x0 - gx);
      uint8_t* dst = g.mask.data() + size_t(yy) * size_t(width) + size_t(x0);
      // Glyphs that touch add up, as their pixels would at the large size.
      for (int64_t xx = x0; xx < x1; ++xx, ++src, ++dst) *dst = uint8_t(std::min(255, *dst + *src));
    }
  }
  into.DrawCoverage(left, top, g.mask.data(), width, rows, size_t(width), colour);
  return true;
}

size_t GdiGlyphRenderer::ScratchBytes() const {
  const Gdi& g = *gdi_;
  return g.stride * size_t(g.scratchHeight) + g.mask.capacity() + g.counts.capacity() * 2 +
         g.indices.capacity() * 2 + g.text.capacity() * 2 + g.GlyphBytes() + g.cell.capacity() +
         g.extents.capacity() * sizeof(int);
}

}  // namespace corvid
