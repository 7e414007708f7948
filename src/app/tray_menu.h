#pragma once
// The notification icon's popup menu: items, captions, checks and enabled
// states, and what a click asks the program to do.
#include <array>
#include <cstdint>
#include <string>

#include "base/version.h"

namespace corvid {

inline constexpr unsigned kTrayIconId = 100;
inline constexpr unsigned kTrayCallbackMessage = 0x401;
inline constexpr const char* kVersion = CORVID_VERSION_TEXT;
inline constexpr const char* kTrayTip = " Corvid " CORVID_VERSION_TEXT;
inline constexpr const char* kHelpFile = "Corvid.CHM";

enum class MenuItem : uint8_t {
  KeyMapEditor, Environment, CodeMonitor, Separator1, LaunchSettings, Separator2, Help, Quit,
};

// The command identifier a menu item sends to the main window (WM_COMMAND).
inline constexpr unsigned kMenuCommandBase = 1000;
constexpr unsigned MenuCommandId(MenuItem item) { return kMenuCommandBase + static_cast<unsigned>(item); }

struct MenuEntry {
  MenuItem item;
  std::string caption;  // "-" is a separator
  bool checked = false;
  bool enabled = true;
};

// What a menu click or a tray mouse message asks of the windows.
enum class TrayCommand : uint8_t {
  None,
  ShowKeyMapEditorBasic,  // CurrentAppMap := 0, show the editor
  ShowKeyMapEditor,       // double click: show it, map unchanged
  ShowEnvironment,
  ShowCodeMonitor,
  HideCodeMonitor,
  ShowLaunchSettings,
  OpenHelp,
  OpenMenu,
  Quit,
};

class TrayMenu {
 public:
  TrayMenu();
  const std::array<MenuEntry, 8>& Entries() const { return entries_; }
  MenuEntry& Entry(MenuItem item) { return entries_[static_cast<size_t>(item)]; }

  // Before the menu opens.
  void BeforePopup(bool editorVisible, bool launchSettingsVisible);
  TrayCommand Click(MenuItem item);
  // The tray callback: the mouse message on the icon.
  static TrayCommand OnTrayMessage(uint32_t mouseMessage);
  // The monitor window keeps the check mark in step with its visibility.
  void SetMonitorChecked(bool on) { Entry(MenuItem::CodeMonitor).checked = on; }

 private:
  void SetCaptions();
  std::array<MenuEntry, 8> entries_;
};

}  // namespace corvid
