#include "ui/controls_win32.h"

#include <windows.h>

#include <algorithm>

#include "base/dpi_win32.h"
#include "base/text_win32.h"

namespace corvid {

HWND MakeControl(HWND parent, const wchar_t* cls, std::string_view text, uint32_t style, int id, uint32_t exStyle) {
  return CreateWindowExW(exStyle, cls, Widen(text).c_str(), WS_CHILD | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleW(nullptr), nullptr);
}

void PlaceControl(HWND control, const Rect96& r, uint32_t dpi, HFONT font) {
  if (!control) return;
  SetWindowPos(control, nullptr, ScaleToDpi(r.x, dpi), ScaleToDpi(r.y, dpi), ScaleToDpi(r.width, dpi),
               ScaleToDpi(r.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
  if (font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

std::string ControlText(HWND control) {
  const int n = GetWindowTextLengthW(control);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(control, w.data(), n + 1);
  w.resize(static_cast<size_t>(n));
  return Narrow(w);
}

void SetControlText(HWND control, std::string_view utf8) {
  if (control && ControlText(control) != utf8) SetWindowTextW(control, Widen(utf8).c_str());
}

void SetScrollBar(HWND bar, int min, int max, int position) {
  SCROLLINFO now{sizeof now, SIF_RANGE | SIF_POS, 0, 0, 0, 0, 0};
  if (!bar || (GetScrollInfo(bar, SB_CTL, &now) && now.nMin == min && now.nMax == max && now.nPos == position)) return;
  SCROLLINFO want{sizeof want, SIF_RANGE | SIF_POS, min, max, 0, position, 0};
  SetScrollInfo(bar, SB_CTL, &want, TRUE);
}

int ScrollRequest(HWND bar, uintptr_t wp, int smallStep, int largeStep) {
  SCROLLINFO s{sizeof s, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(bar, SB_CTL, &s);
  switch (LOWORD(wp)) {
    case SB_LINELEFT: return s.nPos - smallStep;
    case SB_LINERIGHT: return s.nPos + smallStep;
    case SB_PAGELEFT: return s.nPos - largeStep;
    case SB_PAGERIGHT: return s.nPos + largeStep;
    case SB_THUMBTRACK:
    // The message's own 16 bits, signed: a position set by a sent message
    // has no tracking position, and every range here fits.
    case SB_THUMBPOSITION: return static_cast<int16_t>(HIWORD(wp));
    case SB_LEFT: return s.nMin;
    case SB_RIGHT: return s.nMax;
    default: return s.nPos;
  }
}

void ReportPlace(HWND w, WindowModel& model) {
  if (IsIconic(w)) return;  // the model keeps the place it is restored to
  RECT r;
  GetWindowRect(w, &r);
  model.Moved({r.left, r.top, r.right - r.left, r.bottom - r.top});
}

void TakeSuggestedRect(HWND w, intptr_t lp) {
  const auto* r = reinterpret_cast<const RECT*>(lp);
  SetWindowPos(w, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool AnswerSettingsWindowMessage(HWND window, WindowModel& model, unsigned msg, uintptr_t wp, intptr_t lp,
                                 const std::function<void()>& close, const std::function<void(uint32_t)>& layout) {
  switch (msg) {
    case WM_CLOSE:
      close();
      return true;
    case WM_COMMAND:
      if (LOWORD(wp) != IDCANCEL) return false;
      close();  // Esc: what the close box does
      return true;
    case WM_MOVE:
      ReportPlace(window, model);
      return false;
    case WM_DPICHANGED:
      layout(HIWORD(wp));
      TakeSuggestedRect(window, lp);
      return true;
    default:
      return false;
  }
}

intptr_t DefaultButtonAnswer(HWND window, int defaultId) {
  const HWND focus = GetFocus();
  if (focus && GetParent(focus) == window) {
    const LRESULT code = SendMessageW(focus, WM_GETDLGCODE, 0, 0);
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) return MAKELONG(GetDlgCtrlID(focus), DC_HASDEFID);
  }
  return defaultId ? MAKELONG(defaultId, DC_HASDEFID) : 0;
}

void FollowModel(HWND w, const WindowModel& model, uint32_t& fronted) {
  const bool front = model.Visible() && model.FrontRequests() != fronted;
  // A minimised window asked to show comes back as it was first: shown or
  // fronted while iconic it would stay a button on the taskbar.
  if (IsIconic(w) && (front || (model.Visible() && !IsWindowVisible(w)))) ShowWindow(w, SW_RESTORE);
  RECT r;
  GetWindowRect(w, &r);
  const Bounds& want = model.Place();
  if (!IsIconic(w) && (want.left != r.left || want.top != r.top))
    SetWindowPos(w, nullptr, want.left, want.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (model.Visible() != (IsWindowVisible(w) != FALSE)) ShowWindow(w, model.Visible() ? SW_SHOW : SW_HIDE);
  if (front) {
    fronted = model.FrontRequests();
    SetForegroundWindow(w);
  }
}

void SetChecked(HWND box, bool on) {
  if (box && IsChecked(box) != on) SendMessageW(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool IsChecked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void ValueBar::Make(HWND parent, std::string_view caption, int barId, int valueId) {
  label = MakeControl(parent, L"STATIC", caption, WS_VISIBLE | SS_NOPREFIX, 0);
  bar = MakeControl(parent, L"SCROLLBAR", "", WS_VISIBLE | WS_TABSTOP | SBS_HORZ, barId);
  value = MakeControl(parent, L"EDIT", "", WS_VISIBLE | ES_READONLY | ES_CENTER, valueId, WS_EX_CLIENTEDGE);
}

void ValueBar::Place(const Rect96& row, int labelWidth, int valueWidth, uint32_t dpi, HFONT font) const {
  constexpr int kGap = 4, kLabelHeight = 16, kBarHeight = 17;
  PlaceControl(label, {row.x, row.y + (row.height - kLabelHeight) / 2, labelWidth, kLabelHeight}, dpi, font);
  const int barX = row.x + labelWidth + kGap, valueX = row.x + row.width - valueWidth;
  PlaceControl(bar, {barX, row.y + (row.height - kBarHeight) / 2, valueX - kGap - barX, kBarHeight}, dpi, nullptr);
  PlaceControl(value, {valueX, row.y, valueWidth, row.height}, dpi, font);
}

void ValueBar::Show(int32_t min, int32_t max, int32_t position, std::string_view valueText) const {
  SetScrollBar(bar, min, max, position);
  SetControlText(value, valueText);
}

int32_t ValueBar::Requested(uintptr_t wp, int32_t lineStep, int32_t pageStep) const {
  SCROLLINFO range{sizeof range, SIF_RANGE, 0, 0, 0, 0, 0};
  GetScrollInfo(bar, SB_CTL, &range);
  return std::clamp(ScrollRequest(bar, wp, lineStep, pageStep), range.nMin, std::max(range.nMin, range.nMax));
}

namespace {
constexpr size_t kDropChunk = 256;
}  // namespace

MemoSync::MemoSync(LineView& view, HWND edit) : view_(view), edit_(edit) {
  SendMessageW(edit_, EM_SETLIMITTEXT, 0, 0);  // the view decides how much is kept
  Rebuild();
}

void MemoSync::Rebuild() {
  std::string text;
  for (size_t i = 0; i < view_.Size(); ++i) {
    if (i) text += "\r\n";
    text += view_.Line(i);
  }
  SetWindowTextW(edit_, Widen(text).c_str());
  shown_ = view_.Size();
  appended_ = view_.Appended();
  clears_ = view_.Clears();
}

void MemoSync::Update() {
  const uint64_t added = view_.Appended() - appended_;
  if (view_.Clears() != clears_ || added > view_.Size()) {
    Rebuild();
  } else if (added > 0) {
    std::string text;
    for (size_t i = view_.Size() - static_cast<size_t>(added); i < view_.Size(); ++i) {
      if (shown_ > 0 || !text.empty()) text += "\r\n";
      text += view_.Line(i);
    }
    const int end = GetWindowTextLengthW(edit_);
    SendMessageW(edit_, EM_SETSEL, end, end);
    SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(Widen(text).c_str()));
    shown_ += static_cast<size_t>(added);
    if (shown_ > view_.Size() + kDropChunk) {
      // The view has let its oldest lines go: so does the control, a chunk at
      // a time, since cutting the top re-lays the whole text out.
      const auto drop = static_cast<WPARAM>(shown_ - view_.Size());
      const LRESULT upTo = SendMessageW(edit_, EM_LINEINDEX, drop, 0);
      if (upTo > 0) {
        SendMessageW(edit_, EM_SETSEL, 0, upTo);
        SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
      }
      shown_ = view_.Size();
    }
    appended_ = view_.Appended();
  }
  const int end = GetWindowTextLengthW(edit_);
  SendMessageW(edit_, EM_SETSEL, end, end);
  SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
}

}  // namespace corvid
