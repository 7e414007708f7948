#include "ui/launch_settings.h"

#include <algorithm>
#include <optional>
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
using F = LaunchField;
using K = LaunchCheck;
using R = LaunchRadio;

template <typename Control>
struct Binding {
  Control control;
  int position;
};
// The window rectangle (upper row then lower row) and the dummy click's point.
constexpr Binding<F> kNumberBoxes[] = {{F::RectLeft, 10}, {F::RectTop, 11}, {F::RectRight, 12},
                                       {F::RectBottom, 13}, {F::ClickX, 14}, {F::ClickY, 15}};
constexpr Binding<K> kTicks[] = {{K::LaunchTopmost, 4}, {K::DummyClick, 6}, {K::LongPressQuit, 7},
                                 {K::RecordState, 8}, {K::OwnKeyMap, 9}};
constexpr F kRectBoxes[] = {F::RectLeft, F::RectTop, F::RectRight, F::RectBottom};

// The radios, and the value each stores.
struct Choice {
  R radio;
  int32_t value;
};
constexpr Choice kPlacements[] = {{R::Normal, 1}, {R::Maximised, 2}, {R::Minimised, 4}, {R::Rectangle, 8}};
constexpr Choice kKeyActions[] = {{R::Nothing, 1}, {R::Restore, 2}, {R::Another, 4}, {R::QuitRunning, 8}};
bool IsPlacementRadio(R r) { return r >= R::Maximised && r <= R::Rectangle; }
// The radio of a stored value (0 counts as the first choice); none when
// no radio stores it.
template <size_t N>
std::optional<R> RadioFor(const Choice (&choices)[N], int32_t value) {
  for (const Choice& c : choices)
    if (c.value == value) return c.radio;
  if (value == 0) return choices[0].radio;
  return std::nullopt;
}
template <size_t N>
int32_t ValueOf(const Choice (&choices)[N], R radio) {
  for (const Choice& c : choices)
    if (c.radio == radio) return c.value;
  return 0;
}

// The text boxes and the keys of the entry's section they edit.
struct TextBinding {
  F control;
  const char* key;
};
constexpr TextBinding kTextBoxes[] = {{F::ProgramFile, "AppProg"}, {F::Folder, "AppPath"},
                                      {F::Arguments, "AppArgs"},   {F::Message, "Message"},
                                      {F::TargetClass, "Class"},   {F::TargetCaption, "Caption"}};

int32_t& Number(AppEntry& a, int position) {
  return a.*std::get<int32_t AppEntry::*>(AppSetConstFields()[static_cast<size_t>(position)]);
}
bool& Flag(AppEntry& a, int position) {
  return a.*std::get<bool AppEntry::*>(AppSetConstFields()[static_cast<size_t>(position)]);
}
std::string* Text(AppEntry& a, F control) {
  for (const TextBinding& t : kTextBoxes)
    if (t.control == control)
      for (const AppTextKey& k : AppTextKeys())
        if (std::string_view(k.key) == t.key) return &(a.*k.field);
  return nullptr;
}
template <typename Control, size_t N>
const Binding<Control>* Bound(const Binding<Control> (&table)[N], Control control) {
  for (const Binding<Control>& b : table)
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
  for (F f : kRectBoxes) FieldAt(f).colour = BoxColour::White;
  for (F f : {F::ActivateDelay, F::TargetClass, F::LongPressTime}) FieldAt(f).colour = BoxColour::Light;
  RadioAt(R::Another).visible = RadioAt(R::QuitRunning).visible = false;
  // "通常" is chosen as the form is made, with the rectangle's boxes off: an
  // entry placed "通常" then shows its rectangle as the settings hold it at
  // the first opening too, not zeroed by a choice that changed nothing.
  RadioAt(R::Normal).checked = true;
  RectangleBoxes(false);
}

const std::array<std::string, kAppCount>& LaunchSettings::EntryItems() {
  static const std::array<std::string, kAppCount> items = {"　　App-1", "　　App-2", "　　App-3", "　　App-4",
                                                           "　　App-5", "　　App-6", "　　App-7", "　　App-8"};
  return items;
}

std::array<std::string, 3> LaunchSettings::StartModeItems() {
  return {std::string(Text(TextId::LaunchStartKeep)), std::string(Text(TextId::LaunchStartKeyboard)),
          std::string(Text(TextId::LaunchStartMouse))};
}

bool LaunchSettings::RectangleInvalid() const {
  return std::any_of(std::begin(kRectBoxes), std::end(kRectBoxes), [this](F f) { return Field(f).invalid; });
}

bool LaunchSettings::ClickPointInvalid() const { return Field(F::ClickX).invalid || Field(F::ClickY).invalid; }

void LaunchSettings::Show() {
  if (Visible()) {
    BringToFront();
    return;
  }
  SetVisible(true);
  LoadEntry();
  BringToFront();
}

void LaunchSettings::Close() {
  if (!Visible()) return;
  p_.host.HideMessage();
  // The editor back to the basic map in the home mode.
  p_.host.SetCurrentAppMap(0);
  const int32_t home = p_.host.HomeMode();
  if (home == 1) p_.editor.UseKeyboardMode();
  else if (home == 2) p_.editor.UseMouseMode();
  p_.receiveLog.Append(Text(TextId::LaunchBackHome));
  p_.editor.Close();
  p_.debug.Close();
  SetVisible(false);
}

void LaunchSettings::SelectEntry(int index) {
  if (index < 0 || index >= kAppCount) return;
  entry_ = index;
  LoadEntry();
}

void LaunchSettings::SelectCurrentMap() { p_.host.SetCurrentAppMap(entry_ + 1); }

void LaunchSettings::LoadEntry() {
  // Each value is read as the handlers before it left it.
  AppEntry& a = App();
  auto tick = [&](K c) { SetChecked(c, Flag(a, Bound(kTicks, c)->position)); };
  auto choose = [&](const auto& choices, int position) {
    if (const std::optional<R> r = RadioFor(choices, Number(a, position))) SelectRadio(*r);
    else ClearRadios(position == kPlacementAt);
  };
  findEnabled_ = false;
  SelectCurrentMap();

  for (F f : {F::ProgramFile, F::Folder, F::Message, F::Arguments}) SetField(f, *Text(a, f));
  for (const Binding<F>& b : kNumberBoxes) SetField(b.control, std::to_string(Number(a, b.position)));
  SetField(F::ActivateDelay, std::to_string(Number(a, kActivateDelayAt)));
  SetField(F::TargetClass, *Text(a, F::TargetClass));
  SetField(F::LongPressTime, std::to_string(Number(a, kLongPressTimeAt)));
  SetField(F::TargetCaption, *Text(a, F::TargetCaption));
  // The enabled states follow this entry also where its program or class
  // equals the last entry's and the boxes' handlers did not run (the first
  // entry shown, a move between two class-less entries).
  ProgramFileRule();
  ClassRule();
  SetBar(LaunchBar::ActivateDelay, Number(a, kActivateDelayAt));
  SetBar(LaunchBar::LongPressTime, Number(a, kLongPressTimeAt));

  tick(K::LaunchTopmost);
  tick(K::RecordState);
  tick(K::OwnKeyMap);
  editorButton_ = ">";
  SetChecked(K::DebugWindow, false);
  tick(K::DummyClick);
  DelayBoxes(Check(K::DummyClick).checked);  // changed or not
  choose(kPlacements, kPlacementAt);
  RectangleBoxes(Radio(R::Rectangle).checked);
  const int32_t startMap = Number(a, kStartMapAt);
  if (startMap >= 0 && startMap <= 2) SetStartMode(startMap);
  tick(K::LongPressQuit);
  LongPressBoxes(Check(K::LongPressQuit).checked);

  for (int k = 0; k < kAppCount; ++k) {
    CheckAt(CoRunCheck(k)).enabled = true;
    SetChecked(CoRunCheck(k), (static_cast<uint32_t>(Number(a, kCoRunAt)) >> k) & 1u);
  }
  // The entry may always run beside itself.
  CheckAt(CoRunCheck(entry_)).enabled = false;
  SetChecked(CoRunCheck(entry_), true);

  choose(kKeyActions, kKeyActionAt);

  if (p_.editor.Visible() && Check(K::OwnKeyMap).checked) {
    p_.editor.Show(true);
    SwitchEditorMode(a.StartMap);
  }
  Changed();
}

void LaunchSettings::ClearRadios(bool placement) {
  for (int r = 1; r <= kRadios; ++r)
    if (IsPlacementRadio(R(r)) == placement) radios_[size_t(r)].checked = false;
}

void LaunchSettings::SetField(F f, std::string_view text) {
  if (int(f) < 1 || int(f) > kFields || Field(f).text == text) return;
  FieldAt(f).text.assign(text);
  FieldChanged(f);
  Changed();
}

void LaunchSettings::FieldChanged(F f) {
  AppEntry& a = App();
  LaunchFieldState& box = FieldAt(f);
  const std::string& t = box.text;
  if (const Binding<F>* b = Bound(kNumberBoxes, f)) {
    int32_t v;
    box.invalid = !ParseProfileInteger(t, v);
    if (!box.invalid) Number(a, b->position) = v;
    return;
  }
  std::string* field = Text(a, f);
  if (!field) return;  // the delays' boxes: shown values only
  *field = t;
  if (f == F::ProgramFile) {
    const bool registered = ProgramFileRule();
    // A program that is not there has no folder, arguments or window to
    // look for. An empty name is no program yet: a browse loads the cleared
    // entry before it puts the chosen file here, and keeps the arguments.
    if (!registered && !t.empty())
      for (F m : {F::Folder, F::Arguments, F::TargetClass, F::TargetCaption}) {
        Text(a, m)->clear();
        SetField(m, "");
      }
  } else if (f == F::TargetClass) {
    // Without a class the window is found by its process alone: only "通常"
    // is offered.
    if (t.empty()) SelectRadio(R::Normal);
    ClassRule();
  }
}

bool LaunchSettings::ProgramFileRule() {
  const std::string& t = Field(F::ProgramFile).text;
  bool& registered = Flag(App(), kRegisteredAt);
  registered = !t.empty() && p_.host.ProgramFileExists(t);
  CheckAt(K::OwnKeyMap).enabled = registered;
  return registered;
}

void LaunchSettings::ClassRule() {
  for (R r : {R::Minimised, R::Maximised, R::Rectangle}) RadioAt(r).enabled = !Field(F::TargetClass).text.empty();
}

void LaunchSettings::SetChecked(K c, bool on) {
  if (int(c) < 1 || int(c) > kChecks || Check(c).checked == on) return;
  CheckAt(c).checked = on;
  CheckChanged(c);
  Changed();
}

void LaunchSettings::CheckChanged(K c) {
  AppEntry& a = App();
  const bool on = Check(c).checked;
  const int k = int(c) - int(K::CoRun);
  if (k >= 0 && k < kAppCount) {
    const uint32_t bit = 1u << k;
    int32_t& mask = Number(a, kCoRunAt);
    mask = static_cast<int32_t>(on ? static_cast<uint32_t>(mask) | bit : static_cast<uint32_t>(mask) & ~bit);
    return;
  }
  if (const Binding<K>* b = Bound(kTicks, c)) Flag(a, b->position) = on;
  if (c == K::LongPressQuit) LongPressBoxes(on);
  if (c == K::DummyClick) DelayBoxes(on);
  if (c == K::DebugWindow) {
    // The debug window on the dialog's left.
    if (on) p_.debug.Show(Place(), p_.screen.ScreenWidth());
    else p_.debug.Close();
  }
  if (c == K::OwnKeyMap && !on && p_.editor.Visible()) {
    p_.editor.Close();
    editorButton_ = ">";
  }
}

void LaunchSettings::DelayBoxes(bool on) {
  for (F f : {F::ClickX, F::ClickY, F::ActivateDelay}) FieldAt(f).enabled = on;
  FieldAt(F::ClickX).colour = FieldAt(F::ClickY).colour = on ? BoxColour::Window : BoxColour::Face;
  FieldAt(F::ActivateDelay).colour = on ? BoxColour::Light : BoxColour::Face;
}

void LaunchSettings::LongPressBoxes(bool on) {
  FieldAt(F::LongPressTime).enabled = on;
  FieldAt(F::LongPressTime).colour = on ? BoxColour::Light : BoxColour::Face;
}

void LaunchSettings::SelectRadio(R r) {
  if (int(r) < 1 || int(r) > kRadios || Radio(r).checked) return;
  ClearRadios(IsPlacementRadio(r));
  RadioAt(r).checked = true;
  RadioChosen(r);
  Changed();
}

void LaunchSettings::RadioChosen(R r) {
  AppEntry& a = App();
  if (!IsPlacementRadio(r)) {
    Number(a, kKeyActionAt) = ValueOf(kKeyActions, r);
    return;
  }
  Number(a, kPlacementAt) = ValueOf(kPlacements, r);
  RectangleBoxes(r == R::Rectangle);
  if (r != R::Rectangle)
    for (F box : kRectBoxes)
      if (Field(box).text != "0") SetField(box, "0");
}

void LaunchSettings::RectangleBoxes(bool on) {
  for (F f : kRectBoxes) {
    FieldAt(f).enabled = on;
    FieldAt(f).colour = on ? BoxColour::White : BoxColour::Face;
  }
}

void LaunchSettings::SetBar(LaunchBar b, int32_t position) {
  if (b != LaunchBar::ActivateDelay && b != LaunchBar::LongPressTime) return;
  const int32_t kept = std::clamp(position, kDelayMin, kDelayMax);
  // A stored value outside the range is moved to its nearer end and stored
  // at once, also when the bar stands there already.
  if (kept == Bar(b) && kept == position) return;
  bars_[size_t(b)] = kept;
  BarMoved(b);
  Changed();
}

void LaunchSettings::BarMoved(LaunchBar b) {
  const int32_t v = Bar(b);
  const bool delay = b == LaunchBar::ActivateDelay;
  Number(App(), delay ? kActivateDelayAt : kLongPressTimeAt) = v;
  if (!delay) p_.host.SetLongPressInterval(v);
  SetField(delay ? F::ActivateDelay : F::LongPressTime, std::to_string(v));
}

void LaunchSettings::SetStartMode(int index) {
  if (index < 0 || index > 2 || index == startMode_) return;
  startMode_ = index;
  StartModeChanged();
  Changed();
}

void LaunchSettings::StartModeChanged() {
  SelectCurrentMap();
  Number(App(), kStartMapAt) = startMode_;
  if (p_.editor.Visible() && startMode_ != 0) SwitchEditorMode(startMode_);
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
  SetField(F::ProgramFile, chosen);
  const size_t cut = chosen.find_last_of("\\:");
  SetField(F::Folder, cut == std::string::npos ? std::string() : chosen.substr(0, cut + 1));
}

void LaunchSettings::TestPress() {
  const AppEntry& a = App();
  p_.host.ArmApp(entry_, a.LongPressQuit && a.ProcessId != 0);
}

void LaunchSettings::TestRelease() { p_.host.RunArmedApp(); }

void LaunchSettings::Find() { p_.host.StartWindowPick(); }

void LaunchSettings::ToggleEditor() {
  SelectCurrentMap();
  if (p_.editor.Visible()) {
    p_.editor.Close();
    editorButton_ = ">";
  } else {
    PlaceEditorBeside();
    p_.editor.Show(true);
    SwitchEditorMode(App().StartMap);
    editorButton_ = "<";
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
  FieldAt(F::TargetClass).colour = picking ? BoxColour::Yellow : BoxColour::Light;
  Changed();
}

void LaunchSettings::EditorClosed() {
  if (editorButton_ == ">") return;
  editorButton_ = ">";
  Changed();
}

}  // namespace corvid
