#pragma once
// The hidden main window: owns the notification icon and its popup menu,
// and hands the tray, menu and close messages to the program.
#include <windows.h>
#include <shellapi.h>

#include "app/tray_status.h"
#include "base/main_window_queue_win32.h"
#include "base/window_win32.h"

namespace corvid {

class CorvidApp;

// The icon as drawn while no remote is held: the same picture in grey and
// faded, made from the normal one at whatever size that was loaded. The
// caller destroys it.
HICON GreyedIcon(HICON normal);

// The main window's registered class name is the one every earlier Corvid
// had: installers, uninstallers and users' scripts find a running Corvid by
// it (with the title "Corvid").
inline constexpr const wchar_t* kMainWindowClass = L"TForm1";

class MainWindowWin32 : private Win32Window {
 public:
  MainWindowWin32(CorvidApp& app, Win32Queue& queue, Win32WindowRegistry& windows);
  ~MainWindowWin32() override;

  // Creates the window (never shown) and adds the notification icon.
  bool Create();
  using Win32Window::Handle;
  // The icon shows the remote's state anew: what `change` names.
  void ShowStatus(const TrayStatus& status, TrayStatus::Change change);
  // What the shell was last given: the tip, the icon, the balloon's text.
  const NOTIFYICONDATAW& IconData() const { return nid_; }
  bool IconGreyed() const { return nid_.hIcon && nid_.hIcon == grey_; }

 private:
  intptr_t OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) override;
  void AddIcon();
  void SetTip(const TrayStatus& status);
  void RemoveIcon();
  void OpenMenu();
  // Lets go of everything, takes the icon away and ends the message loop.
  void Quit();

  CorvidApp& app_;
  Win32Queue& queue_;
  Win32WindowRegistry& windows_;
  unsigned taskbarCreated_ = 0;
  bool iconAdded_ = false;
  NOTIFYICONDATAW nid_{};
  HICON grey_ = nullptr;
};

}  // namespace corvid
