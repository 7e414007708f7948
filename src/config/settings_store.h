#pragma once
// Loading and saving Corvid's settings file, and the start-up procedure that
// creates or rebuilds it.
#include <cstdint>
#include <string>

#include "model/config_data.h"
#include "config/file_store.h"
#include "config/settings_text.h"

namespace corvid {

class MessageBoxes;

inline constexpr const char* kSettingsFileName = "Corvid.ini";
// A settings file is some tens of kilobytes; one beyond this is not read.
inline constexpr int64_t kMaxSettingsBytes = int64_t(16) << 20;

// Where a file could not be used: the first key whose value did not convert,
// or what was wrong with the file as a whole.
struct LoadProblem {
  std::string section, key;
  std::string what;
};

// 0 when read, -1 when a value does not convert (the file is unusable); the
// values read before the bad one keep their new values.
int32_t LoadSettings(ConfigData& data, const std::string& path, FileStore& files,
                     AnsiCodec& codec = DefaultCodePage(), LoadProblem* problem = nullptr);

// Each save reads the file, changes its own group of keys and writes the
// file once, atomically, in the encoding it had. On a refused write the user
// is told (when `boxes` is given) and the file stays as it was.
bool SaveKeyMaps(const ConfigData& data, const std::string& path, FileStore& files, MessageBoxes* boxes,
                 AnsiCodec& codec = DefaultCodePage());
bool SaveSystemSettings(const ConfigData& data, const std::string& path, FileStore& files, MessageBoxes* boxes,
                        AnsiCodec& codec = DefaultCodePage());
bool SaveAppEntries(const ConfigData& data, const std::string& path, FileStore& files, MessageBoxes* boxes,
                    int32_t screenWidth, int32_t screenHeight, AnsiCodec& codec = DefaultCodePage());
bool SaveAutoStart(const std::string& path, int index, bool on, FileStore& files, MessageBoxes* boxes,
                   AnsiCodec& codec = DefaultCodePage());
// The "AutoStart" marks of every entry whose bit is set in `entries` (bit k:
// App index k), set where its bit in `on` is, in one write; none when the
// file holds them already.
bool SaveAutoStartMarks(const std::string& path, uint32_t entries, uint32_t on, FileStore& files, MessageBoxes* boxes,
                        AnsiCodec& codec = DefaultCodePage());

// Every setting to its default and the factory entries into all nine maps of
// both tables; other key map slots and the App entries stay as they are.
void ApplyFactoryDefaults(ConfigData& data);

enum class StartupOutcome {
  Loaded,
  Created,   // no file: the factory settings were written
  Rebuilt,   // an unusable file was kept aside, the factory settings written
  Refused,   // an unusable file that could not be kept aside is left as it
             // was; Corvid runs on the factory settings without writing
};

struct StartupReport {
  StartupOutcome outcome = StartupOutcome::Loaded;
  std::string keptAs;  // where an unusable file's bytes were kept
  LoadProblem problem;
};

// `folder` ends in a path separator. An unusable file (a value that does not
// convert, no key at all, too large, unreadable) is kept aside, byte for
// byte, as "Corvid.ini.bad" (".bad2", ... when earlier ones are there)
// before anything replaces it; the box says which key and where.
StartupReport StartUpSettings(ConfigData& data, const std::string& folder, FileStore& files, MessageBoxes& boxes,
                              int32_t screenWidth, int32_t screenHeight, AnsiCodec& codec = DefaultCodePage());

}  // namespace corvid
