#pragma once
// The environment settings' window: the four groups of check boxes, scroll
// bars with their value boxes, the font box and the colour swatches, built
// from the model's table of controls, and the three buttons. It forwards
// every change to the EnvironmentDialog model and repaints from it.
#include <array>
#include <vector>

#include "base/window_win32.h"
#include "ui/controls_win32.h"
#include "ui/environment_dialog.h"

namespace corvid {

class EnvironmentDialogWin32 : private Win32Window {
 public:
  EnvironmentDialogWin32(EnvironmentDialog& model, Win32WindowRegistry& windows);
  ~EnvironmentDialogWin32() override;
  bool Create();
  using Win32Window::Handle;
  // The identifiers of a control (the scroll bar of ScrollBarN, CheckBoxN,
  // a swatch, the font box) and of ScrollBarN's value box, for the programs
  // that drive the window in tests.
  static int ControlId(EnvironmentControl::Kind kind, int number);
  static int ValueBoxId(int number) { return ControlId(EnvironmentControl::Bar, number) + kValueBoxIds; }

  static constexpr int kValueBoxIds = 100;

 private:
  struct Item {
    const EnvironmentControl* def = nullptr;
    HWND control = nullptr;  // the group box, check box, combo box or swatch
    HWND label = nullptr;    // a swatch's or the font box's label
    ValueBar bar;
  };
  intptr_t OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) override;
  // Places every control at a DPI; the client height at 96 DPI.
  int Layout(uint32_t dpi);
  void Refresh();
  const Item* ItemOf(HWND control) const;

  EnvironmentDialog& model_;
  Win32WindowRegistry& windows_;
  uint32_t dpi_ = 96;
  int clientWidth96_ = 0, clientHeight96_ = 0;  // the client area at 96 DPI
  std::vector<Item> items_;
  std::array<HWND, 3> buttons_{};  // "中止", "一時使用", "保存"
  size_t fontsShown_ = 0;
  uint32_t fronted_ = 0;
};

}  // namespace corvid
