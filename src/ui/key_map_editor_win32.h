#pragma once
// The key map editor's window: the receive log at the top, a box per button
// laid out like the remote, the entry fields and the buttons. It forwards
// clicks, keys and menu choices to the KeyMapEditor model and repaints from it.
#include <array>
#include <memory>
#include <vector>

#include "base/handles_win32.h"
#include "base/window_win32.h"
#include "ui/controls_win32.h"
#include "ui/key_map_editor.h"

namespace corvid {

class KeyMapEditorWin32 : private Win32Window {
 public:
  KeyMapEditorWin32(KeyMapEditor& model, LineView& receiveLog, Win32WindowRegistry& windows);
  ~KeyMapEditorWin32() override;
  bool Create();
  using Win32Window::Handle;
  // The box of a button, for tests that click it.
  HWND BoxWindow(uint8_t code) const;

 private:
  class KeyBox;
  intptr_t OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) override;
  void Layout(uint32_t dpi);
  void Refresh();
  void OpenMenu(uint8_t code, EditorMenu menu);

  KeyMapEditor& model_;
  LineView& log_;
  Win32WindowRegistry& windows_;
  uint32_t dpi_ = 96;
  std::vector<std::unique_ptr<KeyBox>> boxes_;
  HWND memo_ = nullptr;
  std::unique_ptr<MemoSync> memoSync_;
  bool memoPending_ = false;
  std::vector<std::pair<HWND, int>> labels_;  // label, box index
  HWND keyboard_ = nullptr, mouse_ = nullptr;
  HWND editIndex_ = nullptr, editStat_ = nullptr, editCode_ = nullptr;
  HWND indexLabel_ = nullptr, statLabel_ = nullptr, codeLabel_ = nullptr;
  HWND reload_ = nullptr, useNow_ = nullptr, save_ = nullptr, reset_ = nullptr;
  std::array<HWND, 4> power_{};
  bool settingCode_ = false;
  uint32_t fronted_ = 0;
  GdiObject<HBRUSH> black_;
};

}  // namespace corvid
