#include "ui/settings_window_win32.h"

#include <windows.h>

namespace corvid {
namespace {
constexpr UINT kRefresh = WM_APP + 23;
}  // namespace

SettingsWindowWin32::~SettingsWindowWin32() {
  windowModel_.onChange = nullptr;
  windows_.Remove(Handle());
}

void SettingsWindowWin32::Join(bool dialog, bool coalesced) {
  const HWND w = Handle();
  ReportPlace(w, windowModel_);
  if (coalesced) {
    windowModel_.onChange = [this] {
      // Closed: the window goes at once, not after what the closing does.
      if (Handle() && !windowModel_.Visible() && IsWindowVisible(Handle())) ShowWindow(Handle(), SW_HIDE);
      if (pending_ || !Handle()) return;
      pending_ = true;
      PostMessageW(Handle(), kRefresh, 0, 0);
    };
  } else {
    windowModel_.onChange = [this] { Show(); };
  }
  windows_.Add(w, dialog);
  Show();
}

void SettingsWindowWin32::Show() {
  pending_ = false;
  if (!Handle()) return;
  Refresh();
  FollowModel(Handle(), windowModel_, fronted_, tool_);
}

intptr_t SettingsWindowWin32::OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) {
  intptr_t result = 0;
  if (memo_ && memo_->Answer(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_CLOSE:
      UserClosed();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wp) != IDCANCEL) break;
      UserClosed();  // Esc: what the close box does
      return 0;
    case WM_MOVE:
      ReportPlace(Handle(), windowModel_);
      break;
    case WM_DPICHANGED:
      dpi_ = HIWORD(wp);
      Layout(dpi_);
      TakeSuggestedRect(Handle(), lp);
      return 0;
    default:
      if (msg == kRefresh) {
        Show();
        return 0;
      }
      break;
  }
  return Respond(msg, wp, lp);
}

}  // namespace corvid
