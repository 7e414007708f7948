#include "config/settings_file.h"

#include "base/screen_size.h"

namespace corvid {

StartupOutcome SettingsFile::StartUp() {
  const StartupOutcome outcome =
      StartUpSettings(data_, folder_, files_, boxes_, screen_.ScreenWidth(), screen_.ScreenHeight());
  Loaded();
  return outcome;
}

int32_t SettingsFile::Reload() {
  const int32_t result = LoadSettings(data_, Path(), files_);
  Loaded();
  return result;
}

bool SettingsFile::SaveKeyMaps() { return corvid::SaveKeyMaps(data_, Path(), files_, &boxes_); }
bool SettingsFile::SaveSystemSettings() { return corvid::SaveSystemSettings(data_, Path(), files_, &boxes_); }
bool SettingsFile::SaveAppEntries() {
  return corvid::SaveAppEntries(data_, Path(), files_, &boxes_, screen_.ScreenWidth(), screen_.ScreenHeight());
}
bool SettingsFile::SaveAutoStart(int index, bool on) {
  return corvid::SaveAutoStart(Path(), index, on, files_, &boxes_);
}

bool SettingsFile::SaveAutoStartMarks(uint32_t entries, bool on) {
  return corvid::SaveAutoStartMarks(Path(), entries, on, files_, nullptr);
}

}  // namespace corvid
