#pragma once
// The settings file's keys as tables: the section, key, encoding and field
// of every setting of "Times", "System" and "Cursor", and the 18 positions of
// "AppSetConst". Load and save walk these tables, and the settings dialogs
// bind their controls to them. The defaults are those of a default-made
// Settings and AppEntry.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "model/settings.h"
#include "model/app_entry.h"

namespace corvid {

// A field of Settings; its type is the key's encoding: int32_t integer, bool
// boolean, uint32_t colour, double a number kept as floating point (written
// truncated), std::string text.
using SettingField = std::variant<int32_t Settings::*, bool Settings::*, uint32_t Settings::*, double Settings::*,
                                  std::string Settings::*>;

struct SettingKey {
  const char* section;
  const char* key;
  SettingField field;
  const char* writtenAs = nullptr;  // a constant written whatever the field holds
};

// In the order the keys are written.
std::span<const SettingKey> SystemSettingKeys();
// The same keys in the order they are read (a value that does not convert
// stops the reading there).
std::span<const SettingKey* const> SystemSettingReadOrder();
const SettingKey* FindSettingKey(std::string_view key);

// Reads one key; false when it does not convert (a colour), which makes the
// file unusable. Missing keys and integers or booleans that are no number
// take the default.
class ProfileFile;
bool ReadSetting(const ProfileFile& file, const SettingKey& k, Settings& into);
void WriteSetting(ProfileFile& file, const SettingKey& k, const Settings& from);

// "AppSetConst": position -> field.
using AppField = std::variant<int32_t AppEntry::*, bool AppEntry::*>;
inline constexpr int kAppSetConstCount = 18;
const std::array<AppField, kAppSetConstCount>& AppSetConstFields();

struct AppTextKey {
  const char* key;
  std::string AppEntry::*field;
};
// "AppProg", "AppPath", "AppName", "AppArgs", "Message", "Class", "Caption".
const std::array<AppTextKey, 7>& AppTextKeys();

// The 18 values as the file holds them, and back; false when fewer than 18
// items or one that is no integer.
std::string JoinAppSetConst(const AppEntry& a);
bool SplitAppSetConst(std::string_view text, AppEntry& into);

}  // namespace corvid
