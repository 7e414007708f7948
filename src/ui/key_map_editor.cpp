#include "ui/key_map_editor.h"

#include <cstdio>

#include "actions/entry_display_name.h"
#include "base/version.h"

namespace corvid {
namespace {

// The 51 named buttons, SELECT and START among them (their boxes hidden).
constexpr std::array<uint8_t, KeyMapEditor::kBoxCount> kBoxes = {
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0B, 0x0E, 0x0F, 0x16, 0x1A, 0x28, 0x30,
    0x31, 0x32, 0x33, 0x34, 0x38, 0x39, 0x40, 0x43, 0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58,
    0x59, 0x5A, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F, 0x60, 0x61, 0x63, 0x64, 0x65, 0x70, 0x80, 0x81, 0x82, 0x83};

// Colours as 0x00BBGGRR.
constexpr uint32_t kAppColour = 0xE0C0C0;        // a launch-program action
constexpr uint32_t kOwnColour = 0x00A5FF;        // differs from the basic map
constexpr uint32_t kMaskMouseColour = 0xD0C0B0;
constexpr uint32_t kMaskKeyboardColour = 0xC0C0C0;
constexpr uint32_t kMouseColour = 0xF0FBFF;
constexpr uint32_t kKeyboardColour = 0xFFFFFF;

// The codes the key-capture hook puts in place of the keys it diverts.
uint16_t KeyBehindReplacement(uint16_t vk) {
  switch (vk) {
    case 136: return 9;     // Tab
    case 137: return 46;    // Delete
    case 138: return vk::kLeftWin;
    case 139: return vk::kRightWin;
    case 140: return 45;    // Insert
    case 141: return 145;   // Scroll Lock
    case 142: return 144;   // Num Lock
    case 143: return 20;    // Caps Lock
    case 158: return 27;    // Esc
    case 159: return 44;    // Print Screen
    default: return vk;
  }
}

struct CommandAction {
  EditorCommand command;
  uint16_t key;
  uint32_t param;
};
constexpr CommandAction kActions[] = {
    {EditorCommand::Nop, 0, 0},          {EditorCommand::NextTrack, 176, 0},     {EditorCommand::PreviousTrack, 177, 0},
    {EditorCommand::StopMedia, 178, 0},      {EditorCommand::PlayPause, 179, 0},     {EditorCommand::VolumeUp, 175, 0},
    {EditorCommand::VolumeMute, 173, 0},     {EditorCommand::VolumeDown, 174, 0},    {EditorCommand::Suspend, 151, 0},
    {EditorCommand::Hibernate, 152, 0},  {EditorCommand::ShutDown, 153, 0},  {EditorCommand::Reboot, 154, 0},
    {EditorCommand::QuitAll, 7, 255},    {EditorCommand::App1, 7, 0},       {EditorCommand::App2, 7, 1},
    {EditorCommand::App3, 7, 2},        {EditorCommand::App4, 7, 3},       {EditorCommand::App5, 7, 4},
    {EditorCommand::App6, 7, 5},        {EditorCommand::App7, 7, 6},       {EditorCommand::App8, 7, 7},
    {EditorCommand::LeftClick, 2, 0x0010},  {EditorCommand::RightClick, 2, 0x0020}, {EditorCommand::MiddleClick, 2, 0x0040},
    {EditorCommand::LeftDoubleClick, 2, 0x4010}, {EditorCommand::CursorUp, 1, 0x0001}, {EditorCommand::CursorRight, 1, 0x0002},
    {EditorCommand::CursorDown, 1, 0x0004}, {EditorCommand::CursorLeft, 1, 0x0008}, {EditorCommand::WheelUp, 4, 0x0100},
    {EditorCommand::WheelDown, 4, 0x0200}, {EditorCommand::SpeedUp, 1, 0x1000}, {EditorCommand::SpeedDown, 1, 0x2000},
};

const CommandAction& ActionOf(EditorCommand c) {
  for (const CommandAction& a : kActions)
    if (a.command == c) return a;
  return kActions[0];
}

bool IsProgramCommand(EditorCommand c) {
  return c >= EditorCommand::QuitAll && c <= EditorCommand::App8;
}

bool IsMouseCommand(EditorCommand c) { return c >= EditorCommand::LeftClick; }

std::vector<EditorMenuItem> MediaAndSystem() {
  using C = EditorCommand;
  using T = TextId;
  return {
      {std::string(Text(T::EditorMenuMedia)), C::Nop, true,
       {{std::string(Text(T::EditorMenuNext)), C::NextTrack}, {std::string(Text(T::EditorMenuPrev)), C::PreviousTrack}, {std::string(Text(T::EditorMenuPlayPause)), C::PlayPause}, {std::string(Text(T::EditorMenuStop)), C::StopMedia},
        {std::string(Text(T::EditorMenuVolumeUp)), C::VolumeUp}, {std::string(Text(T::EditorMenuMute)), C::VolumeMute}, {std::string(Text(T::EditorMenuVolumeDown)), C::VolumeDown}}},
      {std::string(Text(T::EditorMenuSystem)), C::Nop, true,
       {{std::string(Text(T::EditorMenuReboot)), C::Reboot}, {std::string(Text(T::EditorMenuSuspend)), C::Suspend}, {std::string(Text(T::EditorMenuHibernate)), C::Hibernate},
        {std::string(Text(T::EditorMenuShutDown)), C::ShutDown}}},
  };
}

std::vector<EditorMenuItem> MouseMenuItems() {
  using C = EditorCommand;
  using T = TextId;
  std::vector<EditorMenuItem> m{{std::string(Text(T::EditorMenuNop)), C::Nop}};
  for (EditorMenuItem& i : MediaAndSystem()) m.push_back(std::move(i));
  m.push_back({"-"});
  m.push_back({std::string(Text(T::EditorMenuQuitAll)), C::QuitAll});
  const C apps[] = {C::App1, C::App2, C::App3, C::App4, C::App5, C::App6, C::App7, C::App8};
  for (int i = 0; i < 8; ++i)
    m.push_back({"App-" + std::to_string(i + 1) + " (&" + std::to_string(i + 1) + ")", apps[i], false});
  return m;
}

std::vector<EditorMenuItem> AppMenuItems() {
  using C = EditorCommand;
  using T = TextId;
  std::vector<EditorMenuItem> m{{std::string(Text(T::EditorMenuNop)), C::Nop}};
  for (EditorMenuItem& i : MediaAndSystem()) m.push_back(std::move(i));
  m.insert(m.end(), {{"-"},
                     {std::string(Text(T::EditorMenuLeftClick)), C::LeftClick},
                     {std::string(Text(T::EditorMenuRightClick)), C::RightClick},
                     {std::string(Text(T::EditorMenuMiddleClick)), C::MiddleClick},
                     {std::string(Text(T::EditorMenuDoubleClick)), C::LeftDoubleClick},
                     {"-"},
                     {"↑", C::CursorUp},
                     {"→", C::CursorRight},
                     {"↓", C::CursorDown},
                     {"←", C::CursorLeft},
                     {"-"},
                     {std::string(Text(T::EditorMenuWheelUp)), C::WheelUp},
                     {std::string(Text(T::EditorMenuWheelDown)), C::WheelDown},
                     {"-"},
                     {std::string(Text(T::EditorMenuSpeedUp)), C::SpeedUp},
                     {std::string(Text(T::EditorMenuSpeedDown)), C::SpeedDown}});
  return m;
}

}  // namespace

KeyMapEditor::KeyMapEditor(const Ports& ports) : p_(ports), mouseMenu_(MouseMenuItems()), appMenu_(AppMenuItems()) {}

const std::array<uint8_t, KeyMapEditor::kBoxCount>& KeyMapEditor::BoxCodes() { return kBoxes; }

bool KeyMapEditor::IsMaskBox(uint8_t code) { return code == 0x0B || code == 0x43 || (code >= 0x50 && code <= 0x5F); }

std::string KeyMapEditor::Caption() const { return "Corvid " CORVID_VERSION_TEXT; }

void KeyMapEditor::SetBoxColour(uint8_t code) {
  const KeyMapEntry& e = p_.maps.ActiveMap()[code];
  const bool mouse = p_.maps.MouseMode();
  const KeyMapTable& t = p_.maps.Table(mouse);
  const int32_t m = p_.maps.CurrentAppMap();
  uint32_t colour;
  if (e.Key == action::kApp) colour = kAppColour;
  else if (m > 0 && m < kMapCount && !(t.at(code, m) == t.at(code, 0))) colour = kOwnColour;
  else if (IsMaskBox(code)) colour = mouse ? kMaskMouseColour : kMaskKeyboardColour;
  else colour = mouse ? kMouseColour : kKeyboardColour;
  boxes_[code].colour = colour;
}

std::string KeyMapEditor::RefreshButtonBox(uint8_t code) {
  boxes_[code].text = EntryDisplayName(p_.maps.ActiveMap()[code]);
  SetBoxColour(code);
  return boxes_[code].text;
}

void KeyMapEditor::RefreshAllBoxes() {
  for (uint8_t code : kBoxes) RefreshButtonBox(code);
  if (Selected) ShowEntryFields(SelectedCode);
  Changed();
}

void KeyMapEditor::ShowEntryFields(uint8_t code) {
  const int32_t m = p_.maps.CurrentAppMap();
  const KeyMapEntry& e = p_.maps.Table(p_.maps.MouseMode()).at(code, m >= 0 && m < kMapCount ? m : 0);
  char index[8], stat[32];
  std::snprintf(index, sizeof index, "%02X", code);
  std::snprintf(stat, sizeof stat, "%04X-%02X", static_cast<unsigned>(e.Param), static_cast<unsigned>(e.Key));
  IndexText = index;
  CodeText = stat;
  SendCodeText = e.Message;
}

void KeyMapEditor::WriteThrough(uint8_t code, Tables tables) {
  const KeyMapEntry& e = p_.maps.ActiveMap()[code];
  const int32_t m = p_.maps.CurrentAppMap();
  for (bool mouse : {false, true}) {
    const bool wanted = tables == kBoth || (tables == kMouse && mouse) ||
                        (tables == kCurrent && mouse == p_.maps.MouseMode());
    if (!wanted) continue;
    KeyMapTable& t = p_.maps.Table(mouse);
    // The basic map is every program's map too.
    if (m <= 0 || m >= kMapCount)
      for (int column = 0; column < kMapCount; ++column) t.at(code, column) = e;
    else
      t.at(code, m) = e;
  }
}

void KeyMapEditor::Select(uint8_t code) {
  SelectedCode = code;
  Selected = true;
}

void KeyMapEditor::Show(bool launchDialogVisible) {
  if (Visible()) {
    BringToFront();
    return;
  }
  if (launchDialogVisible) {
    ReloadButtonsVisible = false;
    ResetButtonVisible = true;
  } else {
    ReloadButtonsVisible = true;
    ResetButtonVisible = false;
    const Bounds& b = Place();
    MoveTo((p_.screen.ScreenWidth() - b.width) / 2, (p_.screen.ScreenHeight() - b.height) / 2);
  }
  p_.receiveLog.SetVisible(true);
  SetVisible(true);
  BringToFront();
}

void KeyMapEditor::Close() {
  if (!Visible()) return;
  if (onClosed) onClosed();
  EndCapture();
  p_.receiveLog.SetVisible(false);
  SetVisible(false);
}

void KeyMapEditor::Deactivated() { EndCapture(); }

void KeyMapEditor::Arm(uint8_t code, uint16_t armingKey) {
  p_.capture.InstallKeyCaptureHook();
  armed_ = true;
  armedCode_ = code;
  bound_ = false;
  armingKey_ = armingKey;
  Select(code);
  ShowEntryFields(code);
  Changed();
}

void KeyMapEditor::BoxClicked(uint8_t code) { Arm(code, 0); }

void KeyMapEditor::EndCapture() {
  p_.capture.RemoveKeyCaptureHook();
  // A Windows key still latched would mark the next capture with Win.
  p_.capture.WinKeyLatched() = false;
  if (!armed_) return;
  armed_ = false;
  bound_ = false;
  armingKey_ = 0;
  Changed();
}

bool KeyMapEditor::AppMessage(uint8_t code) {
  if (p_.maps.ActiveMap()[code].Key != action::kApp) return false;
  p_.boxes.Show(Text(TextId::EditorAppKeySet), Text(TextId::EditorAppKeySetTitle));
  return true;
}

bool KeyMapEditor::BoxKeyDown(uint8_t code, uint16_t vk, KeyModifiers held) {
  constexpr uint16_t kSpace = 0x20, kReturn = 0x0D;
  if (!armed_ || armedCode_ != code) {
    if (vk != kSpace && vk != kReturn) return false;
    Arm(code, vk);
    return true;
  }
  if (vk == armingKey_ && !bound_) return true;  // the arming key held down
  Select(code);
  if (p_.maps.ActiveMap()[code].Key == action::kApp) {
    EndCapture();
    AppMessage(code);
    return true;
  }
  bound_ = true;
  uint16_t key = KeyBehindReplacement(vk);
  uint32_t param = 0;
  bool& latched = p_.capture.WinKeyLatched();
  if ((key == vk::kLeftWin || key == vk::kRightWin) && !latched) {
    param = modifier::kWin;
    key = 0;
    latched = true;
  } else if (latched) {
    param = modifier::kWin;
  }
  if (held.ctrl) param |= modifier::kCtrl;
  if (held.shift) param |= modifier::kShift;
  if (held.alt) param |= modifier::kAlt;
  Assign(code, key, param, kCurrent);
  return true;
}

bool KeyMapEditor::KeyUp(uint8_t code, uint16_t vk) {
  if (!armed_ || armedCode_ != code) return false;
  if (!bound_) {
    if (vk == armingKey_) armingKey_ = 0;
    return true;
  }
  KeyMapEntry& e = p_.maps.ActiveMap()[code];
  const uint8_t low = e.Key & 0xFF;
  if (low == vk::kShift || low == vk::kControl || low == vk::kMenu || low == vk::kLeftWin || low == vk::kRightWin) {
    // A modifier alone: a chord part.
    e.Key = 0;
    const std::string text = RefreshButtonBox(code);
    if (!IsMaskBox(code)) e.Message = text;
    WriteThrough(code, kCurrent);
    ShowEntryFields(code);
  } else {
    WriteThrough(code, kCurrent);
  }
  SetBoxColour(code);
  EndCapture();  // one key per arming
  Changed();
  return true;
}

EditorMenu KeyMapEditor::DoubleClick(uint8_t code) {
  EndCapture();
  // In the language in use, which is chosen after this was made.
  mouseMenu_ = MouseMenuItems();
  appMenu_ = AppMenuItems();
  Select(code);
  if (IsMaskBox(code) && p_.maps.MouseMode()) return EditorMenu::App;
  if (p_.maps.CurrentAppMap() > 0 && p_.maps.ActiveMap()[code].Key == action::kApp) {
    p_.boxes.Show(Text(TextId::EditorAppKeyBasicOnly), Text(TextId::EditorAppKeyBasicOnlyTitle));
    return EditorMenu::None;
  }
  return EditorMenu::Mouse;
}

void KeyMapEditor::PrepareMouseMenu() {
  const bool basic = p_.maps.CurrentAppMap() == 0;
  for (EditorMenuItem& item : mouseMenu_) {
    if (item.command == EditorCommand::QuitAll) item.enabled = basic;
    if (item.command >= EditorCommand::App1 && item.command <= EditorCommand::App8) {
      const int app = static_cast<int>(item.command) - static_cast<int>(EditorCommand::App1);
      item.enabled = basic && p_.maps.Registered(app);
    }
  }
}

void KeyMapEditor::Assign(uint8_t code, uint16_t key, uint32_t param, Tables tables) {
  KeyMapEntry& e = p_.maps.ActiveMap()[code];
  e.Key = key;
  e.Param = param;
  e.Message = RefreshButtonBox(code);
  WriteThrough(code, tables);
  ShowEntryFields(code);
  SetBoxColour(code);
  Changed();
}

void KeyMapEditor::MenuClick(EditorCommand command) {
  if (!Selected) return;
  const uint8_t code = SelectedCode;
  const CommandAction& a = ActionOf(command);
  Tables tables = kCurrent;
  if (IsMouseCommand(command)) tables = kMouse;
  else if (IsProgramCommand(command)) tables = kBoth;
  else if (command == EditorCommand::Nop && p_.maps.ActiveMap()[code].Key == action::kApp) tables = kBoth;
  Assign(code, a.key, a.param, tables);
}

void KeyMapEditor::SendCodeFocused() { EndCapture(); }

void KeyMapEditor::SendCodeTyped(std::string_view text) {
  if (!Selected) return;
  const uint8_t code = SelectedCode;
  p_.maps.ActiveMap()[code].Message.assign(text);
  // Only the column being edited, also when it is the basic map.
  const int32_t m = p_.maps.CurrentAppMap();
  p_.maps.Table(p_.maps.MouseMode()).at(code, m >= 0 && m < kMapCount ? m : 0).Message.assign(text);
  SendCodeText.assign(text);
  SetBoxColour(code);
  Changed();
}

void KeyMapEditor::Reload() {
  p_.settings.Reload();
  const int32_t m = p_.maps.CurrentAppMap();
  p_.maps.Table(p_.maps.MouseMode()).CopyColumn(m >= 0 && m < kMapCount ? m : 0, p_.maps.ActiveMap());
  RefreshAllBoxes();
  if (Selected) {
    p_.maps.ActiveMap()[SelectedCode].Message = boxes_[SelectedCode].text;
    ShowEntryFields(SelectedCode);
  }
  Changed();
}

void KeyMapEditor::UseNow() { Close(); }

void KeyMapEditor::Save() {
  Close();
  p_.settings.SaveKeyMaps();
}

void KeyMapEditor::UseKeyboardMode() { p_.maps.SwitchToKeyboardMode(); }
void KeyMapEditor::UseMouseMode() { p_.maps.SwitchToMouseMode(); }
void KeyMapEditor::Reboot() { p_.power.Reboot(); }
void KeyMapEditor::Suspend() { p_.power.Suspend(); }
void KeyMapEditor::Hibernate() { p_.power.Hibernate(); }
void KeyMapEditor::ShutDown() { p_.power.ShutDown(); }

void KeyMapEditor::CopyBasicMap() {
  const int32_t m = p_.maps.CurrentAppMap();
  if (m <= 0 || m >= kMapCount) return;  // the basic map is its own basis
  KeyMapTable& t = p_.maps.Table(p_.maps.MouseMode());
  for (int code = 0; code < kCodeCount; ++code) {
    t.at(static_cast<uint8_t>(code), m) = t.at(static_cast<uint8_t>(code), 0);
    p_.maps.ActiveMap()[code] = t.at(static_cast<uint8_t>(code), 0);
  }
  RefreshAllBoxes();
  p_.receiveLog.Append(std::string(Text(TextId::EditorBackToBasicBefore)) + std::to_string(m) +
                       std::string(Text(TextId::EditorBackToBasicAfter)));
}

}  // namespace corvid
