#pragma once
// Loading and saving Corvid's settings file, and the start-up procedure that
// creates or rebuilds it.
#include <cstdint>
#include <string>
#include <string_view>

#include "config/file_store.h"

namespace corvid {

class TForm1;
class MessageBoxes;
struct KeyMapEntry;

inline constexpr const char* kSettingsFileName = "Corvid.ini";

// Value conversions of the file.
bool ParseProfileInteger(std::string_view text, int32_t& out);  // decimal, 0x/0X or $ hex
bool ParseKeyMapValue(std::string_view text, KeyMapEntry& out);
std::string FormatKeyMapValue(const KeyMapEntry& e);

// 0 when read, -1 when a value does not convert (the file is unusable); the
// values read before the bad one keep their new values.
int32_t LoadSettings(TForm1& form, const std::string& path, FileStore& files);

// Each save reads the file, changes its own group of keys and writes the
// file once, atomically. On a refused write the user is told (when `boxes`
// is given) and the file stays as it was.
bool SaveKeyMaps(TForm1& form, const std::string& path, FileStore& files, MessageBoxes* boxes);
bool SaveSystemSettings(TForm1& form, const std::string& path, FileStore& files, MessageBoxes* boxes);
bool SaveAppEntries(TForm1& form, const std::string& path, FileStore& files, MessageBoxes* boxes,
                    int32_t screenWidth, int32_t screenHeight);
bool SaveAutoStart(const std::string& path, int index, bool on, FileStore& files, MessageBoxes* boxes);

void ApplyFactoryDefaults(TForm1& form);

enum class StartupOutcome { Loaded, Created, Rebuilt };

// `folder` ends in a path separator. An unusable file is kept beside the new
// one as "Corvid.ini.bad" before the factory settings are written.
StartupOutcome StartUpSettings(TForm1& form, const std::string& folder, FileStore& files, MessageBoxes& boxes,
                               int32_t screenWidth, int32_t screenHeight);

}  // namespace corvid
