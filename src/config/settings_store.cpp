#include "config/settings_store.h"

#include <cstdio>

#include "base/message_boxes.h"
#include "config/profile_file.h"
#include "config/profile_values.h"
#include "config/settings_schema.h"
#include "remote/button_codes.h"

namespace corvid {
namespace {

std::string Hex2(unsigned code) {
  char b[4];
  std::snprintf(b, sizeof b, "%02X", code & 0xFF);
  return b;
}

std::string AppSection(int index) { return "App-" + std::to_string(index + 1); }
std::string ItemsSection(int map) { return "Items-" + std::to_string(map); }
const char* Prefix(int family) { return family == 0 ? "BD" : "BM"; }
KeyMapTable& Table(ConfigData& d, int family) { return family == 0 ? d.KeyboardMap : d.MouseMap; }
const KeyMapTable& Table(const ConfigData& d, int family) { return family == 0 ? d.KeyboardMap : d.MouseMap; }

// Reads the file; a missing file is an empty one.
ProfileFile ReadProfile(const std::string& path, FileStore& files) {
  std::string bytes;
  if (!files.Read(path, bytes)) bytes.clear();
  return ProfileFile::Parse(bytes);
}

bool WriteProfile(const ProfileFile& profile, const std::string& path, FileStore& files, MessageBoxes* boxes) {
  std::string why;
  if (files.Replace(path, profile.Serialize(), why)) return true;
  if (boxes)
    boxes->Show("設定ファイルに保存できませんでした。ファイルは変更されていません。\n" + path + "\n(" + why + ")",
                "Corvid Info", MessageBoxes::kOk);
  return false;
}

}  // namespace

int32_t LoadSettings(ConfigData& data, const std::string& path, FileStore& files) {
  const ProfileFile p = ReadProfile(path, files);
  const std::string defaultSetConst = JoinAppSetConst(AppEntry{});
  for (int i = 0; i < kAppCount; ++i) {
    AppEntry& a = data.Apps[static_cast<size_t>(i)];
    const std::string sec = AppSection(i);
    for (const AppTextKey& k : AppTextKeys()) a.*k.field = p.GetString(sec, k.key, "");
    if (!SplitAppSetConst(p.GetString(sec, "AppSetConst", defaultSetConst), a)) return -1;
    a.LastLeft = a.WinLeft;
    a.LastTop = a.WinTop;
    a.LastRight = a.WinRight;
    a.LastBottom = a.WinBottom;
    a.ProcessId = 0;
    a.TargetWindow = 0;
    int32_t autoStart = 0;
    std::string v;
    a.AutoStart = p.Get(sec, "AutoStart", v) && ParseProfileInteger(TrimBlanks(v), autoStart) && autoStart != 0;
  }
  for (int family = 0; family < 2; ++family) {
    KeyMapTable& t = Table(data, family);
    for (int code = 0; code <= kLastButtonCode; ++code) {
      KeyMapEntry e;
      if (!ParseKeyMapValue(p.GetString("Items-0", Prefix(family) + Hex2(code), "0000,00,"), e)) return -1;
      for (int m = 0; m < kMapCount; ++m) t.at(static_cast<uint8_t>(code), m) = e;
    }
  }
  for (int m = 1; m < kMapCount; ++m) {
    const std::string sec = ItemsSection(m);
    for (int family = 0; family < 2; ++family) {
      KeyMapTable& t = Table(data, family);
      for (int code = 0; code <= kLastButtonCode; ++code) {
        std::string v;
        if (!p.Get(sec, Prefix(family) + Hex2(code), v)) continue;
        if (!ParseKeyMapValue(v, t.at(static_cast<uint8_t>(code), m))) return -1;
      }
    }
  }
  for (const SettingKey* k : SystemSettingReadOrder())
    if (!ReadSetting(p, *k, data.settings)) return -1;
  return 0;
}

bool SaveKeyMaps(const ConfigData& data, const std::string& path, FileStore& files, MessageBoxes* boxes) {
  ProfileFile p = ReadProfile(path, files);
  for (int family = 0; family < 2; ++family)
    for (uint8_t code : kMappableButtons)
      p.Set("Items-0", Prefix(family) + Hex2(code), FormatKeyMapValue(Table(data, family).at(code, 0)));
  for (int m = 1; m < kMapCount; ++m) {
    const std::string sec = ItemsSection(m);
    for (int family = 0; family < 2; ++family) {
      const KeyMapTable& t = Table(data, family);
      for (uint8_t code : kMappableButtons) {
        const std::string key = Prefix(family) + Hex2(code);
        if (t.at(code, m) == t.at(code, 0)) p.Delete(sec, key);
        else p.Set(sec, key, FormatKeyMapValue(t.at(code, m)));
      }
    }
  }
  return WriteProfile(p, path, files, boxes);
}

bool SaveSystemSettings(const ConfigData& data, const std::string& path, FileStore& files, MessageBoxes* boxes) {
  ProfileFile p = ReadProfile(path, files);
  for (const SettingKey& k : SystemSettingKeys()) WriteSetting(p, k, data.settings);
  return WriteProfile(p, path, files, boxes);
}

bool SaveAppEntries(const ConfigData& data, const std::string& path, FileStore& files, MessageBoxes* boxes,
                    int32_t screenWidth, int32_t screenHeight) {
  ProfileFile p = ReadProfile(path, files);
  for (int i = 0; i < kAppCount; ++i) {
    const AppEntry& a = data.Apps[static_cast<size_t>(i)];
    const std::string sec = AppSection(i);
    for (const AppTextKey& k : AppTextKeys()) p.Set(sec, k.key, a.Registered ? a.*k.field : "");
    // An entry without a program keeps the screen as its rectangle.
    p.Set(sec, "AppSetConst",
          a.Registered ? JoinAppSetConst(a)
                       : "1,1,0,0,0,0,0,0,0,0,0,0," + std::to_string(screenWidth) + "," +
                             std::to_string(screenHeight) + ",0,0,1000,1000");
  }
  return WriteProfile(p, path, files, boxes);
}

bool SaveAutoStart(const std::string& path, int index, bool on, FileStore& files, MessageBoxes* boxes) {
  if (index < 0 || index >= kAppCount) return false;
  return SaveAutoStartMarks(path, 1u << index, on, files, boxes);
}

bool SaveAutoStartMarks(const std::string& path, uint32_t entries, bool on, FileStore& files, MessageBoxes* boxes) {
  ProfileFile p = ReadProfile(path, files);
  for (int i = 0; i < kAppCount; ++i)
    if (entries & (1u << i)) p.Set(AppSection(i), "AutoStart", on ? "1" : "0");
  return WriteProfile(p, path, files, boxes);
}

void ApplyFactoryDefaults(ConfigData& data) {
  data.settings = Settings{};
  ApplyFactoryKeyMaps(data.KeyboardMap, data.MouseMap);
}

StartupOutcome StartUpSettings(ConfigData& data, const std::string& folder, FileStore& files, MessageBoxes& boxes,
                               int32_t screenWidth, int32_t screenHeight) {
  files.CreateFolder(folder);
  const std::string path = folder + kSettingsFileName;
  StartupOutcome outcome = StartupOutcome::Created;
  if (files.Exists(path)) {
    if (LoadSettings(data, path, files) == 0) return StartupOutcome::Loaded;
    boxes.Show("環境ファイルが適正ではありません。\n設定値をすべて初期化します。", "Corvid Info", MessageBoxes::kOk);
    // Keep the unusable file: one bad value must not cost the user every map.
    const std::string bad = path + ".bad";
    std::string bytes, why;
    if (files.Read(path, bytes)) files.Replace(bad, bytes, why);
    files.Replace(path, "", why);
    outcome = StartupOutcome::Rebuilt;
  }
  ApplyFactoryDefaults(data);
  // The in-memory settings are complete either way; a refused write is told.
  SaveKeyMaps(data, path, files, &boxes) && SaveSystemSettings(data, path, files, &boxes) &&
      SaveAppEntries(data, path, files, &boxes, screenWidth, screenHeight);
  return outcome;
}

}  // namespace corvid
