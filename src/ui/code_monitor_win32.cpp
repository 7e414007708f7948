#include "ui/code_monitor_win32.h"

#include <windows.h>

#include "base/dpi_win32.h"
#include "base/text_win32.h"

namespace corvid {
namespace {

constexpr UINT kMemoDoubleClick = WM_APP + 22;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

}  // namespace

bool MemoWindowWin32::CreateWindowed(const wchar_t* cls, const std::string& caption, int width96, int height96,
                                     uint32_t memoStyle, bool black, int memoTop96) {
  RegisterWindowClass(cls, true);
  minWidth96_ = width96;
  minHeight96_ = height96;
  memoTop96_ = memoTop96;
  tool_ = true;
  dpi_ = PrimaryMonitorDpi();
  if (!CreateOf(cls, WS_EX_TOOLWINDOW, Widen(caption).c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                ScaleToDpi(width96, dpi_), ScaleToDpi(height96, dpi_), nullptr))
    return false;
  dpi_ = WindowDpi(Handle());
  ReportPlace(Handle(), windowModel_);  // the model's size is in 96-DPI pixels until the window tells it
  log_.Make(Handle(), memoStyle, black);
  memo_ = &log_;
  return true;
}

void MemoWindowWin32::Layout(uint32_t dpi) {
  RECT c;
  GetClientRect(Handle(), &c);
  const int top = ScaleToDpi(memoTop96_, dpi);
  SetWindowPos(log_.Handle(), nullptr, 0, top, c.right, c.bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(log_.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FaceFont(L"メイリオ", 11, dpi)), TRUE);
}

intptr_t MemoWindowWin32::Respond(unsigned msg, uintptr_t wp, intptr_t lp) {
  switch (msg) {
    case WM_SIZE:
      ReportPlace(Handle(), windowModel_);
      if (log_.Handle()) Layout(dpi_);
      break;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      info->ptMinTrackSize.x = ScaleToDpi(minWidth96_, dpi_);
      info->ptMinTrackSize.y = ScaleToDpi(minHeight96_, dpi_);
      return 0;
    }
    default:
      break;
  }
  return Default(msg, wp, lp);
}

bool CodeMonitorWin32::Create() {
  // Light text on black, no scroll bars.
  if (!CreateWindowed(L"CodeMonitor", monitor_.Caption(), CodeMonitor::kWidth, CodeMonitor::kHeight, 0, true, 0))
    return false;
  Layout(dpi_);
  Join(false, false);
  return true;
}

bool DebugWindowWin32::Create() {
  if (!CreateWindowed(L"DebugWindow", debug_.Caption(), DebugWindow::kWidth, DebugWindow::kHeight, WS_VSCROLL, false,
                      28))
    return false;
  match_ = MakeControl(Handle(), {ControlKind::ReadOnlyBox, 0, "", {}, ES_AUTOHSCROLL});
  // A double click in the memo empties the trace.
  SetWindowLongPtrW(log_.Handle(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  memoProc_ = reinterpret_cast<decltype(memoProc_)>(
      SetWindowLongPtrW(log_.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DebugWindowWin32::MemoProc)));
  Layout(dpi_);
  debug_.Match().onChanged = [this] { Refresh(); };
  Join(false, false);
  return true;
}

DebugWindowWin32::~DebugWindowWin32() { debug_.Match().onChanged = nullptr; }

intptr_t __stdcall DebugWindowWin32::MemoProc(HWND w, unsigned msg, uintptr_t wp, intptr_t lp) {
  auto* self = reinterpret_cast<DebugWindowWin32*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (self && msg == WM_LBUTTONDBLCLK) {
    PostMessageW(self->Handle(), kMemoDoubleClick, 0, 0);
    return 0;
  }
  return self ? CallWindowProcW(reinterpret_cast<WNDPROC>(self->memoProc_), w, msg, wp, lp)
              : DefWindowProcW(w, msg, wp, lp);
}

void DebugWindowWin32::Layout(uint32_t dpi) {
  MemoWindowWin32::Layout(dpi);
  if (!match_) return;
  RECT c;
  GetClientRect(Handle(), &c);
  SetWindowPos(match_, nullptr, 0, 0, c.right, ScaleToDpi(26, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(match_, WM_SETFONT, reinterpret_cast<WPARAM>(FaceFont(L"MS UI Gothic", 13, dpi, true)), TRUE);
  SendMessageW(log_.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FaceFont(L"MS UI Gothic", 12, dpi)), TRUE);
}

void DebugWindowWin32::Refresh() {
  if (match_) SetControlText(match_, debug_.Match().Text());
}

intptr_t DebugWindowWin32::Respond(unsigned msg, uintptr_t wp, intptr_t lp) {
  if (msg == kMemoDoubleClick) {
    debug_.ClearTrace();
    return 0;
  }
  return MemoWindowWin32::Respond(msg, wp, lp);
}

}  // namespace corvid
