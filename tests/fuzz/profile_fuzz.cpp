// Arbitrary bytes as Corvid's settings file: read and written back untouched
// they are the same; loaded and saved they settle; a start on a disk that
// refuses writes at random keeps them, in the file or in a copy aside.
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

void SaveAll(const ConfigData& data, const std::string& path, FileStore& files) {
  SaveKeyMaps(data, path, files, nullptr);
  SaveSystemSettings(data, path, files, nullptr);
  SaveAppEntries(data, path, files, nullptr, 1920, 1080);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (ProfileFile::Parse(text).Serialize() != text) __builtin_trap();

  // Load and save until the file settles: the second save changes nothing.
  MemoryFileStore files;
  files.files["x"] = text;
  ConfigData first, second, third;
  if (LoadSettings(first, "x", files) == 0) {
    SaveAll(first, "x", files);
    if (LoadSettings(second, "x", files) != 0) __builtin_trap();
    SaveAll(second, "x", files);
    const std::string saved = files.files["x"];
    if (LoadSettings(third, "x", files) != 0) __builtin_trap();
    SaveAll(third, "x", files);
    if (files.files["x"] != saved) __builtin_trap();
  }

  // Start-up on a failing disk keeps the user's bytes somewhere.
  FailingDisk disk;
  for (size_t i = 0; i < size && i < 4; ++i) disk.pattern = disk.pattern << 8 | data[i];
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
