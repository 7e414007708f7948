#pragma once
// The launch-program settings' window: the entry selector, three group
// boxes of text boxes, radios, check boxes and scroll bars, and the buttons
// at the bottom, made from a table at 96 DPI. It forwards the user's changes
// to the LaunchSettings model, repaints from it, and opens the system's open-file
// dialog for it.
#include <array>
#include <memory>
#include <string>

#include "ui/launch_settings.h"
#include "ui/settings_window_win32.h"

namespace corvid {

// Control identifiers; tests find the controls by them.
struct LaunchControl {
  static constexpr int Field(LaunchField f) { return 100 + int(f); }
  static constexpr int Check(LaunchCheck c) { return 200 + int(c); }
  static constexpr int Radio(LaunchRadio r) { return 300 + int(r); }
  static constexpr int Bar(LaunchBar b) { return 400 + int(b); }
  enum : int {
    kCancel = 501, kSave, kBrowse, kTest, kFind, kEditor,
    kEntry = 601, kStartMode,
    kDelayLabel = 701, kLongPressLabel,
    // The notes beside the rectangle's and the click point's boxes when one
    // holds no integer.
    kRectNote, kClickNote,
  };
};

class LaunchSettingsWin32 : public SettingsWindowWin32, public ProgramFileDialog {
 public:
  LaunchSettingsWin32(LaunchSettings& model, Win32WindowRegistry& windows);
  ~LaunchSettingsWin32() override;
  bool Create();

  bool Choose(const std::string& folder, std::string& chosen) override;

 private:
  class TestButton;
  void UserClosed() override { model_.Close(); }
  void Layout(uint32_t dpi) override;
  void Refresh() override;
  intptr_t Respond(unsigned msg, uintptr_t wp, intptr_t lp) override;
  intptr_t BoxColours(HWND control, HDC dc);

  LaunchSettings& model_;
  ControlSet controls_;
  std::unique_ptr<TestButton> testButton_;
  std::array<BoxColour, LaunchSettings::kFields + 1> shownColours_{};
  bool refreshing_ = false;
  bool browsing_ = false;
  GdiObject<HBRUSH> yellow_;
};

}  // namespace corvid
