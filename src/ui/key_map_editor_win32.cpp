#include "ui/key_map_editor_win32.h"

#include <windows.h>
#include <windowsx.h>

#include "base/dpi_win32.h"
#include "base/text_win32.h"
#include "remote/button_codes.h"

namespace corvid {
namespace {

constexpr const wchar_t* kEditorClass = L"KeyMapEditor";
constexpr const wchar_t* kBoxClass = L"CorvidKeyBox";
constexpr const wchar_t* kFace = L"MS UI Gothic";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The client area and the grid, at 96 DPI.
constexpr int kClientWidth = 640, kClientHeight = 624;
constexpr int kGridX = 8, kGridY = 100, kPitchX = 104, kPitchY = 40, kBoxWidth = 96, kBoxHeight = 22,
              kLabelHeight = 14;

// Where each button's box stands: row and column of the grid, laid out like
// the remote (the number pad and the colour keys, the shoulder buttons, the
// four-way pad with ENTER in its centre beside the face buttons, the mode
// buttons, the transport keys).
struct Cell {
  uint8_t code;
  int row, column;
};
constexpr Cell kCells[] = {
    {0x16, 0, 0}, {0x64, 0, 1}, {0x65, 0, 2}, {0x63, 0, 3}, {0x0F, 0, 4}, {0x28, 0, 5},
    {0x00, 1, 0}, {0x01, 1, 1}, {0x02, 1, 2}, {0x70, 1, 3}, {0x1A, 1, 4}, {0x40, 1, 5},
    {0x03, 2, 0}, {0x04, 2, 1}, {0x05, 2, 2}, {0x0E, 2, 3}, {0x80, 2, 4}, {0x81, 2, 5},
    {0x06, 3, 0}, {0x07, 3, 1}, {0x08, 3, 2}, {0x09, 3, 3}, {0x82, 3, 4}, {0x83, 3, 5},
    {0x5A, 4, 0}, {0x58, 4, 1}, {0x51, 4, 2}, {0x5B, 4, 3}, {0x59, 4, 4}, {0x52, 4, 5},
    {0x54, 5, 1}, {0x5C, 5, 4},
    {0x57, 6, 0}, {0x0B, 6, 1}, {0x55, 6, 2}, {0x5F, 6, 3}, {0x43, 6, 4}, {0x5D, 6, 5},
    {0x56, 7, 1}, {0x5E, 7, 4},
    {0x50, 8, 0}, {0x53, 8, 1},
    {0x30, 9, 0}, {0x31, 9, 1}, {0x32, 9, 2}, {0x39, 9, 3}, {0x38, 9, 4},
    {0x33, 10, 0}, {0x34, 10, 1}, {0x60, 10, 2}, {0x61, 10, 3},
};
static_assert(std::size(kCells) == KeyMapEditor::kBoxCount);

Rect96 BoxRect(const Cell& c) {
  return {kGridX + c.column * kPitchX, kGridY + c.row * kPitchY + kLabelHeight, kBoxWidth, kBoxHeight};
}
Rect96 LabelRect(const Cell& c) {
  return {kGridX + c.column * kPitchX, kGridY + c.row * kPitchY, kBoxWidth, kLabelHeight};
}

// No control has IDOK (1) or IDCANCEL (2): those are what Enter and Esc
// send, and no button here is meant for them.
enum Ids : int {
  kReload = 10, kUseNow, kSave, kKeyboard, kMouse, kReboot, kReset, kSuspend, kHibernate, kShutdown,
  kSendCode = 30, kIndexBox, kCodeBox, kMenuBase = 100,
};

constexpr int kFieldsY = kGridY + 11 * kPitchY + 8;
constexpr int kButtonsY = kFieldsY + 34;

using K = ControlKind;
using T = TextId;
// Below the grid: the selected box's fields, and the buttons.
const ControlSpec kFieldRows[] = {
    {K::Label, 0, T::EditorIndex, {8, kFieldsY + 3, 40, 16}, SS_RIGHT},
    {K::ReadOnlyBox, kIndexBox, "", {52, kFieldsY, 36, 22}, ES_CENTER},
    {K::Label, 0, T::EditorCode, {96, kFieldsY + 3, 40, 16}, SS_RIGHT},
    {K::ReadOnlyBox, kCodeBox, "", {140, kFieldsY, 80, 22}, ES_CENTER},
    {K::Label, 0, T::EditorSendCode, {228, kFieldsY + 3, 64, 16}, SS_RIGHT},
    {K::Edit, kSendCode, "", {296, kFieldsY, kClientWidth - 8 - 296, 22}},
    {K::Button, kReload, T::ButtonRevert, {8, kButtonsY, 96, 28}},
    {K::Button, kUseNow, T::ButtonUseNow, {112, kButtonsY, 96, 28}},
    {K::Button, kSave, T::ButtonSave, {216, kButtonsY, 96, 28}},
    {K::Button, kReset, T::ButtonCopyBasic, {8, kButtonsY, 96, 28}, 0, true},
    // The power buttons of the model, never shown.
    {K::Button, kSuspend, "Suspend", {}, 0, true},
    {K::Button, kHibernate, "Hibernate", {}, 0, true},
    {K::Button, kShutdown, "Shutdown", {}, 0, true},
    {K::Button, kReboot, "Reboot", {}, 0, true},
};

bool IsModeBox(uint8_t code) { return code == kButtonSelect || code == kButtonStart; }

}  // namespace

// One button's box: its action's text centred on its colour, the keys
// pressed while it has the focus, its clicks.
class KeyMapEditorWin32::KeyBox : public Win32Window {
 public:
  KeyBox(KeyMapEditorWin32& editor, uint8_t code) : editor_(editor), code_(code) {}
  // Named after its button, for screen readers and tests.
  bool Create(HWND parent) {
    return CreateOf(kBoxClass, 0, Widen(ButtonName(code_)).c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0,
                    parent);
  }
  uint8_t Code() const { return code_; }
  void Invalidate() { InvalidateRect(Handle(), nullptr, FALSE); }
  using Win32Window::Handle;

 private:
  intptr_t OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) override {
    KeyMapEditor& m = editor_.model_;
    switch (msg) {
      case WM_GETDLGCODE: {
        // Armed, every key is the capture's; otherwise the window's keys
        // (Tab, Esc, the arrows) keep their work, and Enter arms the box.
        if (m.CaptureArmed() && m.ArmedCode() == code_)
          return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
        const auto* key = reinterpret_cast<const MSG*>(lp);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
        return 0;
      }
      case WM_LBUTTONDOWN:
        SetFocus(Handle());
        m.BoxClicked(code_);
        return 0;
      case WM_LBUTTONDBLCLK: {
        const EditorMenu menu = m.DoubleClick(code_);
        if (menu != EditorMenu::None) editor_.OpenMenu(code_, menu);
        return 0;
      }
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        if (m.BoxKeyDown(code_, static_cast<uint16_t>(wp),
                         {GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0}))
          return 0;
        break;
      case WM_KEYUP:
      case WM_SYSKEYUP:
        if (m.KeyUp(code_, static_cast<uint16_t>(wp))) return 0;
        break;
      case WM_CHAR:
      case WM_SYSCHAR:
        if (m.CaptureArmed() && m.ArmedCode() == code_) return 0;  // a captured key is no typing
        break;
      case WM_SETFOCUS:
        Invalidate();
        return 0;
      case WM_KILLFOCUS:
        if (m.CaptureArmed() && m.ArmedCode() == code_) m.EndCapture();
        Invalidate();
        return 0;
      case WM_PAINT:
        Paint();
        return 0;
      default:
        break;
    }
    return Default(msg, wp, lp);
  }

  void Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT r;
    GetClientRect(Handle(), &r);
    const KeyMapEditor::Box& box = editor_.model_.BoxOf(code_);
    const GdiObject<HBRUSH> fill(CreateSolidBrush(box.colour));
    FillRect(dc, &r, fill.Get());
    const bool focused = GetFocus() == Handle();
    // Waiting for a key: a red frame; the keyboard focus: a blue one.
    const KeyMapEditor& m = editor_.model_;
    const bool armed = m.CaptureArmed() && m.ArmedCode() == code_;
    const GdiObject<HBRUSH> frame(
        CreateSolidBrush(armed ? RGB(220, 30, 30) : focused ? RGB(0, 90, 200) : RGB(128, 128, 128)));
    FrameRect(dc, &r, frame.Get());
    if (focused || armed) {
      RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
      FrameRect(dc, &inner, frame.Get());
    }
    // The text in the window's font, smaller when it would not fit.
    const std::wstring text = Widen(box.text);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT inside{r.left + 3, r.top, r.right - 3, r.bottom};
    {
      // The DC's own font goes back before the DC does.
      SelectedObject font;
      for (int height = 12; height >= 8; --height) {
        font.Select(dc, FaceFont(kFace, height, editor_.dpi_));
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        if (size.cx <= inside.right - inside.left || height == 8) break;
      }
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &inside,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    EndPaint(Handle(), &ps);
  }

  KeyMapEditorWin32& editor_;
  uint8_t code_;
};

KeyMapEditorWin32::KeyMapEditorWin32(KeyMapEditor& model, LineView& receiveLog, Win32WindowRegistry& windows)
    : SettingsWindowWin32(model, windows), model_(model), log_(receiveLog) {}

KeyMapEditorWin32::~KeyMapEditorWin32() {
  // The boxes go before the window, and a capture one of them ends on losing
  // the focus is no change to show.
  model_.onChange = nullptr;
}

bool KeyMapEditorWin32::Create() {
  RegisterWindowClass(kEditorClass, true);
  RegisterWindowClass(kBoxClass, false, CS_DBLCLKS);
  dpi_ = PrimaryMonitorDpi();
  int width = ScaleToDpi(kClientWidth, dpi_), height = ScaleToDpi(kClientHeight, dpi_);
  AdjustForDpi(width, height, kStyle, 0, dpi_);
  if (!CreateOf(kEditorClass, 0, Widen(model_.Caption()).c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT, width, height,
                nullptr))
    return false;
  dpi_ = WindowDpi(Handle());
  const HWND w = Handle();
  log_.Make(w, WS_VSCROLL, true);
  memo_ = &log_;
  for (const Cell& c : kCells) {
    if (IsModeBox(c.code)) {
      // SELECT and START switch the mode: buttons stand in their place.
      const bool keyboard = c.code == kButtonSelect;
      controls_.Add(w, {K::Button, keyboard ? kKeyboard : kMouse, keyboard ? T::ButtonKeyboard : T::ButtonMouse, BoxRect(c)});
    } else {
      boxes_.push_back(std::make_unique<KeyBox>(*this, c.code));
      boxes_.back()->Create(w);
    }
    controls_.Add(w, {K::Label, 0, ButtonName(c.code), LabelRect(c), SS_CENTER, false, 11});
  }
  controls_.Make(w, kFieldRows);
  Layout(dpi_);
  Join(true, false);
  return true;
}

HWND KeyMapEditorWin32::BoxWindow(uint8_t code) const {
  for (const auto& b : boxes_)
    if (b->Code() == code) return b->Handle();
  return nullptr;
}

void KeyMapEditorWin32::Layout(uint32_t dpi) {
  dpi_ = dpi;
  PlaceControl(log_.Handle(), {8, 8, kClientWidth - 16, 84}, dpi, FaceFont(kFace, 12, dpi));
  size_t box = 0;
  for (const Cell& c : kCells)
    if (!IsModeBox(c.code)) PlaceControl(boxes_[box++]->Handle(), BoxRect(c), dpi, nullptr);
  controls_.Place(dpi, kFace, 12);
}

void KeyMapEditorWin32::Refresh() {
  SetControlText(Handle(), model_.Caption());
  for (const auto& b : boxes_) b->Invalidate();
  SetControlText(controls_[kIndexBox], model_.IndexText);
  SetControlText(controls_[kCodeBox], model_.CodeText);
  const HWND sendCode = controls_[kSendCode];
  if (ControlText(sendCode) != model_.SendCodeText) {
    settingCode_ = true;
    SetControlText(sendCode, model_.SendCodeText);
    settingCode_ = false;
  }
  for (int id : {kReload, kUseNow, kSave})
    ShowWindow(controls_[id], model_.ReloadButtonsVisible ? SW_SHOWNA : SW_HIDE);
  ShowWindow(controls_[kReset], model_.ResetButtonVisible ? SW_SHOWNA : SW_HIDE);
}

void KeyMapEditorWin32::OpenMenu(uint8_t code, EditorMenu which) {
  if (which == EditorMenu::Mouse) model_.PrepareMouseMenu();
  const auto& items = which == EditorMenu::Mouse ? model_.MousePopupMenu() : model_.AppPopupMenu();
  auto build = [](const std::vector<EditorMenuItem>& list, auto& self) -> HMENU {
    HMENU menu = CreatePopupMenu();
    for (const EditorMenuItem& i : list) {
      if (i.caption == "-") {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      } else if (!i.items.empty()) {
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(self(i.items, self)), Widen(i.caption).c_str());
      } else {
        AppendMenuW(menu, MF_STRING | (i.enabled ? 0 : MF_GRAYED), kMenuBase + static_cast<UINT>(i.command),
                    Widen(i.caption).c_str());
      }
    }
    return menu;
  };
  HMENU menu = build(items, build);
  RECT box;
  GetWindowRect(BoxWindow(code), &box);
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN, box.left + ScaleToDpi(16, dpi_),
                                    box.bottom, 0, Handle(), nullptr);
  DestroyMenu(menu);
  if (chosen >= kMenuBase) model_.MenuClick(static_cast<EditorCommand>(chosen - kMenuBase));
}

intptr_t KeyMapEditorWin32::Respond(unsigned msg, uintptr_t wp, intptr_t lp) {
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) model_.Deactivated();
      break;
    case WM_ACTIVATEAPP:
      if (!wp) model_.ApplicationDeactivated();
      break;
    case DM_GETDEFID:
      // No default button: Enter presses only a button that has the focus.
      return DefaultButtonAnswer(Handle(), 0);
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      const int code = HIWORD(wp);
      const HWND sendCode = controls_[kSendCode];
      if (id == IDOK) {
        // Enter in the SendCode field applies it (it follows each key too).
        if (GetFocus() == sendCode) model_.SendCodeTyped(ControlText(sendCode));
        return 0;
      }
      if (id == kSendCode) {
        if (code == EN_SETFOCUS) model_.SendCodeFocused();
        if (code == EN_CHANGE && !settingCode_) model_.SendCodeTyped(ControlText(sendCode));
        return 0;
      }
      switch (id) {
        case kReload: model_.Reload(); return 0;
        case kUseNow: model_.UseNow(); return 0;
        case kSave: model_.Save(); return 0;
        case kKeyboard: model_.UseKeyboardMode(); return 0;
        case kMouse: model_.UseMouseMode(); return 0;
        case kReboot: model_.Reboot(); return 0;
        case kReset: model_.CopyBasicMap(); return 0;
        case kSuspend: model_.Suspend(); return 0;
        case kHibernate: model_.Hibernate(); return 0;
        case kShutdown: model_.ShutDown(); return 0;
        default: break;
      }
      break;
    }
    default:
      break;
  }
  return Default(msg, wp, lp);
}

}  // namespace corvid
