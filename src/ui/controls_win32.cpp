#include "ui/controls_win32.h"

#include <windows.h>


#include "base/dpi_win32.h"
#include "base/text_win32.h"

namespace corvid {

namespace {

struct KindStyle {
  const wchar_t* cls;
  uint32_t style, exStyle;
};

KindStyle StyleOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label: return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::Edit: return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::ReadOnlyBox: return {L"EDIT", ES_READONLY, WS_EX_CLIENTEDGE};
    case ControlKind::Memo: return {L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0};
    case ControlKind::Check: return {L"BUTTON", WS_TABSTOP | BS_CHECKBOX, 0};
    case ControlKind::AutoCheck: return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case ControlKind::Radio: return {L"BUTTON", WS_TABSTOP | BS_RADIOBUTTON, 0};
    case ControlKind::Button: return {L"BUTTON", WS_TABSTOP, 0};
    case ControlKind::OwnerDrawButton: return {L"BUTTON", WS_TABSTOP | BS_OWNERDRAW, 0};
    case ControlKind::Group: return {L"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::DropDown: return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0};
    case ControlKind::DropList: return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case ControlKind::HorizontalBar: return {L"SCROLLBAR", WS_TABSTOP | SBS_HORZ, 0};
  }
  return {L"STATIC", 0, 0};
}

}  // namespace

HWND MakeControl(HWND parent, const ControlSpec& item) {
  const KindStyle k = StyleOf(item.kind);
  const uint32_t style = WS_CHILD | (item.hidden ? 0 : WS_VISIBLE) | k.style | item.style;
  return CreateWindowExW(k.exStyle, k.cls, Widen(item.caption.Get()).c_str(), style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<intptr_t>(item.id)), GetModuleHandleW(nullptr), nullptr);
}

void ControlSet::Make(HWND parent, std::span<const ControlSpec> specs) {
  for (const ControlSpec& item : specs) Add(parent, item);
}

HWND ControlSet::Add(HWND parent, const ControlSpec& item) {
  return made_.emplace_back(item, MakeControl(parent, item)).second;
}

void ControlSet::Place(uint32_t dpi, const wchar_t* face, int fontHeight) const {
  for (const auto& [item, control] : made_)
    PlaceControl(control, item.place, dpi, FaceFont(face, item.fontHeight ? item.fontHeight : fontHeight, dpi));
}

HWND ControlSet::operator[](int id) const {
  for (const auto& [item, control] : made_)
    if (item.id == id) return control;
  return nullptr;
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

intptr_t DefaultButtonAnswer(HWND window, int defaultId) {
  const HWND focus = GetFocus();
  if (focus && GetParent(focus) == window) {
    const LRESULT code = SendMessageW(focus, WM_GETDLGCODE, 0, 0);
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) return MAKELONG(GetDlgCtrlID(focus), DC_HASDEFID);
  }
  return defaultId ? MAKELONG(defaultId, DC_HASDEFID) : 0;
}

void FollowModel(HWND w, const WindowModel& model, uint32_t& fronted, bool tool) {
  const bool front = model.Visible() && model.FrontRequests() != fronted;
  // A minimised window asked to show comes back as it was first: shown or
  // fronted while iconic it would stay a button on the taskbar.
  if (IsIconic(w) && (front || (model.Visible() && !IsWindowVisible(w)))) ShowWindow(w, SW_RESTORE);
  RECT r;
  GetWindowRect(w, &r);
  const Bounds& want = model.Place();
  const bool sized = tool && want.width > 0 && want.height > 0 &&
                     (want.width != r.right - r.left || want.height != r.bottom - r.top);
  if (!IsIconic(w) && (want.left != r.left || want.top != r.top || sized))
    SetWindowPos(w, nullptr, want.left, want.top, want.width, want.height,
                 (sized ? 0 : SWP_NOSIZE) | SWP_NOZORDER | SWP_NOACTIVATE);
  if (model.Visible() != (IsWindowVisible(w) != FALSE))
    ShowWindow(w, !model.Visible() ? SW_HIDE : tool ? SW_SHOWNA : SW_SHOW);
  if (front) {
    fronted = model.FrontRequests();
    SetForegroundWindow(w);
  }
}

void SetChecked(HWND box, bool on) {
  if (box && IsChecked(box) != on) SendMessageW(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool IsChecked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

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

namespace {
constexpr UINT kMemoUpdate = WM_APP + 20;
}  // namespace

LogMemo::~LogMemo() { lines_.onChanged = nullptr; }

void LogMemo::Make(HWND parent, uint32_t style, bool black) {
  parent_ = parent;
  edit_ = MakeControl(parent, {ControlKind::Memo, 0, "", {}, style});
  if (black) black_.Reset(CreateSolidBrush(RGB(0, 0, 0)));
  sync_ = std::make_unique<MemoSync>(lines_, edit_);
  lines_.onChanged = [this] {
    if (pending_) return;
    pending_ = true;
    PostMessageW(parent_, kMemoUpdate, 0, 0);
  };
}

bool LogMemo::Answer(unsigned msg, uintptr_t wp, intptr_t lp, intptr_t& result) {
  if (msg == kMemoUpdate) {
    pending_ = false;
    if (sync_) sync_->Update();
    result = 0;
    return true;
  }
  if ((msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLOREDIT) && black_ && reinterpret_cast<HWND>(lp) == edit_) {
    SetTextColor(reinterpret_cast<HDC>(wp), RGB(230, 230, 230));
    SetBkColor(reinterpret_cast<HDC>(wp), RGB(0, 0, 0));
    result = reinterpret_cast<intptr_t>(black_.Get());
    return true;
  }
  return false;
}

}  // namespace corvid
