#pragma once
// The settings file as the program uses it after start-up: where it is,
// the whole reload that the dialogs' cancel buttons make, and the group
// saves. A reload or a start-up load hands on to `onLoaded`, which applies
// what follows the settings (the timer intervals), so no caller can forget.
#include <cstdint>
#include <functional>
#include <string>

#include "model/config_data.h"
#include "config/file_store.h"
#include "config/settings_store.h"

namespace corvid {

class MessageBoxes;
class ScreenSize;

class SettingsFile {
 public:
  SettingsFile(ConfigData& data, FileStore& files, AnsiCodec& codec, MessageBoxes& boxes, ScreenSize& screen)
      : data_(data), files_(files), codec_(codec), boxes_(boxes), screen_(screen) {}

  // `folder` ends in a path separator ("...\.corvid\").
  void SetFolder(std::string folder) { folder_ = std::move(folder); }
  const std::string& Folder() const { return folder_; }
  std::string Path() const { return folder_ + kSettingsFileName; }

  // Creates the folder, then loads the file, or writes the factory settings
  // when it is missing or unusable.
  StartupReport StartUp();
  // The whole file again; -1 when a value did not convert (the values up to
  // it are read).
  int32_t Reload();
  // An unusable file that could not be kept aside is the user's only copy:
  // until a reload finds it usable, no save writes over it (each says so).
  bool Refused() const { return refused_; }
  bool SaveKeyMaps();
  bool SaveSystemSettings();
  bool SaveAppEntries();
  bool SaveAutoStart(int index, bool on);
  // The marks of several entries in one write, without a box: App actions
  // write them, and a modal box would run the remote's reports in the
  // middle of the action.
  bool SaveAutoStartMarks(uint32_t entries, uint32_t on);

  std::function<void()> onLoaded;

 private:
  void Loaded() {
    if (onLoaded) onLoaded();
  }
  // The message's place from the file, within the screen as the
  // environment settings allow it (the screen is known here, not at load).
  void BringPlaceIntoScreen();
  // False, with a box when `tell`, while the file is refused.
  bool MayWrite(bool tell);
  ConfigData& data_;
  FileStore& files_;
  AnsiCodec& codec_;
  MessageBoxes& boxes_;
  ScreenSize& screen_;
  std::string folder_;
  bool refused_ = false;
};

}  // namespace corvid
