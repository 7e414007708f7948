#pragma once
// What the settings windows answer alike: the close box and Esc close
// through the model, a move is told to the model, a DPI change lays the
// window out anew in the rectangle the system suggests, the model's changes
// are shown (at once, or once after a burst), and the window follows the
// model's place and visibility. A window with a log memo has it answered
// here too.
#include <cstdint>

#include "base/window_win32.h"
#include "ui/controls_win32.h"
#include "ui/window_model.h"

namespace corvid {

class SettingsWindowWin32 : protected Win32Window {
 public:
  using Win32Window::Handle;

 protected:
  SettingsWindowWin32(WindowModel& model, Win32WindowRegistry& windows) : windowModel_(model), windows_(windows) {}
  ~SettingsWindowWin32() override;

  // Once the window and its controls exist: the model hears where it is,
  // its changes reach the window, the pump knows it, and it is shown as the
  // model has it. `dialog`: Tab, Enter and Esc work in it; `coalesced`: a
  // burst of changes is shown once, after it.
  void Join(bool dialog, bool coalesced);
  // The user closed the window (close box, Esc).
  virtual void UserClosed() = 0;
  // Every control at its place at `dpi`.
  virtual void Layout(uint32_t dpi) = 0;
  // The controls from the model.
  virtual void Refresh() = 0;
  // The messages the window answers in its own way (after the shared ones,
  // a move still reaching it); Default for the rest.
  virtual intptr_t Respond(unsigned msg, uintptr_t wp, intptr_t lp) { return Default(msg, wp, lp); }

  WindowModel& windowModel_;
  Win32WindowRegistry& windows_;
  uint32_t dpi_ = 96;
  LogMemo* memo_ = nullptr;  // the window's log, if it has one
  bool tool_ = false;        // the model decides the size as well; shown without activation

 private:
  intptr_t OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) final;
  void Show();
  uint32_t fronted_ = 0;
  bool pending_ = false;
};

}  // namespace corvid
