#pragma once
// The environment settings' window: the four groups of check boxes, scroll
// bars with their value boxes, the font box and the colour swatches, made
// from the model's table of controls, and the three buttons. It forwards
// every change to the EnvironmentDialog model and repaints from it.
#include <string_view>

#include "ui/environment_dialog.h"
#include "ui/settings_window_win32.h"

namespace corvid {

class EnvironmentDialogWin32 : public SettingsWindowWin32 {
 public:
  EnvironmentDialogWin32(EnvironmentDialog& model, Win32WindowRegistry& windows);
  bool Create();
  // The identifiers of the control that edits a setting (a check box, a
  // scroll bar, a swatch, the font box) and of a bar's value box, for the
  // programs that drive the window in tests.
  static int ControlId(std::string_view key);
  static int ValueBoxId(std::string_view key) { return ControlId(key) + kValueBoxIds; }

  static constexpr int kValueBoxIds = 100;

 private:
  void UserClosed() override { model_.Close(); }
  void Layout(uint32_t dpi) override;
  void Refresh() override;
  intptr_t Respond(unsigned msg, uintptr_t wp, intptr_t lp) override;
  // The row of the model's table a control stands for; null for none.
  const EnvironmentControl* RowOf(HWND control) const;

  EnvironmentDialog& model_;
  ControlSet controls_;
  size_t fontsShown_ = 0;
};

}  // namespace corvid
