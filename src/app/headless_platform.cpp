#include "app/headless_platform.h"

namespace corvid {

int RecordingBoxes::Show(std::string_view text, std::string_view caption, Kind kind) {
  shown.push_back({std::string(text), std::string(caption), kind});
  if (onShow) onShow(text, caption);
  return kind == kYesNo ? answer : kAnswerOk;
}

bool MemoryFileStore::Read(const std::string& path, std::string& bytes) {
  auto it = files.find(path);
  if (it == files.end()) return false;
  bytes = it->second;
  return true;
}

bool MemoryFileStore::Replace(const std::string& path, const std::string& bytes, std::string& why) {
  ++writes;
  if (readOnly.count(path)) {
    why = "the file is read-only";
    return false;
  }
  files[path] = bytes;
  return true;
}

int64_t MemoryFileStore::Size(const std::string& path) {
  auto it = files.find(path);
  return it == files.end() ? -1 : static_cast<int64_t>(it->second.size());
}

bool MemoryFileStore::CopyNew(const std::string& from, const std::string& to, std::string& why) {
  ++writes;
  auto it = files.find(from);
  if (it == files.end() || files.count(to) || readOnly.count(to)) {
    why = "cannot copy";
    return false;
  }
  files[to] = it->second;
  return true;
}

OsdSize BoxGlyphs::Measure(std::string_view text, const OsdFont& font) {
  return {static_cast<int32_t>(text.size()) * font.size * 6 / 10, font.size * 4 / 3};
}

void BoxGlyphs::Draw(OsdBitmap& into, std::string_view text, const OsdFont& font, int32_t x, int32_t y,
                     uint32_t colour, int32_t antialias) {
  if (record)
    calls.push_back(std::string(text) + " " + std::to_string(x) + "," + std::to_string(y) + " " +
                    std::to_string(colour) + " aa" + std::to_string(antialias));
  const OsdSize s = Measure(text, font);
  if (s.width <= 0 || s.height <= 0) return;
  std::vector<uint8_t> mask(static_cast<size_t>(s.width) * static_cast<size_t>(s.height), 255);
  into.DrawCoverage(x, y, mask.data(), s.width, s.height, static_cast<size_t>(s.width), colour);
}

bool RecordingSurface::Push(const OsdBitmap&, int32_t x, int32_t y, uint8_t alpha) {
  if (record) log.push_back("push " + std::to_string(alpha) + " at " + std::to_string(x) + "," + std::to_string(y));
  return !refuse;
}

bool RecordingSurface::SetAlpha(uint8_t alpha) {
  if (record) log.push_back("alpha " + std::to_string(alpha));
  return true;
}

void HeadlessPlatform::CloseMainWindow() {
  if (closed) return;
  closed = true;
  if (onClose) onClose();
}

}  // namespace corvid
