// Arbitrary bytes as the settings file: written back untouched they are the same; loaded and
// saved they settle; a start on a disk refusing writes at random keeps them, there or aside.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/headless_platform.h"
#include "config/profile_file.h"
#include "config/settings_store.h"

using namespace corvid;

namespace {

// A disk whose writes fail when the input says so: a refused write changes nothing.
struct FailingDisk : MemoryFileStore {
  bool Replace(const std::string& path, const std::string& bytes, std::string& why) override {
    return !Fails(why) && MemoryFileStore::Replace(path, bytes, why);
  }
  bool CopyNew(const std::string& from, const std::string& to, std::string& why) override {
    return !Fails(why) && MemoryFileStore::CopyNew(from, to, why);
  }
  bool Fails(std::string& why) {
    why = "refused";
    return (pattern >> (calls++ % 32)) & 1;
  }
  uint32_t pattern = 0, calls = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (ProfileFile::Parse(text).Serialize() != text) __builtin_trap();

  // Load and save until the file settles: the third save changes nothing.
  MemoryFileStore files;
  files.files["x"] = text;
  for (int round = 0; round < 3; ++round) {
    ConfigData loaded;
    if (LoadSettings(loaded, "x", files) != 0) {
      if (round > 0) __builtin_trap();
      break;
    }
    const std::string before = files.files["x"];
    SaveKeyMaps(loaded, "x", files, nullptr);
    SaveSystemSettings(loaded, "x", files, nullptr);
    SaveAppEntries(loaded, "x", files, nullptr, 1920, 1080);
    if (round == 2 && files.files["x"] != before) __builtin_trap();
  }

  // Start-up on a failing disk keeps the user's bytes somewhere.
  FailingDisk disk;
  for (size_t i = 0; i < size && i < 4; ++i) disk.pattern = disk.pattern << 8 | data[i];
  disk.files["/docs/.corvid/Corvid.ini"] = text;
  RecordingBoxes boxes;
  ConfigData data2;
  StartUpSettings(data2, "/docs/.corvid/", disk, boxes, 1920, 1080);
  bool kept = false;
  for (const auto& [name, bytes] : disk.files) kept = kept || bytes == text;
  if (!kept) __builtin_trap();
  return 0;
}
