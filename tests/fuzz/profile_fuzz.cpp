// Arbitrary bytes as Corvid's settings file:
// - read and written back untouched, the text is the same, byte for byte;
// - loaded, saved and loaded again, the settings are the same;
// - at start-up on a disk that refuses writes at random, the user's bytes
//   are still there afterwards, in the file or in a copy kept aside.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/headless_platform.h"
#include "config/profile_file.h"
#include "config/settings_store.h"

using namespace corvid;

namespace {

// A disk whose writes fail when the input says so (a full disk, a locked
// file): a refused write changes nothing.
class FailingDisk : public MemoryFileStore {
 public:
  explicit FailingDisk(uint32_t pattern) : pattern_(pattern) {}
  bool Replace(const std::string& path, const std::string& bytes, std::string& why) override {
    return !Fails(why) && MemoryFileStore::Replace(path, bytes, why);
  }
  bool CopyNew(const std::string& from, const std::string& to, std::string& why) override {
    return !Fails(why) && MemoryFileStore::CopyNew(from, to, why);
  }

 private:
  bool Fails(std::string& why) {
    const bool fail = (pattern_ >> (calls_++ % 32)) & 1;
    if (fail) why = "refused";
    return fail;
  }
  uint32_t pattern_;
  uint32_t calls_ = 0;
};

bool SameSettings(const ConfigData& a, const ConfigData& b) {
  const Settings& x = a.settings;
  const Settings& y = b.settings;
  return x.KeyIdle == y.KeyIdle && x.KeyRepeat == y.KeyRepeat && x.CurRepeat == y.CurRepeat &&
         x.CurSpeed == y.CurSpeed && x.MesColorFg == y.MesColorFg && x.MesColorBg == y.MesColorBg &&
         x.MesFont == y.MesFont && x.MesSize == y.MesSize && x.MesPosx == y.MesPosx && x.MesPosy == y.MesPosy &&
         x.NoCursor == y.NoCursor && x.HideStart == y.HideStart && x.DispMessage == y.DispMessage &&
         x.CurSmooth == y.CurSmooth && x.DispBatt == y.DispBatt && x.DispChange == y.DispChange &&
         x.LowBattSkip == y.LowBattSkip && x.BkMessage == y.BkMessage && x.NoPsRep == y.NoPsRep &&
         x.AdjustAspect == y.AdjustAspect && x.StartMouse == y.StartMouse && x.FollowForeground == y.FollowForeground && x.Language == y.Language &&
         a.KeyboardMap.entries == b.KeyboardMap.entries && a.MouseMap.entries == b.MouseMap.entries;
}

void SaveAll(const ConfigData& data, const std::string& path, FileStore& files) {
  SaveKeyMaps(data, path, files, nullptr);
  SaveSystemSettings(data, path, files, nullptr);
  SaveAppEntries(data, path, files, nullptr, 1920, 1080);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (ProfileFile::Parse(text).Serialize() != text) __builtin_trap();

  // Load, save, load: the second load is what the first save keeps.
  MemoryFileStore files;
  files.files["x"] = text;
  ConfigData first;
  if (LoadSettings(first, "x", files) == 0) {
    SaveAll(first, "x", files);
    ConfigData second;
    if (LoadSettings(second, "x", files) != 0) __builtin_trap();
    SaveAll(second, "x", files);
    const std::string saved = files.files["x"];
    ConfigData third;
    if (LoadSettings(third, "x", files) != 0 || !SameSettings(second, third)) __builtin_trap();
    SaveAll(third, "x", files);
    if (files.files["x"] != saved) __builtin_trap();
  }

  // Start-up on a failing disk keeps the user's bytes somewhere.
  uint32_t pattern = 0;
  for (size_t i = 0; i < size && i < 4; ++i) pattern = pattern << 8 | data[i];
  FailingDisk disk(pattern);
  const std::string path = "/docs/.corvid/Corvid.ini";
  disk.files[path] = text;
  RecordingBoxes boxes;
  ConfigData data2;
  StartUpSettings(data2, "/docs/.corvid/", disk, boxes, 1920, 1080);
  bool kept = false;
  for (const auto& [name, bytes] : disk.files) kept = kept || bytes == text;
  if (!kept) __builtin_trap();
  return 0;
}
