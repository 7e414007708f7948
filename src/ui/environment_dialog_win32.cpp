#include "ui/environment_dialog_win32.h"

#include <windows.h>

#include <algorithm>

#include "base/dpi_win32.h"
#include "base/handles_win32.h"
#include "base/text_win32.h"

namespace corvid {
namespace {

using C = EnvironmentControl;

constexpr const wchar_t* kClass = L"EnvironmentDialog";
constexpr const wchar_t* kFace = L"ＭＳ Ｐゴシック";
constexpr int kFontHeight = 12;  // 9 points at 96 DPI
// A dialog of a fixed size: only the system menu among the frame's buttons.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

// The layout at 96 DPI: the groups stacked, a row per control, the buttons
// at the bottom.
constexpr int kGroupX = 6, kGroupGap = 4;
constexpr int kGroupTop = 18, kGroupBottom = 6;  // caption above the first row, room below the last
constexpr int kInsetX = 12;
constexpr int kCheckHeight = 18, kCheckPitch = 20;
constexpr int kBarHeight = 20, kBarPitch = 24, kLabelWidth = 160, kValueWidth = 48;
constexpr int kComboPitch = 26, kComboDrop = 220;
constexpr int kSwatchWidth = 42, kSwatchHeight = 18, kSwatchPitch = 100, kSwatchLabel = 22;
constexpr int kButtonWidth = 80, kButtonHeight = 26, kButtonGap = 8;

// Not IDOK (1) or IDCANCEL (2): Enter is "保存", the default, and Esc is the
// close box.
enum Ids : int { kButton3 = 10, kButton1, kButton2, kItemBase = 100 };

}  // namespace

EnvironmentDialogWin32::EnvironmentDialogWin32(EnvironmentDialog& model, Win32WindowRegistry& windows)
    : model_(model), windows_(windows) {}

EnvironmentDialogWin32::~EnvironmentDialogWin32() {
  model_.onChange = nullptr;
  windows_.Remove(Handle());
}

bool EnvironmentDialogWin32::Create() {
  RegisterWindowClass(kClass, true);
  if (!CreateOf(kClass, 0, Widen(model_.Caption()).c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr))
    return false;
  dpi_ = WindowDpi(Handle());
  const HWND w = Handle();
  int id = kItemBase;
  for (const EnvironmentControl& c : EnvironmentDialog::Controls()) {
    Item item;
    item.def = &c;
    switch (c.kind) {
      case C::Group:
        item.control = MakeControl(w, L"BUTTON", c.caption, WS_VISIBLE | BS_GROUPBOX, 0);
        // Beneath the controls it frames, which draw over it.
        SetWindowPos(item.control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        break;
      case C::Check:
        item.control = MakeControl(w, L"BUTTON", c.caption, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, id);
        break;
      case C::Bar:
        item.bar.Make(w, c.caption, id, id + kValueBoxIds);
        item.control = item.bar.bar;
        break;
      case C::Font:
        item.label = MakeControl(w, L"STATIC", c.caption, WS_VISIBLE | SS_NOPREFIX, 0);
        item.control = MakeControl(w, L"COMBOBOX", "", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                                   id);
        break;
      case C::Swatch:
        item.label = MakeControl(w, L"STATIC", c.caption, WS_VISIBLE | SS_NOPREFIX, 0);
        // A button drawn as the swatch: Tab reaches it and Space opens the chooser.
        item.control = MakeControl(w, L"BUTTON", "", WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, id);
        break;
    }
    items_.push_back(item);
    ++id;
  }
  buttons_ = {MakeControl(w, L"BUTTON", "中止", WS_VISIBLE | WS_TABSTOP, kButton3),
              MakeControl(w, L"BUTTON", "一時使用", WS_VISIBLE | WS_TABSTOP, kButton1),
              MakeControl(w, L"BUTTON", "保存", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, kButton2)};
  // The form's size at 96 DPI is the whole window's: the client area is
  // what the frame leaves of it.
  int frameWidth = 0, frameHeight = 0;
  AdjustForDpi(frameWidth, frameHeight, kStyle, 0, 96);
  clientWidth96_ = EnvironmentDialog::kWidth - frameWidth;
  clientHeight96_ = EnvironmentDialog::kHeight - frameHeight;
  int width = ScaleToDpi(clientWidth96_, dpi_), height = ScaleToDpi(std::max<int>(Layout(dpi_), clientHeight96_), dpi_);
  AdjustForDpi(width, height, kStyle, 0, dpi_);
  SetWindowPos(w, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  model_.onChange = [this] { Refresh(); };
  ReportPlace(w, model_);
  windows_.Add(w, true);
  Refresh();
  return true;
}

int EnvironmentDialogWin32::ControlId(EnvironmentControl::Kind kind, int number) {
  int id = kItemBase;
  for (const EnvironmentControl& c : EnvironmentDialog::Controls()) {
    if (c.kind == kind && c.number == number) return id;
    ++id;
  }
  return 0;
}

const EnvironmentDialogWin32::Item* EnvironmentDialogWin32::ItemOf(HWND control) const {
  for (const Item& i : items_)
    if (control && i.control == control) return &i;
  return nullptr;
}

int EnvironmentDialogWin32::Layout(uint32_t dpi) {
  dpi_ = dpi;
  HFONT font = FaceFont(kFace, kFontHeight, dpi);
  const int groupWidth = clientWidth96_ - 2 * kGroupX, rowWidth = groupWidth - 2 * kInsetX;
  const int x = kGroupX + kInsetX;
  int y = 0;
  HWND group = nullptr;
  int groupTop = 0;
  auto closeGroup = [&] {
    if (!group) return;
    y += kGroupBottom;
    PlaceControl(group, {kGroupX, groupTop, groupWidth, y - groupTop}, dpi, font);
  };
  for (const Item& i : items_) {
    switch (i.def->kind) {
      case C::Group:
        closeGroup();
        group = i.control;
        groupTop = y + kGroupGap;
        y = groupTop + kGroupTop;
        break;
      case C::Check:
        PlaceControl(i.control, {x, y, rowWidth, kCheckHeight}, dpi, font);
        y += kCheckPitch;
        break;
      case C::Bar:
        i.bar.Place({x, y, rowWidth, kBarHeight}, kLabelWidth, kValueWidth, dpi, font);
        y += kBarPitch;
        break;
      case C::Font:
        PlaceControl(i.label, {x, y + 4, kLabelWidth, 16}, dpi, font);
        PlaceControl(i.control, {x + kLabelWidth + 4, y, rowWidth - kLabelWidth - 4, kComboDrop}, dpi, font);
        y += kComboPitch;
        break;
      case C::Swatch: {
        // Both swatches in one row.
        const int at = x + (i.def->number - 1) * kSwatchPitch;
        PlaceControl(i.label, {at, y + 2, kSwatchLabel, 16}, dpi, font);
        PlaceControl(i.control, {at + kSwatchLabel + 4, y, kSwatchWidth, kSwatchHeight}, dpi, nullptr);
        if (i.def->number == 2) y += kSwatchHeight + 6;
        break;
      }
    }
  }
  closeGroup();
  // The buttons keep to the bottom edge.
  y = std::max(y + 8, clientHeight96_ - 8 - kButtonHeight);
  for (size_t b = 0; b < buttons_.size(); ++b) {
    const int left = clientWidth96_ - kGroupX - int(buttons_.size() - b) * (kButtonWidth + kButtonGap) + kButtonGap;
    PlaceControl(buttons_[b], {left, y, kButtonWidth, kButtonHeight}, dpi, font);
  }
  return y + kButtonHeight + 8;
}

void EnvironmentDialogWin32::Refresh() {
  const HWND w = Handle();
  if (!w) return;
  for (const Item& i : items_) {
    const int n = i.def->number;
    switch (i.def->kind) {
      case C::Bar: {
        const EnvironmentDialog::ScrollBar& b = model_.Bar(n);
        i.bar.Show(b.min, b.max, b.position, model_.ValueBox(n));
        break;
      }
      case C::Check:
        SetChecked(i.control, model_.Checked(n));
        break;
      case C::Font:
        if (fontsShown_ != model_.ComboBox1Items().size()) {
          SendMessageW(i.control, CB_RESETCONTENT, 0, 0);
          for (const std::string& face : model_.ComboBox1Items())
            SendMessageW(i.control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(face).c_str()));
          fontsShown_ = model_.ComboBox1Items().size();
        }
        SetControlText(i.control, model_.ComboBox1Text());
        break;
      case C::Swatch:
        InvalidateRect(i.control, nullptr, FALSE);
        break;
      case C::Group:
        break;
    }
  }
  FollowModel(w, model_, fronted_);
}

intptr_t EnvironmentDialogWin32::OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) {
  if (AnswerSettingsWindowMessage(Handle(), model_, msg, wp, lp, [this] { model_.Close(); },
                                  [this](uint32_t dpi) { Layout(dpi); }))
    return 0;
  switch (msg) {
    case DM_GETDEFID:
      return DefaultButtonAnswer(Handle(), kButton2);
    case WM_HSCROLL:
      if (const Item* i = ItemOf(reinterpret_cast<HWND>(lp)); i && i->def->kind == C::Bar) {
        const int n = i->def->number;
        const int32_t to = i->bar.Requested(wp, 1, model_.Bar(n).largeChange);
        // Like the bar's own change event: only a position that moves.
        if (to != model_.Bar(n).position) model_.ScrollBarChange(n, to);
        return 0;
      }
      break;
    case WM_DRAWITEM: {
      const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      const Item* i = ItemOf(d->hwndItem);
      if (!i || i->def->kind != C::Swatch) break;
      const GdiObject<HBRUSH> fill(CreateSolidBrush(model_.SwatchColour(i->def->number)));
      FillRect(d->hDC, &d->rcItem, fill.Get());
      FrameRect(d->hDC, &d->rcItem, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
      if (d->itemState & ODS_FOCUS) {
        RECT around = d->rcItem;
        InflateRect(&around, -2, -2);
        DrawFocusRect(d->hDC, &around);
      }
      return TRUE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wp), code = HIWORD(wp);
      switch (id) {
        case kButton3: model_.Cancel(); return 0;
        case kButton1: model_.UseNow(); return 0;
        case kButton2: model_.Save(); return 0;
        default: break;
      }
      const Item* i = ItemOf(reinterpret_cast<HWND>(lp));
      if (!i) break;
      const int n = i->def->number;
      if (i->def->kind == C::Check && code == BN_CLICKED) model_.CheckBoxClick(n, IsChecked(i->control));
      if (i->def->kind == C::Swatch && code == BN_CLICKED) model_.SwatchClick(n);
      if (i->def->kind == C::Font && code == CBN_EDITCHANGE) model_.ComboBox1Change(ControlText(i->control));
      if (i->def->kind == C::Font && code == CBN_SELCHANGE) {
        // The box's text follows the list only after this notice.
        const LRESULT sel = SendMessageW(i->control, CB_GETCURSEL, 0, 0);
        const auto& items = model_.ComboBox1Items();
        if (sel >= 0 && static_cast<size_t>(sel) < items.size()) model_.ComboBox1Change(items[static_cast<size_t>(sel)]);
      }
      return 0;
    }
    default:
      break;
  }
  return Default(msg, wp, lp);
}

}  // namespace corvid
