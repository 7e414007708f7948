#include "app/main_window_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/corvid_app.h"
#include "base/handles_win32.h"
#include "base/text_win32.h"
#include "base/texts.h"

namespace corvid {
MainWindowWin32::MainWindowWin32(CorvidApp& app, Win32Queue& queue, Win32WindowRegistry& windows)
    : app_(app), queue_(queue), windows_(windows) {}

HICON GreyedIcon(HICON normal) {
  ICONINFO info{};
  if (!normal || !GetIconInfo(normal, &info)) return nullptr;
  // The icon's pictures are copies that are the caller's to delete.
  const GdiObject<HBITMAP> colourPicture(info.hbmColor), maskPicture(info.hbmMask);
  BITMAP bm{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
  const int w = bm.bmWidth, h = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> colour(size_t(w) * size_t(h)), mask(size_t(w) * size_t(h));
  const WindowDc dc(nullptr);
  bool ok = w > 0 && h > 0 && info.hbmColor &&
            GetDIBits(dc.Get(), info.hbmColor, 0, UINT(h), colour.data(), &bi, DIB_RGB_COLORS) == h &&
            GetDIBits(dc.Get(), info.hbmMask, 0, UINT(h), mask.data(), &bi, DIB_RGB_COLORS) == h;
  const bool hasAlpha = std::any_of(colour.begin(), colour.end(), [](uint32_t p) { return (p >> 24) != 0; });
  for (size_t i = 0; ok && i < colour.size(); ++i) {
    const uint32_t p = colour[i];
    // Without an alpha channel, the mask tells what is transparent.
    const uint32_t a = hasAlpha ? p >> 24 : ((mask[i] & 0xFFFFFF) ? 0 : 255);
    const uint32_t luma = (((p >> 16) & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + (p & 0xFF) * 11) / 100;
    // Lighter and flatter than the picture, and faded: no remote held.
    const uint32_t grey = 48 + luma * 3 / 4, faded = a * 7 / 10;
    // Premultiplied, as 32-bit icons are drawn.
    const uint32_t g = grey * faded / 255;
    colour[i] = (faded << 24) | (g << 16) | (g << 8) | g;
  }
  HICON grey = nullptr;
  if (ok) {
    void* bits = nullptr;
    // Not selected anywhere: the icon is made from a copy of it.
    const GdiObject<HBITMAP> section(CreateDIBSection(dc.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (section && bits) {
      std::memcpy(bits, colour.data(), colour.size() * sizeof(uint32_t));
      ICONINFO made{TRUE, 0, 0, info.hbmMask, section.Get()};
      grey = CreateIconIndirect(&made);
    }
  }
  return grey;
}

MainWindowWin32::~MainWindowWin32() {
  if (iconAdded_) RemoveIcon();
  if (grey_) DestroyIcon(grey_);
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

void MainWindowWin32::SetTip(const TrayStatus& status) {
  const std::wstring tip = Widen(status.Tip());
  const size_t n = std::min(tip.size(), std::size(nid_.szTip) - 1);
  std::wmemcpy(nid_.szTip, tip.data(), n);
  nid_.szTip[n] = 0;
}

void MainWindowWin32::AddIcon() {
  const TrayStatus& status = app_.Tray();
  nid_ = NOTIFYICONDATAW{};
  nid_.cbSize = sizeof nid_;
  nid_.hWnd = Handle();
  nid_.uID = kTrayIconId;
  nid_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
  nid_.uCallbackMessage = kTrayCallbackMessage;
  const HICON normal = AppIcon(GetSystemMetrics(SM_CXSMICON));  // the notification area's size
  if (grey_) DestroyIcon(grey_);
  grey_ = GreyedIcon(normal);
  nid_.hIcon = status.Greyed() && grey_ ? grey_ : normal;
  SetTip(status);
  iconAdded_ = Shell_NotifyIconW(NIM_ADD, &nid_) != FALSE;
}

void MainWindowWin32::ShowStatus(const TrayStatus& status, TrayStatus::Change change) {
  if (!Handle()) return;
  nid_.uFlags = 0;
  if (change.tip) {
    SetTip(status);
    nid_.uFlags |= NIF_TIP | NIF_SHOWTIP;
  }
  if (change.icon) {
    const HICON normal = AppIcon(GetSystemMetrics(SM_CXSMICON));
    nid_.hIcon = status.Greyed() && grey_ ? grey_ : normal;
    nid_.uFlags |= NIF_ICON;
  }
  if (change.balloon) {
    const std::wstring text = Widen(Text(TextId::BatteryLow));
    std::wmemcpy(nid_.szInfo, text.c_str(), text.size() + 1);
    std::wmemcpy(nid_.szInfoTitle, L"Corvid", 7);
    nid_.dwInfoFlags = NIIF_WARNING;
    nid_.uFlags |= NIF_INFO;
  }
  Shell_NotifyIconW(NIM_MODIFY, &nid_);
}

void MainWindowWin32::RemoveIcon() {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = Handle();
  nid.uID = kTrayIconId;
  Shell_NotifyIconW(NIM_DELETE, &nid);
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
      app_.Engine().ReleaseEverything();
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
  app_.OnMainWindowClose();
  DestroyWindow(Handle());
}

void MainWindowWin32::OpenMenu() {
  TrayMenu& model = app_.Menu();
  model.BeforePopup(app_.EditorVisible(), app_.LaunchSettingsVisible());
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
