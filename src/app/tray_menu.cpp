#include "app/tray_menu.h"

#include "base/texts.h"

namespace corvid {

TrayMenu::TrayMenu()
    : entries_{{
          {MenuItem::C1, ""},
          {MenuItem::N3, ""},
          {MenuItem::M1, ""},
          {MenuItem::N1, "-"},
          {MenuItem::E1, ""},
          {MenuItem::N2, "-"},
          {MenuItem::H1, ""},
          {MenuItem::QuitQ1, ""},
      }} {
  SetCaptions();
}

// In the language in use when the menu opens (chosen once the settings are read).
void TrayMenu::SetCaptions() {
  Entry(MenuItem::C1).caption = Text(TextId::MenuKeyMap);
  Entry(MenuItem::N3).caption = Text(TextId::MenuEnvironment);
  Entry(MenuItem::M1).caption = Text(TextId::MenuMonitor);
  Entry(MenuItem::E1).caption = Text(TextId::MenuLaunchPrograms);
  Entry(MenuItem::H1).caption =
      std::string(Text(TextId::MenuHelpBefore)) + kVersion + std::string(Text(TextId::MenuHelpAfter));
  Entry(MenuItem::QuitQ1).caption = Text(TextId::MenuQuit);
}

void TrayMenu::PopupMenu1Popup(bool editorVisible, bool launchSettingsVisible) {
  SetCaptions();
  Entry(MenuItem::E1).enabled = !editorVisible;
  Entry(MenuItem::C1).enabled = !launchSettingsVisible;
}

TrayCommand TrayMenu::Click(MenuItem item) {
  switch (item) {
    case MenuItem::C1: return TrayCommand::ShowKeyMapEditorBasic;
    case MenuItem::N3: return TrayCommand::ShowEnvironment;
    case MenuItem::M1: {
      MenuEntry& m = Entry(MenuItem::M1);
      m.checked = !m.checked;
      return m.checked ? TrayCommand::ShowCodeMonitor : TrayCommand::HideCodeMonitor;
    }
    case MenuItem::E1: return TrayCommand::ShowLaunchSettings;
    case MenuItem::H1: return TrayCommand::OpenHelp;
    case MenuItem::QuitQ1: return TrayCommand::Quit;
    default: return TrayCommand::None;
  }
}

TrayCommand TrayMenu::OnTrayMessage(uint32_t mouseMessage) {
  if (mouseMessage == 0x203) return TrayCommand::ShowKeyMapEditor;  // left double click
  if (mouseMessage == 0x205) return TrayCommand::OpenMenu;          // right button up
  return TrayCommand::None;
}

}  // namespace corvid
