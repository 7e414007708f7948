#include "ui/launch_settings.h"

#include <algorithm>

#include "config/profile_values.h"

namespace corvid {
namespace {

// The placement radios and what each stores; the key-action radios.
enum Radio : int {
  kMaximised = 1, kNormal = 2, kMinimised = 3, kRectangle = 4,
  kRestore = 5, kAnother = 6, kQuitRunning = 7, kNothing = 8,
};
bool IsPlacementRadio(int n) { return n >= kMaximised && n <= kRectangle; }

// The boxes of the window rectangle, upper row then lower row.
constexpr int kRectBoxes[] = {3, 4, 5, 6};
constexpr int32_t AppEntry::*kRectFields[] = {&AppEntry::WinLeft, &AppEntry::WinTop, &AppEntry::WinRight,
                                             &AppEntry::WinBottom};
constexpr int kCoRunFirst = 6;  // CheckBox6 .. CheckBox13: App-1 .. App-8

int32_t AppEntry::*NumberField(int edit) {
  switch (edit) {
    case 3: return &AppEntry::WinLeft;
    case 4: return &AppEntry::WinTop;
    case 5: return &AppEntry::WinRight;
    case 6: return &AppEntry::WinBottom;
    case 9: return &AppEntry::ClickX;
    case 10: return &AppEntry::ClickY;
    default: return nullptr;
  }
}

}  // namespace

void ClearAppEntry(AppEntry& a, int32_t screenWidth, int32_t screenHeight) {
  for (std::string* s : {&a.AppProg, &a.AppPath, &a.AppName, &a.Message, &a.Class, &a.Caption}) s->clear();
  a.Placement = 1;
  a.KeyAction = 2;
  a.CoRunMask = 0;
  a.LaunchTopmost = a.Registered = a.DummyClick = false;
  a.LongPressQuit = true;
  a.WinLeft = a.WinTop = 0;
  a.WinRight = screenWidth;
  a.WinBottom = screenHeight;
  a.ClickX = a.ClickY = 0;
  a.ActivateDelay = a.LongPressTime = 1000;
  a.ProcessId = 0;
  a.TargetWindow = 0;
}

TForm5::TForm5(const Ports& ports) : p_(ports) {
  Resize(kWidth, kHeight);
  MoveTo((p_.screen.ScreenWidth() - kWidth) / 2, (p_.screen.ScreenHeight() - kHeight) / 2);
  for (int n : {3, 4, 5, 6}) edits_[n].colour = BoxColour::White;
  for (int n : {11, 12, 13}) edits_[n].colour = BoxColour::Light;
  radios_[kAnother].visible = radios_[kQuitRunning].visible = false;
}

const std::array<std::string, kAppCount>& TForm5::ComboBox1Items() {
  static const std::array<std::string, kAppCount> items = {"　　App-1", "　　App-2", "　　App-3", "　　App-4",
                                                           "　　App-5", "　　App-6", "　　App-7", "　　App-8"};
  return items;
}

const std::array<std::string, 3>& TForm5::ComboBox2Items() {
  static const std::array<std::string, 3> items = {"モードを変更しない", "キーボードモードで起動する",
                                                   "マウス併用モードで起動する"};
  return items;
}

void TForm5::Show() {
  if (Visible()) {
    BringToFront();
    return;
  }
  SetVisible(true);
  LoadEntry();  // FormShow
  BringToFront();
}

void TForm5::Close() {
  if (!Visible()) return;
  p_.host.HideMessage();  // FormCloseQuery
  // FormClose: the editor back to the basic map in the home mode.
  p_.host.SetCurrentAppMap(0);
  const int32_t home = p_.host.HomeMode();
  if (home == 1) p_.editor.Button4Click();
  else if (home == 2) p_.editor.Button5Click();
  p_.receiveLog.Append("共通初期モード復帰しました。");
  p_.editor.Close();
  p_.debug.Close();
  SetVisible(false);
}

void TForm5::ComboBox1Change(int index) {
  if (index < 0 || index >= kAppCount) return;
  combo1_ = index;
  LoadEntry();
}

void TForm5::SelectCurrentMap() { p_.host.SetCurrentAppMap(combo1_ + 1); }

void TForm5::LoadEntry() {
  // Each value is read as the handlers before it left it.
  AppEntry& a = App();
  findEnabled_ = false;
  SelectCurrentMap();

  SetEditText(1, a.AppProg);
  SetEditText(2, a.AppPath);
  SetEditText(8, a.Message);
  SetEditText(7, a.AppArgs);
  for (int i = 0; i < 4; ++i) SetEditText(kRectBoxes[i], std::to_string(a.*kRectFields[i]));
  SetEditText(9, std::to_string(a.ClickX));
  SetEditText(10, std::to_string(a.ClickY));
  SetEditText(11, std::to_string(a.ActivateDelay));
  SetEditText(12, a.Class);
  SetEditText(13, std::to_string(a.LongPressTime));
  SetEditText(14, a.Caption);
  SetScrollBar(1, a.ActivateDelay);
  SetScrollBar(2, a.LongPressTime);

  SetChecked(3, a.LaunchTopmost);
  SetChecked(14, a.RecordState);
  SetChecked(15, a.OwnKeyMap);
  button6_ = ">";
  SetChecked(2, false);

  SetChecked(4, a.DummyClick);
  DelayBoxes(checks_[4].checked);  // changed or not

  switch (a.Placement) {
    case 0:
    case 1: SelectRadio(kNormal); break;
    case 2: SelectRadio(kMaximised); break;
    case 4: SelectRadio(kMinimised); break;
    case 8: SelectRadio(kRectangle); break;
    default:
      for (int n = kMaximised; n <= kRectangle; ++n) radios_[n].checked = false;
      break;
  }
  RectangleBoxes(radios_[kRectangle].checked);

  if (a.StartMap >= 0 && a.StartMap <= 2) SetComboBox2(a.StartMap);

  SetChecked(1, a.LongPressQuit);
  LongPressBoxes(checks_[1].checked);

  for (int k = 0; k < kAppCount; ++k) {
    checks_[kCoRunFirst + k].enabled = true;
    SetChecked(kCoRunFirst + k, (static_cast<uint32_t>(a.CoRunMask) >> k) & 1u);
  }
  // The entry may always run beside itself.
  checks_[kCoRunFirst + combo1_].enabled = false;
  SetChecked(kCoRunFirst + combo1_, true);

  switch (a.KeyAction) {
    case 0:
    case 1: SelectRadio(kNothing); break;
    case 2: SelectRadio(kRestore); break;
    case 4: SelectRadio(kAnother); break;
    case 8: SelectRadio(kQuitRunning); break;
    default:
      for (int n = kRestore; n <= kNothing; ++n) radios_[n].checked = false;
      break;
  }

  if (p_.editor.Visible() && checks_[15].checked) {
    p_.editor.Show(true);
    SwitchEditorMode(a.StartMap);
  }
  Changed();
}

void TForm5::SetEditText(int n, std::string_view text) {
  if (n < 1 || n > kEdits || edits_[n].text == text) return;
  edits_[n].text.assign(text);
  EditChange(n);
  Changed();
}

void TForm5::EditChange(int n) {
  AppEntry& a = App();
  const std::string& t = edits_[n].text;
  if (int32_t AppEntry::*field = NumberField(n)) {
    int32_t v;
    edits_[n].invalid = !ParseProfileInteger(t, v);
    if (!edits_[n].invalid) a.*field = v;
    return;
  }
  switch (n) {
    case 1: {
      a.AppProg = t;
      a.Registered = !t.empty() && p_.host.ProgramFileExists(t);
      checks_[15].enabled = a.Registered;
      // A program that is not there has no folder, arguments or window to
      // look for. An empty name is no program yet: a browse loads the
      // cleared entry before it puts the chosen file here, and keeps the
      // arguments.
      if (!a.Registered && !t.empty()) {
        a.AppPath.clear();
        a.AppArgs.clear();
        a.Class.clear();
        a.Caption.clear();
        for (int m : {2, 7, 12, 14}) SetEditText(m, "");
      }
      break;
    }
    case 2: a.AppPath = t; break;
    case 7: a.AppArgs = t; break;
    case 8: a.Message = t; break;
    case 14: a.Caption = t; break;
    case 12:
      a.Class = t;
      // Without a class the window is found by its process alone: only
      // "通常" is offered.
      if (t.empty()) SelectRadio(kNormal);
      for (int r : {kMinimised, kMaximised, kRectangle}) radios_[r].enabled = !t.empty();
      break;
    default: break;  // Edit11, Edit13: shown values only
  }
}

void TForm5::SetChecked(int n, bool on) {
  if (n < 1 || n > kChecks || checks_[n].checked == on) return;
  checks_[n].checked = on;
  CheckBoxClick(n);
  Changed();
}

void TForm5::CheckBoxClick(int n) {
  AppEntry& a = App();
  const bool on = checks_[n].checked;
  if (n >= kCoRunFirst && n < kCoRunFirst + kAppCount) {
    const uint32_t bit = 1u << (n - kCoRunFirst);
    a.CoRunMask = static_cast<int32_t>(on ? static_cast<uint32_t>(a.CoRunMask) | bit
                                          : static_cast<uint32_t>(a.CoRunMask) & ~bit);
    return;
  }
  switch (n) {
    case 1:
      a.LongPressQuit = on;
      LongPressBoxes(on);
      break;
    case 2:
      // The debug window on the dialog's left.
      if (on) p_.debug.Show(Place(), p_.screen.ScreenWidth());
      else p_.debug.Close();
      break;
    case 3: a.LaunchTopmost = on; break;
    case 4:
      a.DummyClick = on;
      DelayBoxes(on);
      break;
    case 14: a.RecordState = on; break;
    case 15:
      a.OwnKeyMap = on;
      if (!on && p_.editor.Visible()) {
        p_.editor.Close();
        button6_ = ">";
      }
      break;
    default: break;
  }
}

void TForm5::DelayBoxes(bool on) {
  for (int m : {9, 10, 11}) edits_[m].enabled = on;
  edits_[9].colour = edits_[10].colour = on ? BoxColour::Window : BoxColour::Face;
  edits_[11].colour = on ? BoxColour::Light : BoxColour::Face;
}

void TForm5::LongPressBoxes(bool on) {
  edits_[13].enabled = on;
  edits_[13].colour = on ? BoxColour::Light : BoxColour::Face;
}

void TForm5::SelectRadio(int n) {
  if (n < 1 || n > kRadios || radios_[n].checked) return;
  const bool placement = IsPlacementRadio(n);
  for (int r = 1; r <= kRadios; ++r)
    if (IsPlacementRadio(r) == placement) radios_[r].checked = false;
  radios_[n].checked = true;
  RadioButtonClick(n);
  Changed();
}

void TForm5::RadioButtonClick(int n) {
  AppEntry& a = App();
  switch (n) {
    case kNormal: PlainPlacement(1); break;
    case kMaximised: PlainPlacement(2); break;
    case kMinimised: PlainPlacement(4); break;
    case kRectangle:
      a.Placement = 8;
      RectangleBoxes(true);
      break;
    case kNothing: a.KeyAction = 1; break;
    case kRestore: a.KeyAction = 2; break;
    case kAnother: a.KeyAction = 4; break;
    case kQuitRunning: a.KeyAction = 8; break;
    default: break;
  }
}

void TForm5::PlainPlacement(int32_t placement) {
  App().Placement = placement;
  RectangleBoxes(false);
  for (int n : kRectBoxes)
    if (edits_[n].text != "0") SetEditText(n, "0");
}

void TForm5::RectangleBoxes(bool on) {
  for (int n : kRectBoxes) {
    edits_[n].enabled = on;
    edits_[n].colour = on ? BoxColour::White : BoxColour::Face;
  }
}

void TForm5::SetScrollBar(int n, int32_t position) {
  if (n < 1 || n > 2) return;
  const int32_t kept = std::clamp(position, kDelayMin, kDelayMax);
  // A stored value outside the range is moved to its nearer end and stored
  // at once, also when the bar stands there already.
  if (kept == scrolls_[n] && kept == position) return;
  scrolls_[n] = kept;
  ScrollBarChange(n);
  Changed();
}

void TForm5::ScrollBarChange(int n) {
  AppEntry& a = App();
  const int32_t v = scrolls_[n];
  if (n == 1) {
    a.ActivateDelay = v;
    SetEditText(11, std::to_string(v));
  } else {
    a.LongPressTime = v;
    p_.host.SetLongPressInterval(v);
    SetEditText(13, std::to_string(v));
  }
}

void TForm5::SetComboBox2(int index) {
  if (index < 0 || index > 2 || index == combo2_) return;
  combo2_ = index;
  ComboBox2Change();
  Changed();
}

void TForm5::ComboBox2Change() {
  SelectCurrentMap();
  App().StartMap = combo2_;
  if (p_.editor.Visible() && combo2_ != 0) SwitchEditorMode(combo2_);
}

void TForm5::SwitchEditorMode(int32_t startMap) {
  // "モードを変更しない" stays in the mode, but the editor still shows this
  // entry's map rather than the one that was active.
  const bool mouse = startMap == 2 || (startMap != 1 && p_.host.MouseMode());
  if (mouse) p_.editor.Button5Click();
  else p_.editor.Button4Click();
}

void TForm5::Button1Click() {
  p_.settings.Reload();
  LoadEntry();
}

void TForm5::Button2Click() {
  Close();
  p_.settings.SaveKeyMaps();
  p_.settings.SaveAppEntries();
  p_.host.QuitAllApps();
}

void TForm5::Button3Click() {
  std::string chosen;
  if (!dialog_ || !dialog_->Choose(App().AppPath, chosen) || !Visible()) return;
  ClearAppEntry(App(), p_.screen.ScreenWidth(), p_.screen.ScreenHeight());
  LoadEntry();
  SetEditText(1, chosen);
  const size_t cut = chosen.find_last_of("\\:");
  SetEditText(2, cut == std::string::npos ? std::string() : chosen.substr(0, cut + 1));
}

void TForm5::Button4MouseDown() {
  const AppEntry& a = App();
  p_.host.ArmApp(combo1_, a.LongPressQuit && a.ProcessId != 0);
}

void TForm5::Button4MouseUp() { p_.host.RunArmedApp(); }

void TForm5::Button5Click() { p_.host.StartWindowPick(); }

void TForm5::Button6Click() {
  SelectCurrentMap();
  if (p_.editor.Visible()) {
    p_.editor.Close();
    button6_ = ">";
  } else {
    // Beside the dialog on its right, or where the screen has room.
    const Bounds& me = Place();
    p_.editor.MoveTo(BesideLeftEdge(me, p_.editor.Place().width, p_.screen.ScreenWidth(), true), me.top);
    p_.editor.Show(true);
    SwitchEditorMode(App().StartMap);
    button6_ = "<";
  }
  Changed();
}

void TForm5::SetFindEnabled(bool enabled) {
  if (findEnabled_ == enabled) return;
  findEnabled_ = enabled;
  Changed();
}

void TForm5::SetPicking(bool picking) {
  edits_[12].colour = picking ? BoxColour::Yellow : BoxColour::Light;
  Changed();
}

void TForm5::EditorClosed() {
  if (button6_ == ">") return;
  button6_ = ">";
  Changed();
}

}  // namespace corvid
