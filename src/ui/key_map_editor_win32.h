#pragma once
// The key map editor's window: the receive log at the top, a box per button
// laid out like the remote, the entry fields and the buttons. It forwards
// clicks, keys and menu choices to the KeyMapEditor model and repaints from it.
#include <memory>
#include <vector>

#include "ui/key_map_editor.h"
#include "ui/settings_window_win32.h"

namespace corvid {

class KeyMapEditorWin32 : public SettingsWindowWin32 {
 public:
  KeyMapEditorWin32(KeyMapEditor& model, LineView& receiveLog, Win32WindowRegistry& windows);
  ~KeyMapEditorWin32() override;
  bool Create();
  // The box of a button, for tests that click it.
  HWND BoxWindow(uint8_t code) const;

 private:
  class KeyBox;
  void UserClosed() override { model_.Close(); }
  void Layout(uint32_t dpi) override;
  void Refresh() override;
  intptr_t Respond(unsigned msg, uintptr_t wp, intptr_t lp) override;
  void OpenMenu(uint8_t code, EditorMenu menu);

  KeyMapEditor& model_;
  LogMemo log_;
  std::vector<std::unique_ptr<KeyBox>> boxes_;
  ControlSet controls_;
  bool settingCode_ = false;
};

}  // namespace corvid
