#pragma once
// The hidden main window: forwards its messages to TForm1, owns the
// notification icon and its popup menu, and plays recorded sessions.
#include <functional>

#include "app/platform_win32.h"
#include "app/tform1.h"
#include "app/tray_menu.h"
#include "remote/recorded_session.h"

struct HINSTANCE__;
typedef HINSTANCE__* HINSTANCE;

namespace corvid {

inline constexpr const wchar_t* kMainWindowClass = L"TForm1";

class MainWindowWin32 {
 public:
  MainWindowWin32(HINSTANCE instance, TForm1& form, Win32TimerHost& timers, Win32Queue& queue);
  ~MainWindowWin32();

  // Creates the window (never shown) and adds the notification icon.
  bool Create();
  HWND Handle() const { return window_; }

  // Plays a session through the report handler on this thread, with its
  // waits on a message timer; optionally quits when it ends.
  void StartReplay(RecordedSession session, bool quitAfter);

  // "常駐解除(&Q)": closes the dialogs, then the main window.
  void Quit();

  // Hooks for windows that later parts of the program attach.
  std::function<void()> onClose;           // before the icon goes
  std::function<bool()> editorVisible = [] { return false; };
  std::function<bool()> launchSettingsVisible = [] { return false; };
  std::function<void(TrayCommand)> onCommand;  // commands for the dialogs

  TrayMenu& Menu() { return menu_; }

 private:
  static intptr_t __stdcall WindowProc(HWND w, unsigned msg, uintptr_t wp, intptr_t lp);
  intptr_t Handle(unsigned msg, uintptr_t wp, intptr_t lp);
  void AddIcon();
  void RemoveIcon();
  void OpenMenu();
  void Run(TrayCommand command);
  void ReplayStep();
  void FormClose();

  HINSTANCE instance_;
  TForm1& form_;
  Win32TimerHost& timers_;
  Win32Queue& queue_;
  HWND window_ = nullptr;
  unsigned taskbarCreated_ = 0;
  TrayMenu menu_;
  bool iconAdded_ = false;
  bool closed_ = false;

  RecordedSession replay_;
  size_t replayNext_ = 0;
  bool replayQuit_ = false;
};

}  // namespace corvid
