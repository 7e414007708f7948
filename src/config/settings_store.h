#pragma once
// Loading and saving Corvid's settings file, and the start-up procedure that
// creates or rebuilds it.
#include <cstdint>
#include <string>

#include "config/config_data.h"
#include "config/file_store.h"

namespace corvid {

class MessageBoxes;

inline constexpr const char* kSettingsFileName = "Corvid.ini";

// 0 when read, -1 when a value does not convert (the file is unusable); the
// values read before the bad one keep their new values.
int32_t LoadSettings(ConfigData& data, const std::string& path, FileStore& files);

// Each save reads the file, changes its own group of keys and writes the
// file once, atomically. On a refused write the user is told (when `boxes`
// is given) and the file stays as it was.
bool SaveKeyMaps(const ConfigData& data, const std::string& path, FileStore& files, MessageBoxes* boxes);
bool SaveSystemSettings(const ConfigData& data, const std::string& path, FileStore& files, MessageBoxes* boxes);
bool SaveAppEntries(const ConfigData& data, const std::string& path, FileStore& files, MessageBoxes* boxes,
                    int32_t screenWidth, int32_t screenHeight);
bool SaveAutoStart(const std::string& path, int index, bool on, FileStore& files, MessageBoxes* boxes);
// The "AutoStart" marks of every entry whose bit is set in `entries` (bit k:
// App index k), in one write.
bool SaveAutoStartMarks(const std::string& path, uint32_t entries, bool on, FileStore& files, MessageBoxes* boxes);

// Every setting to its default and the factory entries into all nine maps of
// both tables; other key map slots and the App entries stay as they are.
void ApplyFactoryDefaults(ConfigData& data);

enum class StartupOutcome { Loaded, Created, Rebuilt };

// `folder` ends in a path separator. An unusable file is kept beside the new
// one as "Corvid.ini.bad" before the factory settings are written.
StartupOutcome StartUpSettings(ConfigData& data, const std::string& folder, FileStore& files, MessageBoxes& boxes,
                               int32_t screenWidth, int32_t screenHeight);

}  // namespace corvid
