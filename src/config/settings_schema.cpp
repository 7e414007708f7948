#include "config/settings_schema.h"

#include <cstdio>
#include <vector>

#include "config/profile_file.h"
#include "config/profile_values.h"

namespace corvid {
namespace {

using S = Settings;

// The order of writing.
constexpr SettingKey kKeys[] = {
    {"Times", "KeyIdle", &S::KeyIdle},
    {"Times", "KeyRepeat", &S::KeyRepeat},
    {"Times", "CurRepeat", &S::CurRepeat, "10"},  // the dialog has no control for it
    {"Times", "CurSpeed", &S::CurSpeed},
    {"System", "MesColorFg", &S::MesColorFg},
    {"System", "MesColorBg", &S::MesColorBg},
    {"System", "MesFont", &S::MesFont},
    {"System", "MesSize", &S::MesSize},
    {"System", "MesPosx", &S::MesPosx},
    {"System", "MesPosy", &S::MesPosy},
    {"Cursor", "NoCursor", &S::NoCursor},
    {"System", "HideStart", &S::HideStart},
    {"System", "DispMessage", &S::DispMessage},
    {"Cursor", "CurSmooth", &S::CurSmooth},
    {"System", "DispBatt", &S::DispBatt},
    {"System", "DispChange", &S::DispChange},
    {"System", "LowBattSkip", &S::LowBattSkip},
    {"System", "BkMessage", &S::BkMessage},
    {"System", "NoPsRep", &S::NoPsRep},
    {"System", "AdjustAspect", &S::AdjustAspect},
    {"System", "StartMouse", &S::StartMouse},
    {"System", "FollowForeground", &S::FollowForeground},
    {"System", "Language", &S::Language},
};

// The order of reading, as indexes into kKeys: the times, the switches,
// then the message's look and place.
constexpr int kReadOrder[] = {0, 1, 2, 3, 10, 11, 13, 12, 14, 15, 16, 17, 18, 19, 20, 21, 22, 4, 5, 7, 6, 8, 9};
static_assert(std::size(kReadOrder) == std::size(kKeys));

const std::array<const SettingKey*, std::size(kKeys)> kReadPointers = [] {
  std::array<const SettingKey*, std::size(kKeys)> a{};
  for (size_t i = 0; i < a.size(); ++i) a[i] = &kKeys[kReadOrder[i]];
  return a;
}();

std::string Decimal(int64_t v) { return std::to_string(v); }

std::string Colour(uint32_t c) {
  char b[16];
  std::snprintf(b, sizeof b, "0x%06X", static_cast<unsigned>(c));
  return b;
}

const Settings kDefaults{};

}  // namespace

std::span<const SettingKey> SystemSettingKeys() { return kKeys; }
std::span<const SettingKey* const> SystemSettingReadOrder() { return kReadPointers; }

const SettingKey* FindSettingKey(std::string_view key) {
  for (const SettingKey& k : kKeys)
    if (key == k.key) return &k;
  return nullptr;
}

bool ReadSetting(const ProfileFile& file, const SettingKey& k, Settings& into) {
  std::string text;
  const bool present = file.Get(k.section, k.key, text);
  if (auto f = std::get_if<std::string Settings::*>(&k.field)) {
    into.*(*f) = present ? text : kDefaults.*(*f);
    return true;
  }
  int32_t v = 0;
  const bool number = present && ParseProfileInteger(TrimBlanks(text), v);
  if (auto f = std::get_if<uint32_t Settings::*>(&k.field)) {
    // A colour that does not convert is no default: the file is unusable.
    if (!present) {
      into.*(*f) = kDefaults.*(*f);
      return true;
    }
    if (!ParseProfileInteger(text, v)) return false;
    into.*(*f) = static_cast<uint32_t>(v);
    return true;
  }
  if (auto f = std::get_if<int32_t Settings::*>(&k.field)) into.*(*f) = number ? v : kDefaults.*(*f);
  else if (auto f = std::get_if<bool Settings::*>(&k.field)) into.*(*f) = number ? v != 0 : kDefaults.*(*f);
  else if (auto f = std::get_if<double Settings::*>(&k.field)) into.*(*f) = number ? v : kDefaults.*(*f);
  return true;
}

void WriteSetting(ProfileFile& file, const SettingKey& k, const Settings& from) {
  std::string text;
  if (k.writtenAs) text = k.writtenAs;
  else if (auto f = std::get_if<int32_t Settings::*>(&k.field)) text = Decimal(from.*(*f));
  else if (auto f = std::get_if<bool Settings::*>(&k.field)) text = from.*(*f) ? "1" : "0";
  else if (auto f = std::get_if<uint32_t Settings::*>(&k.field)) text = Colour(from.*(*f));
  else if (auto f = std::get_if<double Settings::*>(&k.field)) text = Decimal(static_cast<int64_t>(from.*(*f)));
  else if (auto f = std::get_if<std::string Settings::*>(&k.field)) text = from.*(*f);
  file.Set(k.section, k.key, text);
}

const std::array<AppField, kAppSetConstCount>& AppSetConstFields() {
  using A = AppEntry;
  static const std::array<AppField, kAppSetConstCount> fields = {
      &A::Placement,  &A::KeyAction, &A::CoRunMask,     &A::StartMap,    &A::LaunchTopmost, &A::Registered,
      &A::DummyClick, &A::LongPressQuit, &A::RecordState, &A::OwnKeyMap, &A::WinLeft,       &A::WinTop,
      &A::WinRight,   &A::WinBottom, &A::ClickX,        &A::ClickY,      &A::ActivateDelay, &A::LongPressTime,
  };
  return fields;
}

const std::array<AppTextKey, 7>& AppTextKeys() {
  using A = AppEntry;
  static const std::array<AppTextKey, 7> keys = {{
      {"AppProg", &A::AppProg},
      {"AppPath", &A::AppPath},
      {"AppName", &A::AppName},
      {"AppArgs", &A::AppArgs},
      {"Message", &A::Message},
      {"Class", &A::Class},
      {"Caption", &A::Caption},
  }};
  return keys;
}

std::string JoinAppSetConst(const AppEntry& a) {
  std::string out;
  for (const AppField& f : AppSetConstFields()) {
    if (!out.empty()) out += ',';
    if (auto i = std::get_if<int32_t AppEntry::*>(&f)) out += Decimal(a.*(*i));
    else out += (a.*std::get<bool AppEntry::*>(f)) ? '1' : '0';
  }
  return out;
}

bool SplitAppSetConst(std::string_view text, AppEntry& into) {
  // A delimited list: "," between items, an item may stand in double quotes.
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
  if (items.size() < static_cast<size_t>(kAppSetConstCount)) return false;
  int32_t v[kAppSetConstCount];
  for (int i = 0; i < kAppSetConstCount; ++i)
    if (!ParseProfileInteger(items[static_cast<size_t>(i)], v[i])) return false;
  for (int i = 0; i < kAppSetConstCount; ++i) {
    const AppField& f = AppSetConstFields()[static_cast<size_t>(i)];
    if (auto n = std::get_if<int32_t AppEntry::*>(&f)) into.*(*n) = v[i];
    else into.*std::get<bool AppEntry::*>(f) = v[i] != 0;
  }
  return true;
}

}  // namespace corvid
