#include "app/tray_menu.h"

namespace corvid {

TrayMenu::TrayMenu()
    : entries_{{
          {MenuItem::C1, "基本キーマップ割付設定(&K)"},
          {MenuItem::N3, "動作環境設定(&G)"},
          {MenuItem::M1, "送出コードモニタ表示(&M)"},
          {MenuItem::N1, "-"},
          {MenuItem::E1, "起動プログラム設定(&E)"},
          {MenuItem::N2, "-"},
          {MenuItem::H1, "Help(&H)"},
          {MenuItem::QuitQ1, "常駐解除(&Q)"},
      }} {}

void TrayMenu::PopupMenu1Popup(bool editorVisible, bool launchSettingsVisible) {
  Entry(MenuItem::H1).caption = std::string("設定操作説明 Ver.") + kVersion + " (&H)";
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
