#pragma once
// The launch-program settings' window: the entry selector, three group
// boxes of text boxes, radios, check boxes and scroll bars, and the buttons
// at the bottom, made from a table at 96 DPI. It forwards the user's changes
// to the LaunchSettings model, repaints from it, and opens the system's open-file
// dialog for it.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "base/handles_win32.h"
#include "base/window_win32.h"
#include "ui/controls_win32.h"
#include "ui/launch_settings.h"

namespace corvid {

// Control identifiers, by the model's numbering; tests find the controls by them.
struct LaunchControl {
  static constexpr int Edit(int n) { return 100 + n; }
  static constexpr int CheckBox(int n) { return 200 + n; }
  static constexpr int RadioButton(int n) { return 300 + n; }
  static constexpr int ScrollBar(int n) { return 400 + n; }
  static constexpr int Button(int n) { return 500 + n; }
  static constexpr int ComboBox(int n) { return 600 + n; }
  // The notes beside the rectangle's and the click point's boxes when one
  // holds no integer.
  static constexpr int kRectNote = 703, kClickNote = 704;
};

class LaunchSettingsWin32 : private Win32Window, public ProgramFileDialog {
 public:
  LaunchSettingsWin32(LaunchSettings& model, Win32WindowRegistry& windows);
  ~LaunchSettingsWin32() override;
  bool Create();
  using Win32Window::Handle;

  bool Choose(const std::string& folder, std::string& chosen) override;

 private:
  class TestButton;
  intptr_t OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) override;
  void Layout(uint32_t dpi);
  void Refresh();
  HWND Control(int id) const;
  intptr_t BoxColours(HWND control, HDC dc);

  LaunchSettings& model_;
  Win32WindowRegistry& windows_;
  uint32_t dpi_ = 96;
  std::vector<std::pair<int, HWND>> controls_;  // id, window
  std::unique_ptr<TestButton> testButton_;
  std::array<BoxColour, LaunchSettings::kEdits + 1> shownColours_{};
  bool refreshPending_ = false;
  bool refreshing_ = false;
  bool browsing_ = false;
  uint32_t fronted_ = 0;
  GdiObject<HBRUSH> yellow_;
};

}  // namespace corvid
