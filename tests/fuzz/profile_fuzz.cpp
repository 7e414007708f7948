// Arbitrary bytes as a profile file and as Corvid's settings file: read
// every value, load the settings, and write one group back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/headless_platform.h"
#include "config/profile_file.h"
#include "config/settings_store.h"

using namespace corvid;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ProfileFile p = ProfileFile::Parse(text);
  std::string v;
  p.Get("Items-0", "BD0B", v);
  p.Set("System", "MesSize", "46");
  p.Delete("Times", "KeyIdle");
  // Reading the same text again must give the same file back.
  const std::string once = p.Serialize();
  if (ProfileFile::Parse(once).Serialize() != once) __builtin_trap();

  ConfigData form;
  MemoryFileStore file;
  file.files["x"] = text;
  if (LoadSettings(form, "x", file) == 0) SaveKeyMaps(form, "x", file, nullptr);
  return 0;
}
