#include "ui/launch_settings.h"

#include <algorithm>
#include <variant>

#include "config/profile_values.h"
#include "config/settings_schema.h"

namespace corvid {
namespace {

// The controls bound to "AppSetConst" positions. The schema gives the field
// at each, so the dialog edits exactly what the file holds.
enum Position : int {
  kPlacementAt = 0, kKeyActionAt = 1, kCoRunAt = 2, kStartMapAt = 3, kRegisteredAt = 5,
  kActivateDelayAt = 16, kLongPressTimeAt = 17,
};
struct Binding {
  int control;
  int position;
};
// Edit3 .. Edit6 (the window rectangle, upper row then lower row), Edit9 and
// Edit10 (the dummy click's point).
constexpr Binding kNumberBoxes[] = {{3, 10}, {4, 11}, {5, 12}, {6, 13}, {9, 14}, {10, 15}};
// CheckBox3, CheckBox4, CheckBox1, CheckBox14, CheckBox15.
constexpr Binding kTicks[] = {{3, 4}, {4, 6}, {1, 7}, {14, 8}, {15, 9}};
constexpr int kRectBoxes[] = {3, 4, 5, 6};
constexpr int kCoRunFirst = 6;  // CheckBox6 .. CheckBox13: App-1 .. App-8

// The radios, and the value each stores.
enum Radio : int {
  kMaximised = 1, kNormal = 2, kMinimised = 3, kRectangle = 4,
  kRestore = 5, kAnother = 6, kQuitRunning = 7, kNothing = 8,
};
struct Choice {
  int radio;
  int32_t value;
};
constexpr Choice kPlacements[] = {{kNormal, 1}, {kMaximised, 2}, {kMinimised, 4}, {kRectangle, 8}};
constexpr Choice kKeyActions[] = {{kNothing, 1}, {kRestore, 2}, {kAnother, 4}, {kQuitRunning, 8}};
bool IsPlacementRadio(int n) { return n >= kMaximised && n <= kRectangle; }
// The radio of a stored value (0 counts as the first choice); 0 for none.
template <size_t N>
int RadioFor(const Choice (&choices)[N], int32_t value) {
  for (const Choice& c : choices)
    if (c.value == value) return c.radio;
  return value == 0 ? choices[0].radio : 0;
}
template <size_t N>
int32_t ValueOf(const Choice (&choices)[N], int radio) {
  for (const Choice& c : choices)
    if (c.radio == radio) return c.value;
  return 0;
}

// The text boxes and the keys of the entry's section they edit.
struct TextBinding {
  int control;
  const char* key;
};
constexpr TextBinding kTextBoxes[] = {{1, "AppProg"}, {2, "AppPath"}, {7, "AppArgs"},
                                      {8, "Message"}, {12, "Class"},  {14, "Caption"}};

int32_t& Number(AppEntry& a, int position) {
  return a.*std::get<int32_t AppEntry::*>(AppSetConstFields()[static_cast<size_t>(position)]);
}
bool& Flag(AppEntry& a, int position) {
  return a.*std::get<bool AppEntry::*>(AppSetConstFields()[static_cast<size_t>(position)]);
}
std::string* Text(AppEntry& a, int control) {
  for (const TextBinding& t : kTextBoxes)
    if (t.control == control)
      for (const AppTextKey& k : AppTextKeys())
        if (std::string_view(k.key) == t.key) return &(a.*k.field);
  return nullptr;
}
template <size_t N>
const Binding* Bound(const Binding (&table)[N], int control) {
  for (const Binding& b : table)
    if (b.control == control) return &b;
  return nullptr;
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

LaunchSettings::LaunchSettings(const Ports& ports) : p_(ports) {
  Resize(kWidth, kHeight);
  MoveTo((p_.screen.ScreenWidth() - kWidth) / 2, (p_.screen.ScreenHeight() - kHeight) / 2);
  for (int n : {3, 4, 5, 6}) edits_[n].colour = BoxColour::White;
  for (int n : {11, 12, 13}) edits_[n].colour = BoxColour::Light;
  radios_[kAnother].visible = radios_[kQuitRunning].visible = false;
  // "通常" is chosen as the form is made, with the rectangle's boxes off: an
  // entry placed "通常" then shows its rectangle as the settings hold it at
  // the first opening too, not zeroed by a choice that changed nothing.
  radios_[kNormal].checked = true;
  RectangleBoxes(false);
}

const std::array<std::string, kAppCount>& LaunchSettings::ComboBox1Items() {
  static const std::array<std::string, kAppCount> items = {"　　App-1", "　　App-2", "　　App-3", "　　App-4",
                                                           "　　App-5", "　　App-6", "　　App-7", "　　App-8"};
  return items;
}

const std::array<std::string, 3>& LaunchSettings::ComboBox2Items() {
  static const std::array<std::string, 3> items = {"モードを変更しない", "キーボードモードで起動する",
                                                   "マウス併用モードで起動する"};
  return items;
}

void LaunchSettings::Show() {
  if (Visible()) {
    BringToFront();
    return;
  }
  SetVisible(true);
  LoadEntry();  // FormShow
  BringToFront();
}

void LaunchSettings::Close() {
  if (!Visible()) return;
  p_.host.HideMessage();  // FormCloseQuery
  // FormClose: the editor back to the basic map in the home mode.
  p_.host.SetCurrentAppMap(0);
  const int32_t home = p_.host.HomeMode();
  if (home == 1) p_.editor.UseKeyboardMode();
  else if (home == 2) p_.editor.UseMouseMode();
  p_.receiveLog.Append("共通初期モード復帰しました。");
  p_.editor.Close();
  p_.debug.Close();
  SetVisible(false);
}

void LaunchSettings::ComboBox1Change(int index) {
  if (index < 0 || index >= kAppCount) return;
  combo1_ = index;
  LoadEntry();
}

void LaunchSettings::SelectCurrentMap() { p_.host.SetCurrentAppMap(combo1_ + 1); }

void LaunchSettings::LoadEntry() {
  // Each value is read as the handlers before it left it.
  AppEntry& a = App();
  auto tick = [&](int n) { SetChecked(n, Flag(a, Bound(kTicks, n)->position)); };
  auto choose = [&](const auto& choices, int position) {
    if (const int r = RadioFor(choices, Number(a, position))) SelectRadio(r);
    else ClearRadios(position == kPlacementAt);
  };
  findEnabled_ = false;
  SelectCurrentMap();

  for (int n : {1, 2, 8, 7}) SetEditText(n, *Text(a, n));
  for (const Binding& b : kNumberBoxes) SetEditText(b.control, std::to_string(Number(a, b.position)));
  SetEditText(11, std::to_string(Number(a, kActivateDelayAt)));
  SetEditText(12, *Text(a, 12));
  SetEditText(13, std::to_string(Number(a, kLongPressTimeAt)));
  SetEditText(14, *Text(a, 14));
  // The enabled states follow this entry also where its program or class
  // equals the last entry's and the boxes' handlers did not run (the first
  // entry shown, a move between two class-less entries).
  ProgramFileRule();
  ClassRule();
  SetScrollBar(1, Number(a, kActivateDelayAt));
  SetScrollBar(2, Number(a, kLongPressTimeAt));

  tick(3);
  tick(14);
  tick(15);
  button6_ = ">";
  SetChecked(2, false);
  tick(4);
  DelayBoxes(checks_[4].checked);  // changed or not
  choose(kPlacements, kPlacementAt);
  RectangleBoxes(radios_[kRectangle].checked);
  const int32_t startMap = Number(a, kStartMapAt);
  if (startMap >= 0 && startMap <= 2) SetComboBox2(startMap);
  tick(1);
  LongPressBoxes(checks_[1].checked);

  for (int k = 0; k < kAppCount; ++k) {
    checks_[kCoRunFirst + k].enabled = true;
    SetChecked(kCoRunFirst + k, (static_cast<uint32_t>(Number(a, kCoRunAt)) >> k) & 1u);
  }
  // The entry may always run beside itself.
  checks_[kCoRunFirst + combo1_].enabled = false;
  SetChecked(kCoRunFirst + combo1_, true);

  choose(kKeyActions, kKeyActionAt);

  if (p_.editor.Visible() && checks_[15].checked) {
    p_.editor.Show(true);
    SwitchEditorMode(a.StartMap);
  }
  Changed();
}

void LaunchSettings::ClearRadios(bool placement) {
  for (int r = 1; r <= kRadios; ++r)
    if (IsPlacementRadio(r) == placement) radios_[r].checked = false;
}

void LaunchSettings::SetEditText(int n, std::string_view text) {
  if (n < 1 || n > kEdits || edits_[n].text == text) return;
  edits_[n].text.assign(text);
  EditChange(n);
  Changed();
}

void LaunchSettings::EditChange(int n) {
  AppEntry& a = App();
  const std::string& t = edits_[n].text;
  if (const Binding* b = Bound(kNumberBoxes, n)) {
    int32_t v;
    edits_[n].invalid = !ParseProfileInteger(t, v);
    if (!edits_[n].invalid) Number(a, b->position) = v;
    return;
  }
  std::string* field = Text(a, n);
  if (!field) return;  // Edit11, Edit13: shown values only
  *field = t;
  if (n == 1) {
    const bool registered = ProgramFileRule();
    // A program that is not there has no folder, arguments or window to
    // look for. An empty name is no program yet: a browse loads the cleared
    // entry before it puts the chosen file here, and keeps the arguments.
    if (!registered && !t.empty())
      for (int m : {2, 7, 12, 14}) {
        Text(a, m)->clear();
        SetEditText(m, "");
      }
  } else if (n == 12) {
    // Without a class the window is found by its process alone: only "通常"
    // is offered.
    if (t.empty()) SelectRadio(kNormal);
    ClassRule();
  }
}

bool LaunchSettings::ProgramFileRule() {
  const std::string& t = edits_[1].text;
  bool& registered = Flag(App(), kRegisteredAt);
  registered = !t.empty() && p_.host.ProgramFileExists(t);
  checks_[15].enabled = registered;
  return registered;
}

void LaunchSettings::ClassRule() {
  for (int r : {kMinimised, kMaximised, kRectangle}) radios_[r].enabled = !edits_[12].text.empty();
}

void LaunchSettings::SetChecked(int n, bool on) {
  if (n < 1 || n > kChecks || checks_[n].checked == on) return;
  checks_[n].checked = on;
  CheckBoxClick(n);
  Changed();
}

void LaunchSettings::CheckBoxClick(int n) {
  AppEntry& a = App();
  const bool on = checks_[n].checked;
  if (n >= kCoRunFirst && n < kCoRunFirst + kAppCount) {
    const uint32_t bit = 1u << (n - kCoRunFirst);
    int32_t& mask = Number(a, kCoRunAt);
    mask = static_cast<int32_t>(on ? static_cast<uint32_t>(mask) | bit : static_cast<uint32_t>(mask) & ~bit);
    return;
  }
  if (const Binding* b = Bound(kTicks, n)) Flag(a, b->position) = on;
  if (n == 1) LongPressBoxes(on);
  if (n == 4) DelayBoxes(on);
  if (n == 2) {
    // The debug window on the dialog's left.
    if (on) p_.debug.Show(Place(), p_.screen.ScreenWidth());
    else p_.debug.Close();
  }
  if (n == 15 && !on && p_.editor.Visible()) {
    p_.editor.Close();
    button6_ = ">";
  }
}

void LaunchSettings::DelayBoxes(bool on) {
  for (int m : {9, 10, 11}) edits_[m].enabled = on;
  edits_[9].colour = edits_[10].colour = on ? BoxColour::Window : BoxColour::Face;
  edits_[11].colour = on ? BoxColour::Light : BoxColour::Face;
}

void LaunchSettings::LongPressBoxes(bool on) {
  edits_[13].enabled = on;
  edits_[13].colour = on ? BoxColour::Light : BoxColour::Face;
}

void LaunchSettings::SelectRadio(int n) {
  if (n < 1 || n > kRadios || radios_[n].checked) return;
  ClearRadios(IsPlacementRadio(n));
  radios_[n].checked = true;
  RadioButtonClick(n);
  Changed();
}

void LaunchSettings::RadioButtonClick(int n) {
  AppEntry& a = App();
  if (!IsPlacementRadio(n)) {
    Number(a, kKeyActionAt) = ValueOf(kKeyActions, n);
    return;
  }
  Number(a, kPlacementAt) = ValueOf(kPlacements, n);
  RectangleBoxes(n == kRectangle);
  if (n != kRectangle)
    for (int box : kRectBoxes)
      if (edits_[box].text != "0") SetEditText(box, "0");
}

void LaunchSettings::RectangleBoxes(bool on) {
  for (int n : kRectBoxes) {
    edits_[n].enabled = on;
    edits_[n].colour = on ? BoxColour::White : BoxColour::Face;
  }
}

void LaunchSettings::SetScrollBar(int n, int32_t position) {
  if (n < 1 || n > 2) return;
  const int32_t kept = std::clamp(position, kDelayMin, kDelayMax);
  // A stored value outside the range is moved to its nearer end and stored
  // at once, also when the bar stands there already.
  if (kept == scrolls_[n] && kept == position) return;
  scrolls_[n] = kept;
  ScrollBarChange(n);
  Changed();
}

void LaunchSettings::ScrollBarChange(int n) {
  const int32_t v = scrolls_[n];
  Number(App(), n == 1 ? kActivateDelayAt : kLongPressTimeAt) = v;
  if (n == 2) p_.host.SetLongPressInterval(v);
  SetEditText(n == 1 ? 11 : 13, std::to_string(v));
}

void LaunchSettings::SetComboBox2(int index) {
  if (index < 0 || index > 2 || index == combo2_) return;
  combo2_ = index;
  ComboBox2Change();
  Changed();
}

void LaunchSettings::ComboBox2Change() {
  SelectCurrentMap();
  Number(App(), kStartMapAt) = combo2_;
  if (p_.editor.Visible() && combo2_ != 0) SwitchEditorMode(combo2_);
}

void LaunchSettings::SwitchEditorMode(int32_t startMap) {
  // "モードを変更しない" stays in the mode, but the editor still shows this
  // entry's map rather than the one that was active.
  const bool mouse = startMap == 2 || (startMap != 1 && p_.host.MouseMode());
  if (mouse) p_.editor.UseMouseMode();
  else p_.editor.UseKeyboardMode();
}

void LaunchSettings::Cancel() {
  p_.settings.Reload();
  LoadEntry();
}

void LaunchSettings::Save() {
  Close();
  p_.settings.SaveKeyMaps();
  p_.settings.SaveAppEntries();
  p_.host.QuitAllApps();
}

void LaunchSettings::BrowseProgram() {
  std::string chosen;
  if (!dialog_ || !dialog_->Choose(App().AppPath, chosen) || !Visible()) return;
  ClearAppEntry(App(), p_.screen.ScreenWidth(), p_.screen.ScreenHeight());
  LoadEntry();
  SetEditText(1, chosen);
  const size_t cut = chosen.find_last_of("\\:");
  SetEditText(2, cut == std::string::npos ? std::string() : chosen.substr(0, cut + 1));
}

void LaunchSettings::TestPress() {
  const AppEntry& a = App();
  p_.host.ArmApp(combo1_, a.LongPressQuit && a.ProcessId != 0);
}

void LaunchSettings::TestRelease() { p_.host.RunArmedApp(); }

void LaunchSettings::Find() { p_.host.StartWindowPick(); }

void LaunchSettings::ToggleEditor() {
  SelectCurrentMap();
  if (p_.editor.Visible()) {
    p_.editor.Close();
    button6_ = ">";
  } else {
    PlaceEditorBeside();
    p_.editor.Show(true);
    SwitchEditorMode(App().StartMap);
    button6_ = "<";
  }
  Changed();
}

void LaunchSettings::PlaceEditorBeside() {
  // Beside the dialog at its top, on its right, or on its left where the
  // right has no room. Where neither side has, the dialog steps left so the
  // editor stands on its right: put against the screen's edge the editor
  // would cover the dialog's bottom buttons. The editor keeps its own
  // height: its fixed layout is taller than the dialog.
  const int32_t screenWidth = p_.screen.ScreenWidth(), width = p_.editor.Place().width;
  Bounds me = Place();
  int32_t left = BesideLeftEdge(me, width, screenWidth, true);
  if (left < me.Right() && left + width > me.left && me.width + width <= screenWidth) {
    MoveTo(screenWidth - width - me.width, me.top);
    me = Place();
    left = me.Right();
  }
  p_.editor.MoveTo(left, me.top);
}

void LaunchSettings::SetFindEnabled(bool enabled) {
  if (findEnabled_ == enabled) return;
  findEnabled_ = enabled;
  Changed();
}

void LaunchSettings::SetPicking(bool picking) {
  edits_[12].colour = picking ? BoxColour::Yellow : BoxColour::Light;
  Changed();
}

void LaunchSettings::EditorClosed() {
  if (button6_ == ">") return;
  button6_ = ">";
  Changed();
}

}  // namespace corvid
