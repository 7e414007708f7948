#include "ui/environment_dialog_win32.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "base/dpi_win32.h"
#include "base/text_win32.h"

namespace corvid {
namespace {

using C = EnvironmentControl;
using K = ControlKind;
using T = TextId;

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
constexpr int kBarRowHeight = 20, kBarPitch = 24, kLabelWidth = 160, kValueWidth = 48;
constexpr int kBarGap = 4, kBarLabelHeight = 16, kBarHeight = 17;
constexpr int kComboPitch = 26, kComboDrop = 220;
constexpr int kSwatchWidth = 42, kSwatchHeight = 18, kSwatchPitch = 100, kSwatchLabel = 22;
constexpr int kButtonWidth = 80, kButtonHeight = 26, kButtonGap = 8;

// Not IDOK (1) or IDCANCEL (2): Enter is "保存", the default, and Esc is the
// close box.
enum Ids : int { kCancel = 10, kUseNow, kSave, kRowBase = 100 };

// The controls of the model's rows, in its order, placed in a client area
// of `width` by at least `height`; `height` becomes the height they need.
std::vector<ControlSpec> Specs(int width, int& height) {
  std::vector<ControlSpec> out;
  const int groupWidth = width - 2 * kGroupX, rowWidth = groupWidth - 2 * kInsetX;
  const int x = kGroupX + kInsetX;
  int y = 0, groupTop = 0, swatches = 0;
  size_t group = 0;
  auto closeGroup = [&] {
    if (out.empty()) return;
    y += kGroupBottom;
    out[group].place = {kGroupX, groupTop, groupWidth, y - groupTop};
  };
  int id = kRowBase;
  for (const EnvironmentControl& c : EnvironmentDialog::Controls()) {
    switch (c.kind) {
      case C::Group:
        closeGroup();
        group = out.size();
        out.push_back({K::Group, 0, c.caption});
        groupTop = y + kGroupGap;
        y = groupTop + kGroupTop;
        break;
      case C::Check:
        out.push_back({K::AutoCheck, id, c.caption, {x, y, rowWidth, kCheckHeight}});
        y += kCheckPitch;
        break;
      case C::Bar: {
        // The label on the left, the box with the value on the right.
        const int barX = x + kLabelWidth + kBarGap, valueX = x + rowWidth - kValueWidth;
        out.push_back({K::Label, 0, c.caption,
                       {x, y + (kBarRowHeight - kBarLabelHeight) / 2, kLabelWidth, kBarLabelHeight}});
        out.push_back({K::HorizontalBar, id, "",
                       {barX, y + (kBarRowHeight - kBarHeight) / 2, valueX - kBarGap - barX, kBarHeight}});
        out.push_back({K::ReadOnlyBox, id + EnvironmentDialogWin32::kValueBoxIds, "",
                       {valueX, y, kValueWidth, kBarRowHeight}, ES_CENTER});
        y += kBarPitch;
        break;
      }
      case C::Font:
        out.push_back({K::Label, 0, c.caption, {x, y + 4, kLabelWidth, 16}});
        out.push_back({K::DropDown, id, "", {x + kLabelWidth + 4, y, rowWidth - kLabelWidth - 4, kComboDrop}});
        y += kComboPitch;
        break;
      case C::Language:
        // The list, and under it when the choice takes effect.
        out.push_back({K::Label, 0, c.caption, {x, y + 4, kLabelWidth / 2, 16}});
        out.push_back({K::DropList, id, "", {x + kLabelWidth / 2 + 4, y, 100, 120}});
        y += kComboPitch;
        out.push_back({K::Label, 0, T::EnvLanguageNextStart, {x + kLabelWidth / 2 + 4, y, rowWidth - kLabelWidth / 2 - 4, 16}});
        y += kCheckPitch;
        break;
      case C::Swatch: {
        // Both swatches in one row; a button drawn as the swatch, so that
        // Tab reaches it and Space opens the chooser.
        const int at = x + swatches * kSwatchPitch;
        out.push_back({K::Label, 0, c.caption, {at, y + 2, kSwatchLabel, 16}});
        out.push_back({K::OwnerDrawButton, id, "", {at + kSwatchLabel + 4, y, kSwatchWidth, kSwatchHeight}});
        if (++swatches == 2) y += kSwatchHeight + 6;
        break;
      }
    }
    ++id;
  }
  closeGroup();
  // The buttons keep to the bottom edge.
  y = std::max(y + 8, height - 8 - kButtonHeight);
  const ControlSpec buttons[] = {
      {K::Button, kCancel, T::ButtonStop}, {K::Button, kUseNow, T::ButtonUseNow}, {K::Button, kSave, T::ButtonSave, {}, BS_DEFPUSHBUTTON}};
  const int count = static_cast<int>(std::size(buttons));
  for (int b = 0; b < count; ++b) {
    out.push_back(buttons[b]);
    const int left = width - kGroupX - (count - b) * (kButtonWidth + kButtonGap) + kButtonGap;
    out.back().place = {left, y, kButtonWidth, kButtonHeight};
  }
  height = y + kButtonHeight + 8;
  return out;
}

}  // namespace

EnvironmentDialogWin32::EnvironmentDialogWin32(EnvironmentDialog& model, Win32WindowRegistry& windows)
    : SettingsWindowWin32(model, windows), model_(model) {}

bool EnvironmentDialogWin32::Create() {
  RegisterWindowClass(kClass, true);
  if (!CreateOf(kClass, 0, Widen(model_.Caption()).c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr))
    return false;
  dpi_ = WindowDpi(Handle());
  const HWND w = Handle();
  // The form's size at 96 DPI is the whole window's: the client area is
  // what the frame leaves of it.
  int frameWidth = 0, frameHeight = 0;
  AdjustForDpi(frameWidth, frameHeight, kStyle, 0, 96);
  const int clientWidth96 = EnvironmentDialog::kWidth - frameWidth;
  int clientHeight96 = EnvironmentDialog::kHeight - frameHeight;
  for (const ControlSpec& item : Specs(clientWidth96, clientHeight96)) {
    const HWND control = controls_.Add(w, item);
    // A group box beneath the controls it frames, which draw over it.
    if (item.kind == K::Group)
      SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  Layout(dpi_);
  int width = ScaleToDpi(clientWidth96, dpi_), height = ScaleToDpi(clientHeight96, dpi_);
  AdjustForDpi(width, height, kStyle, 0, dpi_);
  SetWindowPos(w, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Join(true, false);
  return true;
}

int EnvironmentDialogWin32::ControlId(std::string_view key) {
  int id = kRowBase;
  for (const EnvironmentControl& c : EnvironmentDialog::Controls()) {
    if (c.key && c.key == key) return id;
    ++id;
  }
  return 0;
}

const EnvironmentControl* EnvironmentDialogWin32::RowOf(HWND control) const {
  const auto rows = EnvironmentDialog::Controls();
  const size_t row = static_cast<size_t>(GetDlgCtrlID(control) - kRowBase);
  return control && row < rows.size() ? &rows[row] : nullptr;
}

void EnvironmentDialogWin32::Layout(uint32_t dpi) {
  dpi_ = dpi;
  controls_.Place(dpi, kFace, kFontHeight);
}

void EnvironmentDialogWin32::Refresh() {
  for (const EnvironmentControl& c : EnvironmentDialog::Controls()) {
    if (!c.key) continue;
    const HWND control = controls_[ControlId(c.key)];
    switch (c.kind) {
      case C::Bar: {
        const EnvironmentDialog::ScrollBar& b = model_.Bar(c.key);
        SetScrollBar(control, b.min, b.max, b.position);
        SetControlText(controls_[ValueBoxId(c.key)], model_.ValueText(c.key));
        break;
      }
      case C::Check:
        SetChecked(control, model_.Ticked(c.key));
        break;
      case C::Font:
        if (fontsShown_ != model_.Faces().size()) {
          SendMessageW(control, CB_RESETCONTENT, 0, 0);
          for (const std::string& face : model_.Faces())
            SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(face).c_str()));
          fontsShown_ = model_.Faces().size();
        }
        SetControlText(control, model_.FaceText());
        break;
      case C::Swatch:
        InvalidateRect(control, nullptr, FALSE);
        break;
      case C::Language:
        if (SendMessageW(control, CB_GETCOUNT, 0, 0) == 0)
          for (const std::string& item : EnvironmentDialog::LanguageItems())
            SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
        if (SendMessageW(control, CB_GETCURSEL, 0, 0) != model_.LanguageChoice())
          SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(model_.LanguageChoice()), 0);
        break;
      case C::Group:
        break;
    }
  }
}

intptr_t EnvironmentDialogWin32::Respond(unsigned msg, uintptr_t wp, intptr_t lp) {
  switch (msg) {
    case DM_GETDEFID:
      return DefaultButtonAnswer(Handle(), kSave);
    case WM_HSCROLL:
      if (const EnvironmentControl* c = RowOf(reinterpret_cast<HWND>(lp)); c && c->kind == C::Bar) {
        const EnvironmentDialog::ScrollBar& b = model_.Bar(c->key);
        const int32_t to = std::clamp(ScrollRequest(reinterpret_cast<HWND>(lp), wp, 1, b.largeChange), b.min,
                                      std::max(b.min, b.max));
        // Like the bar's own change event: only a position that moves.
        if (to != b.position) model_.MoveBar(c->key, to);
        return 0;
      }
      break;
    case WM_DRAWITEM: {
      const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      const EnvironmentControl* c = RowOf(d->hwndItem);
      if (!c || c->kind != C::Swatch) break;
      const GdiObject<HBRUSH> fill(CreateSolidBrush(model_.Colour(c->key)));
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
        case kCancel: model_.Cancel(); return 0;
        case kUseNow: model_.UseNow(); return 0;
        case kSave: model_.Save(); return 0;
        default: break;
      }
      const HWND control = reinterpret_cast<HWND>(lp);
      const EnvironmentControl* c = RowOf(control);
      if (!c) break;
      if (c->kind == C::Check && code == BN_CLICKED) model_.Tick(c->key, IsChecked(control));
      if (c->kind == C::Swatch && code == BN_CLICKED) model_.PickColour(c->key);
      if (c->kind == C::Language && code == CBN_SELCHANGE)
        model_.SetLanguageChoice(static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
      if (c->kind == C::Font && code == CBN_EDITCHANGE) model_.ChooseFace(ControlText(control));
      if (c->kind == C::Font && code == CBN_SELCHANGE) {
        // The box's text follows the list only after this notice.
        const LRESULT sel = SendMessageW(control, CB_GETCURSEL, 0, 0);
        const auto& faces = model_.Faces();
        if (sel >= 0 && static_cast<size_t>(sel) < faces.size()) model_.ChooseFace(faces[static_cast<size_t>(sel)]);
      }
      return 0;
    }
    default:
      break;
  }
  return Default(msg, wp, lp);
}

}  // namespace corvid
