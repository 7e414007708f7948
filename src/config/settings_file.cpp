#include "config/settings_file.h"

#include "base/screen_size.h"

namespace corvid {

StartupReport SettingsFile::StartUp() {
  const StartupReport report =
      StartUpSettings(data_, folder_, files_, boxes_, screen_.ScreenWidth(), screen_.ScreenHeight(), codec_);
  Loaded();
  return report;
}

int32_t SettingsFile::Reload() {
  const int32_t result = LoadSettings(data_, Path(), files_, codec_);
  Loaded();
  return result;
}

bool SettingsFile::SaveKeyMaps() { return corvid::SaveKeyMaps(data_, Path(), files_, &boxes_, codec_); }
bool SettingsFile::SaveSystemSettings() {
  return corvid::SaveSystemSettings(data_, Path(), files_, &boxes_, codec_);
}
bool SettingsFile::SaveAppEntries() {
  return corvid::SaveAppEntries(data_, Path(), files_, &boxes_, screen_.ScreenWidth(), screen_.ScreenHeight(),
                                codec_);
}
bool SettingsFile::SaveAutoStart(int index, bool on) {
  return corvid::SaveAutoStart(Path(), index, on, files_, &boxes_, codec_);
}

bool SettingsFile::SaveAutoStartMarks(uint32_t entries, bool on) {
  return corvid::SaveAutoStartMarks(Path(), entries, on, files_, nullptr, codec_);
}

}  // namespace corvid
