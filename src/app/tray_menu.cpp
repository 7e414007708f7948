#include "app/tray_menu.h"

#include "base/texts.h"

namespace corvid {

TrayMenu::TrayMenu()
    : entries_{{
          {MenuItem::KeyMapEditor, ""},
          {MenuItem::Environment, ""},
          {MenuItem::CodeMonitor, ""},
          {MenuItem::Separator1, "-"},
          {MenuItem::LaunchSettings, ""},
          {MenuItem::Separator2, "-"},
          {MenuItem::Help, ""},
          {MenuItem::Quit, ""},
      }} {
  SetCaptions();
}

// In the language in use when the menu opens (chosen once the settings are read).
void TrayMenu::SetCaptions() {
  Entry(MenuItem::KeyMapEditor).caption = Text(TextId::MenuKeyMap);
  Entry(MenuItem::Environment).caption = Text(TextId::MenuEnvironment);
  Entry(MenuItem::CodeMonitor).caption = Text(TextId::MenuMonitor);
  Entry(MenuItem::LaunchSettings).caption = Text(TextId::MenuLaunchPrograms);
  Entry(MenuItem::Help).caption =
      std::string(Text(TextId::MenuHelpBefore)) + kVersion + std::string(Text(TextId::MenuHelpAfter));
  Entry(MenuItem::Quit).caption = Text(TextId::MenuQuit);
}

void TrayMenu::BeforePopup(bool editorVisible, bool launchSettingsVisible) {
  SetCaptions();
  Entry(MenuItem::LaunchSettings).enabled = !editorVisible;
  Entry(MenuItem::KeyMapEditor).enabled = !launchSettingsVisible;
}

TrayCommand TrayMenu::Click(MenuItem item) {
  switch (item) {
    case MenuItem::KeyMapEditor: return TrayCommand::ShowKeyMapEditorBasic;
    case MenuItem::Environment: return TrayCommand::ShowEnvironment;
    case MenuItem::CodeMonitor: {
      MenuEntry& m = Entry(MenuItem::CodeMonitor);
      m.checked = !m.checked;
      return m.checked ? TrayCommand::ShowCodeMonitor : TrayCommand::HideCodeMonitor;
    }
    case MenuItem::LaunchSettings: return TrayCommand::ShowLaunchSettings;
    case MenuItem::Help: return TrayCommand::OpenHelp;
    case MenuItem::Quit: return TrayCommand::Quit;
    default: return TrayCommand::None;
  }
}

TrayCommand TrayMenu::OnTrayMessage(uint32_t mouseMessage) {
  if (mouseMessage == 0x203) return TrayCommand::ShowKeyMapEditor;  // left double click
  if (mouseMessage == 0x205) return TrayCommand::OpenMenu;          // right button up
  return TrayCommand::None;
}

}  // namespace corvid
