#include "app/main_window_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "app/corvid_app.h"
#include "base/text_win32.h"

namespace corvid {
MainWindowWin32::MainWindowWin32(CorvidApp& app, Win32Queue& queue, Win32WindowRegistry& windows)
    : app_(app), queue_(queue), windows_(windows) {}

MainWindowWin32::~MainWindowWin32() {
  if (iconAdded_) RemoveIcon();
  windows_.Remove(Handle());
  queue_.Attach(nullptr);
}

bool MainWindowWin32::Create() {
  RegisterWindowClass(kMainWindowClass, true);
  if (!CreateOf(kMainWindowClass, WS_EX_TOOLWINDOW, L"Corvid", WS_POPUP, 0, 0, 0, 0, nullptr)) return false;
  queue_.Attach(Handle());
  windows_.Add(Handle(), false);
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  AddIcon();
  return true;
}

void MainWindowWin32::AddIcon() {
  NOTIFYICONDATAA nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = Handle();
  nid.uID = kTrayIconId;
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = kTrayCallbackMessage;
  nid.hIcon = AppIcon(GetSystemMetrics(SM_CXSMICON));  // the notification area's size
  std::strncpy(nid.szTip, kTrayTip, sizeof nid.szTip - 1);
  iconAdded_ = Shell_NotifyIconA(NIM_ADD, &nid) != FALSE;
}

void MainWindowWin32::RemoveIcon() {
  NOTIFYICONDATAA nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = Handle();
  nid.uID = kTrayIconId;
  Shell_NotifyIconA(NIM_DELETE, &nid);
  iconAdded_ = false;
}

intptr_t MainWindowWin32::OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) {
  switch (msg) {
    case WM_COMMAND: {
      const unsigned id = LOWORD(wp);
      if (id >= kMenuCommandBase && id < kMenuCommandBase + app_.Menu().Entries().size())
        app_.RunTrayCommand(app_.Menu().Click(static_cast<MenuItem>(id - kMenuCommandBase)));
      return 0;
    }
    case WM_CLOSE:
      Quit();
      return 0;
    case WM_QUERYENDSESSION:
      // Logging off or a restart: nothing Corvid pressed may stay down,
      // whether or not the session really ends.
      app_.Form().ReleaseEverything();
      return TRUE;
    case WM_ENDSESSION:
      // The session ends: Corvid ends now, as by its quit command, rather
      // than wait, iconless, to be ended.
      if (wp) Quit();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  if (msg == kTrayCallbackMessage) {
    const TrayCommand command = TrayMenu::OnTrayMessage(static_cast<uint32_t>(lp));
    if (command == TrayCommand::OpenMenu) OpenMenu();
    else app_.RunTrayCommand(command);
    return Default(msg, wp, lp);
  }
  if (taskbarCreated_ && msg == taskbarCreated_) {
    // The shell restarted: without the icon the user could not reach Corvid.
    AddIcon();
    return 0;
  }
  return Default(msg, wp, lp);
}

void MainWindowWin32::Quit() {
  // A loop of the system's that Corvid started (a drag of the message, the
  // tray menu) must not outlive the quit: it would swallow the end.
  EndMenu();
  ReleaseCapture();
  RemoveIcon();
  app_.FormClose();
  DestroyWindow(Handle());
}

void MainWindowWin32::OpenMenu() {
  TrayMenu& model = app_.Menu();
  model.PopupMenu1Popup(app_.EditorVisible(), app_.LaunchSettingsVisible());
  HMENU menu = CreatePopupMenu();
  for (const MenuEntry& e : model.Entries()) {
    if (e.caption == "-") {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const UINT flags = MF_STRING | (e.checked ? MF_CHECKED : 0) | (e.enabled ? 0 : MF_GRAYED);
    AppendMenuW(menu, flags, MenuCommandId(e.item), Widen(e.caption).c_str());
  }
  POINT pt;
  GetCursorPos(&pt);
  SetForegroundWindow(Handle());
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, pt.x, pt.y, 0, Handle(), nullptr);
  PostMessageW(Handle(), WM_NULL, 0, 0);
  DestroyMenu(menu);
}

}  // namespace corvid
