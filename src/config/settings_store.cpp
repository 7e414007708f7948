#include "config/settings_store.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "app/tform1.h"
#include "config/profile_file.h"
#include "remote/button_codes.h"

namespace corvid {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Strict unsigned hexadecimal of up to 32 bits, nothing else in the text.
bool ParseHex32(std::string_view t, uint32_t& out) {
  if (t.empty() || t.size() > 8) {
    // Leading zeros beyond eight digits still fit.
    while (t.size() > 8 && t.front() == '0') t.remove_prefix(1);
    if (t.empty() || t.size() > 8) return false;
  }
  uint32_t v = 0;
  for (char c : t) {
    const int d = HexValue(c);
    if (d < 0) return false;
    v = (v << 4) | static_cast<uint32_t>(d);
  }
  out = v;
  return true;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string Hex2(unsigned code) {
  char b[4];
  std::snprintf(b, sizeof b, "%02X", code & 0xFF);
  return b;
}

std::string AppSection(int index) { return "App-" + std::to_string(index + 1); }
std::string ItemsSection(int map) { return "Items-" + std::to_string(map); }

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

int32_t ReadInt(const ProfileFile& p, const char* section, const char* key, int32_t fallback) {
  std::string v;
  int32_t out;
  if (p.Get(section, key, v) && ParseProfileInteger(TrimBlanks(v), out)) return out;
  return fallback;
}

bool ReadBool(const ProfileFile& p, const char* section, const char* key, bool fallback) {
  return ReadInt(p, section, key, fallback ? 1 : 0) != 0;
}

bool ReadColour(const ProfileFile& p, const char* key, const char* fallback, uint32_t& out) {
  const std::string v = p.GetString("System", key, fallback);
  int32_t value;
  if (!ParseProfileInteger(v, value)) return false;
  out = static_cast<uint32_t>(value);
  return true;
}

constexpr const char* kEmptyAppSetConst = "1,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0";

bool ParseAppSetConst(std::string_view text, int32_t (&values)[18]) {
  std::vector<std::string_view> items;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == ',') {
      std::string_view item = TrimBlanks(text.substr(start, i - start));
      if (item.size() >= 2 && item.front() == '"' && item.back() == '"') item = item.substr(1, item.size() - 2);
      items.push_back(item);
      start = i + 1;
    }
  }
  if (items.size() < 18) return false;
  for (int i = 0; i < 18; ++i)
    if (!ParseProfileInteger(items[static_cast<size_t>(i)], values[i])) return false;
  return true;
}

std::string JoinAppSetConst(const AppEntry& a) {
  const int32_t v[18] = {a.Placement, a.KeyAction, a.CoRunMask, a.StartMap, a.LaunchTopmost, a.Registered,
                         a.DummyClick, a.LongPressQuit, a.RecordState, a.OwnKeyMap, a.WinLeft, a.WinTop,
                         a.WinRight, a.WinBottom, a.ClickX, a.ClickY, a.ActivateDelay, a.LongPressTime};
  std::string out;
  for (int i = 0; i < 18; ++i) {
    if (i) out += ',';
    out += std::to_string(v[i]);
  }
  return out;
}

}  // namespace

bool ParseProfileInteger(std::string_view t, int32_t& out) {
  bool negative = false;
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
    negative = t.front() == '-';
    t.remove_prefix(1);
  }
  int64_t v = 0;
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    uint32_t h;
    if (!ParseHex32(t.substr(2), h)) return false;
    v = static_cast<int32_t>(h);  // 0xFFFFFFFF is -1, as a 32-bit conversion gives
  } else if (t.size() > 1 && t[0] == '$') {
    uint32_t h;
    if (!ParseHex32(t.substr(1), h)) return false;
    v = static_cast<int32_t>(h);
  } else {
    if (t.empty() || t.size() > 10) return false;
    for (char c : t) {
      if (c < '0' || c > '9') return false;
      v = v * 10 + (c - '0');
    }
    if (v > (negative ? 2147483648LL : 2147483647LL)) return false;
  }
  out = static_cast<int32_t>(negative ? -v : v);
  return true;
}

bool ParseKeyMapValue(std::string_view text, KeyMapEntry& out) {
  // A working buffer of 255 bytes, cut at commas as strtok does.
  text = text.substr(0, 255);
  std::string_view tokens[3];
  int n = 0;
  size_t i = 0;
  while (n < 3 && i < text.size()) {
    while (i < text.size() && text[i] == ',') ++i;
    if (i >= text.size()) break;
    const size_t end = n < 2 ? text.find(',', i) : text.find(',', i);
    tokens[n++] = text.substr(i, (end == std::string_view::npos ? text.size() : end) - i);
    i = end == std::string_view::npos ? text.size() : end + 1;
  }
  uint32_t param, key;
  if (!ParseHex32(tokens[0], param) || !ParseHex32(tokens[1], key)) return false;
  out.Param = param;
  out.Key = static_cast<uint16_t>(key & 0xFFFF);
  out.Message.assign(tokens[2]);
  return true;
}

std::string FormatKeyMapValue(const KeyMapEntry& e) {
  char b[32];
  std::snprintf(b, sizeof b, "%04X,%02X,", static_cast<unsigned>(e.Param), static_cast<unsigned>(e.Key));
  return b + e.Message;
}

int32_t LoadSettings(TForm1& form, const std::string& path, FileStore& files) {
  const ProfileFile p = ReadProfile(path, files);
  for (int i = 0; i < kAppCount; ++i) {
    AppEntry& a = form.Apps[static_cast<size_t>(i)];
    const std::string sec = AppSection(i);
    a.AppProg = p.GetString(sec, "AppProg", "");
    a.AppPath = p.GetString(sec, "AppPath", "");
    a.AppName = p.GetString(sec, "AppName", "");
    a.AppArgs = p.GetString(sec, "AppArgs", "");
    a.Message = p.GetString(sec, "Message", "");
    a.Class = p.GetString(sec, "Class", "");
    a.Caption = p.GetString(sec, "Caption", "");
    int32_t v[18];
    if (!ParseAppSetConst(p.GetString(sec, "AppSetConst", kEmptyAppSetConst), v)) return -1;
    a.Placement = v[0]; a.KeyAction = v[1]; a.CoRunMask = v[2]; a.StartMap = v[3];
    a.LaunchTopmost = v[4] != 0; a.Registered = v[5] != 0; a.DummyClick = v[6] != 0;
    a.LongPressQuit = v[7] != 0; a.RecordState = v[8] != 0; a.OwnKeyMap = v[9] != 0;
    a.WinLeft = v[10]; a.WinTop = v[11]; a.WinRight = v[12]; a.WinBottom = v[13];
    a.ClickX = v[14]; a.ClickY = v[15]; a.ActivateDelay = v[16]; a.LongPressTime = v[17];
    a.AutoStart = ReadBool(p, sec.c_str(), "AutoStart", false);
  }
  for (int family = 0; family < 2; ++family) {
    KeyMapTable& t = family == 0 ? form.KeyboardMap : form.MouseMap;
    const char* prefix = family == 0 ? "BD" : "BM";
    for (int code = 0; code <= 0x83; ++code) {
      KeyMapEntry e;
      if (!ParseKeyMapValue(p.GetString("Items-0", prefix + Hex2(code), "0000,00,"), e)) return -1;
      for (int m = 0; m < kMapCount; ++m) t.at(static_cast<uint8_t>(code), m) = e;
    }
  }
  for (int m = 1; m < kMapCount; ++m) {
    const std::string sec = ItemsSection(m);
    for (int family = 0; family < 2; ++family) {
      KeyMapTable& t = family == 0 ? form.KeyboardMap : form.MouseMap;
      const char* prefix = family == 0 ? "BD" : "BM";
      for (int code = 0; code <= 0x83; ++code) {
        std::string v;
        if (!p.Get(sec, prefix + Hex2(code), v)) continue;
        if (!ParseKeyMapValue(v, t.at(static_cast<uint8_t>(code), m))) return -1;
      }
    }
  }
  Settings& s = form.settings;
  s.KeyIdle = ReadInt(p, "Times", "KeyIdle", 500);
  s.KeyRepeat = ReadInt(p, "Times", "KeyRepeat", 25);
  s.CurRepeat = ReadInt(p, "Times", "CurRepeat", 10);
  s.CurSpeed = ReadInt(p, "Times", "CurSpeed", 10);
  form.ApplyTimerSettings();
  s.NoCursor = ReadBool(p, "Cursor", "NoCursor", false);
  s.HideStart = ReadBool(p, "System", "HideStart", false);
  s.CurSmooth = ReadBool(p, "Cursor", "CurSmooth", true);
  s.DispMessage = ReadBool(p, "System", "DispMessage", true);
  s.DispBatt = ReadBool(p, "System", "DispBatt", false);
  s.DispChange = ReadBool(p, "System", "DispChange", true);
  s.LowBattSkip = ReadBool(p, "System", "LowBattSkip", true);
  s.BkMessage = ReadBool(p, "System", "BkMessage", true);
  s.NoPsRep = ReadBool(p, "System", "NoPsRep", true);
  s.AdjustAspect = ReadBool(p, "System", "AdjustAspect", false);
  s.StartMouse = ReadBool(p, "System", "StartMouse", false);
  if (!ReadColour(p, "MesColorFg", "0xffffff", s.MesColorFg)) return -1;
  if (!ReadColour(p, "MesColorBg", "0x000000", s.MesColorBg)) return -1;
  s.MesSize = ReadInt(p, "System", "MesSize", 46);
  s.MesFont = p.GetString("System", "MesFont", "Century Gothic");
  s.MesPosx = ReadInt(p, "System", "MesPosx", 0);
  s.MesPosy = ReadInt(p, "System", "MesPosy", 0);
  return 0;
}

bool SaveKeyMaps(TForm1& form, const std::string& path, FileStore& files, MessageBoxes* boxes) {
  ProfileFile p = ReadProfile(path, files);
  for (int family = 0; family < 2; ++family) {
    const KeyMapTable& t = family == 0 ? form.KeyboardMap : form.MouseMap;
    const char* prefix = family == 0 ? "BD" : "BM";
    for (uint8_t code : kMappableButtons) p.Set("Items-0", prefix + Hex2(code), FormatKeyMapValue(t.at(code, 0)));
  }
  for (int m = 1; m < kMapCount; ++m) {
    const std::string sec = ItemsSection(m);
    for (int family = 0; family < 2; ++family) {
      const KeyMapTable& t = family == 0 ? form.KeyboardMap : form.MouseMap;
      const char* prefix = family == 0 ? "BD" : "BM";
      for (uint8_t code : kMappableButtons) {
        const std::string key = prefix + Hex2(code);
        if (t.at(code, m) == t.at(code, 0)) p.Delete(sec, key);
        else p.Set(sec, key, FormatKeyMapValue(t.at(code, m)));
      }
    }
  }
  return WriteProfile(p, path, files, boxes);
}

bool SaveSystemSettings(TForm1& form, const std::string& path, FileStore& files, MessageBoxes* boxes) {
  ProfileFile p = ReadProfile(path, files);
  const Settings& s = form.settings;
  auto colour = [](uint32_t c) {
    char b[16];
    std::snprintf(b, sizeof b, "0x%06X", static_cast<unsigned>(c));
    return std::string(b);
  };
  auto flag = [](bool b) { return b ? "1" : "0"; };
  p.Set("Times", "KeyIdle", std::to_string(s.KeyIdle));
  p.Set("Times", "KeyRepeat", std::to_string(s.KeyRepeat));
  p.Set("Times", "CurRepeat", "10");
  p.Set("Times", "CurSpeed", std::to_string(static_cast<int64_t>(s.CurSpeed)));
  p.Set("System", "MesColorFg", colour(s.MesColorFg));
  p.Set("System", "MesColorBg", colour(s.MesColorBg));
  p.Set("System", "MesFont", s.MesFont);
  p.Set("System", "MesSize", std::to_string(s.MesSize));
  p.Set("System", "MesPosx", std::to_string(s.MesPosx));
  p.Set("System", "MesPosy", std::to_string(s.MesPosy));
  p.Set("Cursor", "NoCursor", flag(s.NoCursor));
  p.Set("System", "HideStart", flag(s.HideStart));
  p.Set("System", "DispMessage", flag(s.DispMessage));
  p.Set("Cursor", "CurSmooth", flag(s.CurSmooth));
  p.Set("System", "DispBatt", flag(s.DispBatt));
  p.Set("System", "DispChange", flag(s.DispChange));
  p.Set("System", "LowBattSkip", flag(s.LowBattSkip));
  p.Set("System", "BkMessage", flag(s.BkMessage));
  p.Set("System", "NoPsRep", flag(s.NoPsRep));
  p.Set("System", "AdjustAspect", flag(s.AdjustAspect));
  p.Set("System", "StartMouse", flag(s.StartMouse));
  return WriteProfile(p, path, files, boxes);
}

bool SaveAppEntries(TForm1& form, const std::string& path, FileStore& files, MessageBoxes* boxes,
                    int32_t screenWidth, int32_t screenHeight) {
  ProfileFile p = ReadProfile(path, files);
  for (int i = 0; i < kAppCount; ++i) {
    const AppEntry& a = form.Apps[static_cast<size_t>(i)];
    const std::string sec = AppSection(i);
    const bool reg = a.Registered;
    p.Set(sec, "AppProg", reg ? a.AppProg : "");
    p.Set(sec, "AppPath", reg ? a.AppPath : "");
    p.Set(sec, "AppName", reg ? a.AppName : "");
    p.Set(sec, "AppArgs", reg ? a.AppArgs : "");
    p.Set(sec, "Message", reg ? a.Message : "");
    p.Set(sec, "Class", reg ? a.Class : "");
    p.Set(sec, "Caption", reg ? a.Caption : "");
    p.Set(sec, "AppSetConst",
          reg ? JoinAppSetConst(a)
              : "1,1,0,0,0,0,0,0,0,0,0,0," + std::to_string(screenWidth) + "," + std::to_string(screenHeight) +
                    ",0,0,1000,1000");
  }
  return WriteProfile(p, path, files, boxes);
}

bool SaveAutoStart(const std::string& path, int index, bool on, FileStore& files, MessageBoxes* boxes) {
  if (index < 0 || index >= kAppCount) return false;
  ProfileFile p = ReadProfile(path, files);
  p.Set(AppSection(index), "AutoStart", on ? "1" : "0");
  return WriteProfile(p, path, files, boxes);
}

void ApplyFactoryDefaults(TForm1& form) {
  form.settings = Settings{};
  ApplyFactoryKeyMaps(form.KeyboardMap, form.MouseMap);
  form.ApplyTimerSettings();
}

StartupOutcome StartUpSettings(TForm1& form, const std::string& folder, FileStore& files, MessageBoxes& boxes,
                               int32_t screenWidth, int32_t screenHeight) {
  files.CreateFolder(folder);
  const std::string path = folder + kSettingsFileName;
  StartupOutcome outcome = StartupOutcome::Created;
  if (files.Exists(path)) {
    if (LoadSettings(form, path, files) == 0) return StartupOutcome::Loaded;
    boxes.Show("環境ファイルが適正ではありません。\n設定値をすべて初期化します。", "Corvid Info", MessageBoxes::kOk);
    // Keep the unusable file: one bad value must not cost the user every map.
    const std::string bad = path + ".bad";
    std::string bytes, why;
    if (files.Read(path, bytes)) files.Replace(bad, bytes, why);
    files.Replace(path, "", why);
    outcome = StartupOutcome::Rebuilt;
  }
  ApplyFactoryDefaults(form);
  // The in-memory settings are complete either way; a refused write is told.
  SaveKeyMaps(form, path, files, &boxes) && SaveSystemSettings(form, path, files, &boxes) &&
      SaveAppEntries(form, path, files, &boxes, screenWidth, screenHeight);
  return outcome;
}

}  // namespace corvid
