#pragma once
// The hidden main window: owns the notification icon and its popup menu,
// and hands the tray, menu and close messages to the program.
#include "base/main_window_queue_win32.h"
#include "base/window_win32.h"

namespace corvid {

class CorvidApp;

inline constexpr const wchar_t* kMainWindowClass = L"TForm1";

class MainWindowWin32 : private Win32Window {
 public:
  MainWindowWin32(CorvidApp& app, Win32Queue& queue, Win32WindowRegistry& windows);
  ~MainWindowWin32() override;

  // Creates the window (never shown) and adds the notification icon.
  bool Create();
  using Win32Window::Handle;

 private:
  intptr_t OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) override;
  void AddIcon();
  void RemoveIcon();
  void OpenMenu();
  // Lets go of everything, takes the icon away and ends the message loop.
  void Quit();

  CorvidApp& app_;
  Win32Queue& queue_;
  Win32WindowRegistry& windows_;
  unsigned taskbarCreated_ = 0;
  bool iconAdded_ = false;
};

}  // namespace corvid
