#include "ui/code_monitor_win32.h"

#include <windows.h>

#include "base/dpi_win32.h"
#include "base/text_win32.h"
#include "ui/controls_win32.h"

namespace corvid {
namespace {

constexpr UINT kMemoSync = WM_APP + 21;
constexpr UINT kMemoDoubleClick = WM_APP + 22;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

}  // namespace

MemoWindowWin32::MemoWindowWin32(WindowModel& model, LineView& lines, Win32WindowRegistry& windows)
    : model_(model), lines_(lines), windows_(windows) {}

MemoWindowWin32::~MemoWindowWin32() {
  lines_.onChanged = nullptr;
  model_.onChange = nullptr;
  windows_.Remove(Handle());
}

bool MemoWindowWin32::CreateWindowed(const wchar_t* cls, const std::string& caption, int width96, int height96,
                                     uint32_t memoStyle, int memoTop96) {
  RegisterWindowClass(cls, true);
  minWidth96_ = width96;
  minHeight96_ = height96;
  memoTop96_ = memoTop96;
  dpi_ = PrimaryMonitorDpi();
  if (!CreateOf(cls, WS_EX_TOOLWINDOW, Widen(caption).c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                ScaleToDpi(width96, dpi_), ScaleToDpi(height96, dpi_), nullptr))
    return false;
  dpi_ = WindowDpi(Handle());
  ReportPlace();  // the model's size is in 96-DPI pixels until the window tells it
  black_.Reset(CreateSolidBrush(RGB(0, 0, 0)));
  memo_ = MakeControl(Handle(), L"EDIT", "", WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | memoStyle, 0);
  LayoutChildren();
  sync_ = std::make_unique<MemoSync>(lines_, memo_);
  lines_.onChanged = [this] {
    if (pending_ || !Handle()) return;
    pending_ = true;
    PostMessageW(Handle(), kMemoSync, 0, 0);
  };
  model_.onChange = [this] { Refresh(); };
  windows_.Add(Handle(), false);
  Refresh();
  return true;
}

void MemoWindowWin32::ReportPlace() { corvid::ReportPlace(Handle(), model_); }

void MemoWindowWin32::LayoutChildren() {
  RECT c;
  GetClientRect(Handle(), &c);
  const int top = ScaleToDpi(memoTop96_, dpi_);
  SetWindowPos(memo_, nullptr, 0, top, c.right, c.bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(memo_, WM_SETFONT, reinterpret_cast<WPARAM>(FaceFont(L"メイリオ", 11, dpi_)), TRUE);
}

void MemoWindowWin32::Refresh() {
  const HWND w = Handle();
  if (!w) return;
  const Bounds& want = model_.Place();
  RECT r;
  GetWindowRect(w, &r);
  const bool sized = want.width > 0 && want.height > 0 &&
                     (want.width != r.right - r.left || want.height != r.bottom - r.top);
  if (want.left != r.left || want.top != r.top || sized)
    SetWindowPos(w, nullptr, want.left, want.top, want.width, want.height,
                 (sized ? 0 : SWP_NOSIZE) | SWP_NOZORDER | SWP_NOACTIVATE);
  if (model_.Visible() != (IsWindowVisible(w) != FALSE)) ShowWindow(w, model_.Visible() ? SW_SHOWNA : SW_HIDE);
}

intptr_t MemoWindowWin32::OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) {
  switch (msg) {
    case WM_CLOSE:
      UserClosed();
      return 0;
    case WM_MOVE:
    case WM_SIZE:
      ReportPlace();
      if (msg == WM_SIZE && memo_) LayoutChildren();
      break;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      info->ptMinTrackSize.x = ScaleToDpi(minWidth96_, dpi_);
      info->ptMinTrackSize.y = ScaleToDpi(minHeight96_, dpi_);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (blackMemo_ && reinterpret_cast<HWND>(lp) == memo_) {
        SetTextColor(reinterpret_cast<HDC>(wp), RGB(230, 230, 230));
        SetBkColor(reinterpret_cast<HDC>(wp), RGB(0, 0, 0));
        return reinterpret_cast<intptr_t>(black_.Get());
      }
      break;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wp);
      TakeSuggestedRect(Handle(), lp);
      LayoutChildren();
      return 0;
    }
    default:
      if (msg == kMemoSync) {
        pending_ = false;
        if (sync_) sync_->Update();
        return 0;
      }
      break;
  }
  return Default(msg, wp, lp);
}

CodeMonitorWin32::CodeMonitorWin32(CodeMonitor& model, Win32WindowRegistry& windows)
    : MemoWindowWin32(model, model.Memo1(), windows), monitor_(model) {}

bool CodeMonitorWin32::Create() {
  blackMemo_ = true;  // light text on black, no scroll bars
  return CreateWindowed(L"CodeMonitor", monitor_.Caption(), CodeMonitor::kWidth, CodeMonitor::kHeight, 0, 0);
}

DebugWindowWin32::DebugWindowWin32(DebugWindow& model, Win32WindowRegistry& windows)
    : MemoWindowWin32(model, model.Memo1(), windows), debug_(model) {}

bool DebugWindowWin32::Create() {
  if (!CreateWindowed(L"DebugWindow", debug_.Caption(), DebugWindow::kWidth, DebugWindow::kHeight, WS_VSCROLL, 28)) return false;
  edit1_ = MakeControl(Handle(), L"EDIT", "", WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL, 0, WS_EX_CLIENTEDGE);
  // A double click in the memo empties the trace.
  SetWindowLongPtrW(memo_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  memoProc_ = reinterpret_cast<decltype(memoProc_)>(
      SetWindowLongPtrW(memo_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DebugWindowWin32::MemoProc)));
  LayoutChildren();
  debug_.Edit1().onChanged = [this] { Refresh(); };
  Refresh();
  return true;
}

DebugWindowWin32::~DebugWindowWin32() { debug_.Edit1().onChanged = nullptr; }

intptr_t __stdcall DebugWindowWin32::MemoProc(HWND w, unsigned msg, uintptr_t wp, intptr_t lp) {
  auto* self = reinterpret_cast<DebugWindowWin32*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (self && msg == WM_LBUTTONDBLCLK) {
    PostMessageW(self->Handle(), kMemoDoubleClick, 0, 0);
    return 0;
  }
  return self ? CallWindowProcW(reinterpret_cast<WNDPROC>(self->memoProc_), w, msg, wp, lp)
              : DefWindowProcW(w, msg, wp, lp);
}

void DebugWindowWin32::LayoutChildren() {
  MemoWindowWin32::LayoutChildren();
  if (!edit1_) return;
  RECT c;
  GetClientRect(Handle(), &c);
  SetWindowPos(edit1_, nullptr, 0, 0, c.right, ScaleToDpi(26, Dpi()), SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(edit1_, WM_SETFONT, reinterpret_cast<WPARAM>(FaceFont(L"MS UI Gothic", 13, Dpi(), true)), TRUE);
  SendMessageW(memo_, WM_SETFONT, reinterpret_cast<WPARAM>(FaceFont(L"MS UI Gothic", 12, Dpi())), TRUE);
}

void DebugWindowWin32::Refresh() {
  MemoWindowWin32::Refresh();
  if (edit1_) SetControlText(edit1_, debug_.Edit1().Text());
}

intptr_t DebugWindowWin32::OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) {
  if (msg == kMemoDoubleClick) {
    debug_.Memo1DblClick();
    return 0;
  }
  return MemoWindowWin32::OnMessage(msg, wp, lp);
}

}  // namespace corvid
