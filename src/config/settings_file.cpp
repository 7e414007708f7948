#include "config/settings_file.h"

#include <algorithm>

#include "base/message_boxes.h"
#include "base/screen_size.h"
#include "base/texts.h"

namespace corvid {

StartupReport SettingsFile::StartUp() {
  const StartupReport report =
      StartUpSettings(data_, folder_, files_, boxes_, screen_.ScreenWidth(), screen_.ScreenHeight(), codec_);
  refused_ = report.outcome == StartupOutcome::Refused;
  BringPlaceIntoScreen();
  Loaded();
  return report;
}

int32_t SettingsFile::Reload() {
  const int32_t result = LoadSettings(data_, Path(), files_, codec_);
  if (result == 0) refused_ = false;
  BringPlaceIntoScreen();
  Loaded();
  return result;
}

void SettingsFile::BringPlaceIntoScreen() {
  Settings& s = data_.settings;
  const SettingRange x = MesPosxRange(screen_.ScreenWidth()), y = MesPosyRange(screen_.ScreenHeight());
  s.MesPosx = std::clamp(s.MesPosx, x.min, x.max);
  s.MesPosy = std::clamp(s.MesPosy, y.min, y.max);
}

bool SettingsFile::MayWrite(bool tell) {
  if (!refused_) return true;
  if (tell)
    boxes_.Show(std::string(Text(TextId::SaveRefused)) + Path(),
                "Corvid", MessageBoxes::kOk);
  return false;
}

bool SettingsFile::SaveKeyMaps() { return MayWrite(true) && corvid::SaveKeyMaps(data_, Path(), files_, &boxes_, codec_); }
bool SettingsFile::SaveSystemSettings() {
  return MayWrite(true) && corvid::SaveSystemSettings(data_, Path(), files_, &boxes_, codec_);
}
bool SettingsFile::SaveAppEntries() {
  return MayWrite(true) && corvid::SaveAppEntries(data_, Path(), files_, &boxes_, screen_.ScreenWidth(),
                                                  screen_.ScreenHeight(), codec_);
}
bool SettingsFile::SaveAutoStart(int index, bool on) {
  return MayWrite(true) && corvid::SaveAutoStart(Path(), index, on, files_, &boxes_, codec_);
}

bool SettingsFile::SaveAutoStartMarks(uint32_t entries, uint32_t on) {
  return MayWrite(false) && corvid::SaveAutoStartMarks(Path(), entries, on, files_, nullptr, codec_);
}

}  // namespace corvid
