#include "config/settings_store.h"

#include <algorithm>
#include <optional>

#include <cstdio>

#include "base/message_boxes.h"
#include "base/texts.h"
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

struct ReadFile {
  ProfileFile profile;
  TextEncoding encoding = TextEncoding::Ansi;
  // The file's bytes as read (none when it was not read), to tell after a
  // failed write whether the file is still so.
  std::optional<std::string> bytes;
};

// Reads the file; a missing file is an empty one.
ReadFile ReadProfile(const std::string& path, FileStore& files, AnsiCodec& codec) {
  std::string bytes;
  if (!files.Read(path, bytes)) bytes.clear();
  SettingsText text = DecodeSettingsText(bytes, codec);
  return {ProfileFile::Parse(text.text), text.encoding, std::move(bytes)};
}

bool WriteProfile(const ReadFile& file, const std::string& path, FileStore& files, MessageBoxes* boxes,
                  AnsiCodec& codec) {
  std::string why;
  if (files.Replace(path, EncodeSettingsText(file.profile.Serialize(), file.encoding, codec), why)) return true;
  if (!boxes) return false;
  // The user is told the file is unchanged only when it is.
  std::string now;
  if (!files.Read(path, now)) now.clear();
  const TextId what = !file.bytes         ? TextId::SaveFailed
                      : now == *file.bytes ? TextId::SaveFailedUnchanged
                                           : TextId::SaveFailedNotRestored;
  boxes->Show(std::string(Text(what)) + "\n" + path + "\n(" + why + ")", "Corvid Info", MessageBoxes::kOk);
  return false;
}

// The three groups of keys as each save writes them.
void PutKeyMaps(ProfileFile& p, const ConfigData& data) {
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
}

void PutSystemSettings(ProfileFile& p, const ConfigData& data) {
  for (const SettingKey& k : SystemSettingKeys()) WriteSetting(p, k, data.settings);
}

void PutAppEntries(ProfileFile& p, const ConfigData& data, int32_t screenWidth, int32_t screenHeight) {
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
}

int32_t Fail(LoadProblem* problem, std::string section, std::string key) {
  if (problem) {
    problem->section = std::move(section);
    problem->key = std::move(key);
    problem->what = "[" + problem->section + "] " + problem->key;
  }
  return -1;
}

struct KeepAside {
  std::string name;  // empty when there is no free name
  bool kept = false;  // an earlier start kept these very bytes there
};

// The first free name beside the settings file for its unusable bytes
// (`bytes`, when they were read).
KeepAside KeepAsideName(const std::string& path, const std::string* bytes, FileStore& files) {
  for (int n = 1; n <= 99; ++n) {
    const std::string name = path + ".bad" + (n == 1 ? "" : std::to_string(n));
    if (!files.Exists(name)) return {name};
    std::string earlier;
    if (!bytes || !files.Read(name, earlier) || earlier.size() > bytes->size() ||
        bytes->compare(0, earlier.size(), earlier) != 0)
      continue;
    // These very bytes, kept by a start whose rebuild could not be written,
    // need no second copy; a copy of them that a failed write cut short is
    // debris, not a backup, and is made whole in its place.
    return {name, earlier.size() == bytes->size()};
  }
  return {};
}

// Values beyond what the dialogs allow would freeze Corvid in a sleep or a
// timer, or draw a message larger than the screen: they are brought in as
// they are loaded (and written so only when the user saves).
void BringIntoRange(ConfigData& data) {
  Settings& s = data.settings;
  auto in = [](auto& v, SettingRange r) { v = std::clamp<std::decay_t<decltype(v)>>(v, r.min, r.max); };
  in(s.KeyIdle, kKeyIdleRange);
  in(s.KeyRepeat, kKeyRepeatRange);
  in(s.CurRepeat, kCurRepeatRange);
  in(s.CurSpeed, kCurSpeedRange);
  in(s.MesSize, kMesSizeRange);
  for (AppEntry& a : data.Apps) {
    a.ActivateDelay = std::clamp(a.ActivateDelay, kDelayMin, kDelayMax);
    a.LongPressTime = std::clamp(a.LongPressTime, kDelayMin, kDelayMax);
  }
}

}  // namespace

int32_t LoadSettings(ConfigData& data, const std::string& path, FileStore& files, AnsiCodec& codec,
                     LoadProblem* problem) {
  const ReadFile file = ReadProfile(path, files, codec);
  const ProfileFile& p = file.profile;
  auto keyMapValue = [&](std::string_view value, KeyMapEntry& e) {
    return ParseKeyMapValue(CutToEncodedBytes(value, kKeyMapValueMax, file.encoding, codec), e);
  };
  const std::string defaultSetConst = JoinAppSetConst(AppEntry{});
  for (int i = 0; i < kAppCount; ++i) {
    AppEntry& a = data.Apps[static_cast<size_t>(i)];
    const std::string sec = AppSection(i);
    for (const AppTextKey& k : AppTextKeys()) a.*k.field = p.GetString(sec, k.key, "");
    if (!SplitAppSetConst(p.GetString(sec, "AppSetConst", defaultSetConst), a))
      return Fail(problem, sec, "AppSetConst");
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
      const std::string key = Prefix(family) + Hex2(code);
      if (!keyMapValue(p.GetString("Items-0", key, "0000,00,"), e)) return Fail(problem, "Items-0", key);
      for (int m = 0; m < kMapCount; ++m) t.at(static_cast<uint8_t>(code), m) = e;
    }
  }
  for (int m = 1; m < kMapCount; ++m) {
    const std::string sec = ItemsSection(m);
    for (int family = 0; family < 2; ++family) {
      KeyMapTable& t = Table(data, family);
      for (int code = 0; code <= kLastButtonCode; ++code) {
        std::string v;
        const std::string key = Prefix(family) + Hex2(code);
        if (!p.Get(sec, key, v)) continue;
        if (!keyMapValue(v, t.at(static_cast<uint8_t>(code), m))) return Fail(problem, sec, key);
      }
    }
  }
  for (const SettingKey* k : SystemSettingReadOrder())
    if (!ReadSetting(p, *k, data.settings)) return Fail(problem, k->section, k->key);
  BringIntoRange(data);
  return 0;
}

bool SaveKeyMaps(const ConfigData& data, const std::string& path, FileStore& files, MessageBoxes* boxes,
                 AnsiCodec& codec) {
  ReadFile file = ReadProfile(path, files, codec);
  PutKeyMaps(file.profile, data);
  return WriteProfile(file, path, files, boxes, codec);
}

bool SaveSystemSettings(const ConfigData& data, const std::string& path, FileStore& files, MessageBoxes* boxes,
                        AnsiCodec& codec) {
  ReadFile file = ReadProfile(path, files, codec);
  PutSystemSettings(file.profile, data);
  return WriteProfile(file, path, files, boxes, codec);
}

bool SaveAppEntries(const ConfigData& data, const std::string& path, FileStore& files, MessageBoxes* boxes,
                    int32_t screenWidth, int32_t screenHeight, AnsiCodec& codec) {
  ReadFile file = ReadProfile(path, files, codec);
  PutAppEntries(file.profile, data, screenWidth, screenHeight);
  return WriteProfile(file, path, files, boxes, codec);
}

bool SaveAutoStart(const std::string& path, int index, bool on, FileStore& files, MessageBoxes* boxes,
                   AnsiCodec& codec) {
  if (index < 0 || index >= kAppCount) return false;
  return SaveAutoStartMarks(path, 1u << index, on ? 1u << index : 0u, files, boxes, codec);
}

bool SaveAutoStartMarks(const std::string& path, uint32_t entries, uint32_t on, FileStore& files, MessageBoxes* boxes,
                        AnsiCodec& codec) {
  ReadFile file = ReadProfile(path, files, codec);
  bool changed = false;
  for (int i = 0; i < kAppCount; ++i) {
    const char* mark = on & (1u << i) ? "1" : "0";
    if (!(entries & (1u << i)) || file.profile.GetString(AppSection(i), "AutoStart", "") == mark) continue;
    file.profile.Set(AppSection(i), "AutoStart", mark);
    changed = true;
  }
  // Every App press sets the marks; most of the time the file holds them
  // already, and a write (with its flush) of the whole file would buy nothing.
  return !changed || WriteProfile(file, path, files, boxes, codec);
}

void ApplyFactoryDefaults(ConfigData& data) {
  data.settings = Settings{};
  ApplyFactoryKeyMaps(data.KeyboardMap, data.MouseMap);
}

StartupReport StartUpSettings(ConfigData& data, const std::string& folder, FileStore& files, MessageBoxes& boxes,
                              int32_t screenWidth, int32_t screenHeight, AnsiCodec& codec) {
  files.CreateFolder(folder);
  const std::string path = folder + kSettingsFileName;
  StartupReport report;
  report.outcome = StartupOutcome::Created;
  TextEncoding encoding = TextEncoding::Ansi;
  std::optional<std::string> replaced = std::string();  // what the rebuild writes over, when known
  if (files.Exists(path)) {
    // Whether the file can be used, and if not, why.
    LoadProblem& problem = report.problem;
    std::string bytes;
    bool readable = true;
    const int64_t size = files.Size(path);
    const bool tooLarge = size > kMaxSettingsBytes;
    if (tooLarge) {
      problem.what = std::string(Text(TextId::SettingsTooLarge)) + std::to_string(size >> 20) +
                     std::string(Text(TextId::SettingsTooLargeEnd));
    } else if (!files.Read(path, bytes)) {
      problem.what = Text(TextId::SettingsCannotRead);
      readable = false;
    } else {
      const SettingsText text = DecodeSettingsText(bytes, codec);
      if (text.encoding != TextEncoding::Bytes) encoding = text.encoding;
      const bool utf16 = text.encoding == TextEncoding::Utf16Bom || text.encoding == TextEncoding::Utf16BeBom;
      if (!ProfileFile::Parse(text.text).HasKeys()) {
        problem.what = Text(TextId::SettingsNoSetting);  // empty, or zeros after a failed write
      } else if (!utf16 && bytes.find('\0') != std::string::npos) {
        // UTF-16 without its byte-order mark, or not text at all: read as
        // text, it would give defaults without a word.
        problem.what = Text(TextId::SettingsUnknownEncoding);
      } else if (LoadSettings(data, path, files, codec, &problem) == 0) {
        report.outcome = StartupOutcome::Loaded;
        return report;
      }
    }
    std::string why = readable ? "no free name for a copy" : "the file cannot be read";
    if (tooLarge) replaced.reset();
    else replaced = bytes;
    const KeepAside aside = readable ? KeepAsideName(path, tooLarge ? nullptr : &bytes, files) : KeepAside{};
    const std::string& keep = aside.name;
    if (!keep.empty() && (aside.kept || files.CopyNew(path, keep, why))) {
      report.outcome = StartupOutcome::Rebuilt;
      report.keptAs = keep;
      boxes.Show(std::string(Text(TextId::SettingsUnusable)) + std::string(Text(TextId::SettingsUnreadValue)) +
                     problem.what + std::string(Text(TextId::SettingsKeptAs)) + keep,
                 "Corvid Info", MessageBoxes::kOk);
    } else {
      // Nothing may replace the user's file before its bytes are safe.
      report.outcome = StartupOutcome::Refused;
      boxes.Show(std::string(Text(TextId::SettingsUnusable)) + std::string(Text(TextId::SettingsUnreadValue)) +
                     problem.what + std::string(Text(TextId::SettingsLeftAlone)) + path + "\n(" + why + ")",
                 "Corvid Info", MessageBoxes::kOk);
      ApplyFactoryDefaults(data);
      return report;
    }
  }
  ApplyFactoryDefaults(data);
  // The whole file in one write: the key maps, the settings, the entries.
  ReadFile fresh{ProfileFile::Parse(""), encoding, std::move(replaced)};
  PutKeyMaps(fresh.profile, data);
  PutSystemSettings(fresh.profile, data);
  PutAppEntries(fresh.profile, data, screenWidth, screenHeight);
  // An entry without a program is in memory what the file now says (the
  // screen as its rectangle, delays of 1000), so that the launch-program
  // settings show the file's values from their first opening.
  for (int i = 0; i < kAppCount; ++i) {
    AppEntry& a = data.Apps[static_cast<size_t>(i)];
    if (a.Registered) continue;
    for (const AppTextKey& k : AppTextKeys()) (a.*k.field).clear();
    SplitAppSetConst(fresh.profile.GetString(AppSection(i), "AppSetConst", ""), a);
    a.LastLeft = a.WinLeft;
    a.LastTop = a.WinTop;
    a.LastRight = a.WinRight;
    a.LastBottom = a.WinBottom;
  }
  // The in-memory settings are complete either way; a refused write is told.
  WriteProfile(fresh, path, files, &boxes, codec);
  return report;
}

}  // namespace corvid
