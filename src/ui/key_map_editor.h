#pragma once
// The key map editor: one box per button of the remote showing the
// action of the active map; a click and a key combination binds a key, a
// double click and a popup menu binds a mouse, media, power or program
// action. Every change is written through to the table of the current mode
// at once, so the remote uses it immediately. The window itself is the
// Win32 view's; this is what it shows and does.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/key_map.h"
#include "base/message_boxes.h"
#include "base/screen_size.h"
#include "base/text_view.h"
#include "base/texts.h"
#include "config/settings_file.h"
#include "control/program_control.h"
#include "ui/editor_ports.h"
#include "ui/window_model.h"

namespace corvid {

enum class EditorCommand : uint8_t {
  Nop,
  NextTrack, PreviousTrack, PlayPause, StopMedia, VolumeUp, VolumeMute, VolumeDown,
  Reboot, Suspend, Hibernate, ShutDown,
  QuitAll, App1, App2, App3, App4, App5, App6, App7, App8,
  LeftClick, RightClick, MiddleClick, LeftDoubleClick,
  CursorUp, CursorRight, CursorDown, CursorLeft,
  WheelUp, WheelDown, SpeedUp, SpeedDown,
};

struct EditorMenuItem {
  std::string caption;  // "-" is a separator
  EditorCommand command = EditorCommand::Nop;
  bool enabled = true;
  std::vector<EditorMenuItem> items{};  // a submenu
};

enum class EditorMenu : uint8_t { None, Mouse, App };

// The modifiers held with a key pressed in a box.
struct KeyModifiers {
  bool ctrl = false, shift = false, alt = false;
};

class KeyMapEditor : public WindowModel {
 public:
  struct Ports {
    EditedMaps& maps;
    SettingsFile& settings;
    KeyCapture& capture;
    PowerActions& power;
    MessageBoxes& boxes;
    LineView& receiveLog;  // the black memo at the top
    ScreenSize& screen;
  };
  explicit KeyMapEditor(const Ports& ports);

  static constexpr size_t kBoxCount = 51;
  static const std::array<uint8_t, kBoxCount>& BoxCodes();
  // ENTER, PS and the mask buttons 0x50..0x5F: their own handlers.
  static bool IsMaskBox(uint8_t code);

  struct Box {
    std::string text;
    uint32_t colour = 0xFFFFFF;  // 0x00BBGGRR
  };
  const Box& BoxOf(uint8_t code) const { return boxes_[code]; }
  // The boxes after a whole column was copied into the active map.
  void RefreshAllBoxes();

  std::string Caption() const;
  std::string IndexText, CodeText, SendCodeText;
  bool ReloadButtonsVisible = true;  // "復帰", "一時使用", "保存"
  bool ResetButtonVisible = false;   // "標準復帰"
  uint8_t SelectedCode = 0;
  bool Selected = false;

  // Shown and closed (whoever waits on the close first); `launchDialogVisible`
  // decides the buttons and the place.
  void Show(bool launchDialogVisible);
  void Close();
  void Deactivated();
  void ApplicationDeactivated() { Deactivated(); }

  // A box captures keys only once armed: by a click on it (BoxClicked),
  // or by Space or Enter pressed while it has the keyboard focus. The
  // capture takes one key with its modifiers and ends at a release after
  // it; focus arriving by Tab arms nothing, so Tab, Esc and Alt+F4 keep
  // their ordinary meaning until a box is armed.
  void BoxClicked(uint8_t code);
  // A key pressed in a box; true when the box took it (armed it, or bound
  // it), false when it is the window's (focus moves, Esc closes).
  bool BoxKeyDown(uint8_t code, uint16_t vk, KeyModifiers held);
  // A key released in the box (a mask box's own handling, or every other
  // box's), for the key `vk`; true when the box took it.
  bool KeyUp(uint8_t code, uint16_t vk = 0);
  bool CaptureArmed() const { return armed_; }
  uint8_t ArmedCode() const { return armedCode_; }
  // The armed box lost the focus, a menu opens or the window goes: the
  // capture ends without a binding and the key-capture hook is removed.
  void EndCapture();
  // The double click: the menu to open, at the box, or none. The capture
  // armed by its first click ends, so that Esc reaches the menu.
  EditorMenu DoubleClick(uint8_t code);
  // Before the mouse menu opens.
  void PrepareMouseMenu();
  const std::vector<EditorMenuItem>& MousePopupMenu() const { return mouseMenu_; }
  const std::vector<EditorMenuItem>& AppPopupMenu() const { return appMenu_; }
  void MenuClick(EditorCommand command);

  void SendCodeFocused();
  void SendCodeTyped(std::string_view text);

  void Reload();  // "復帰"
  void UseNow();  // "一時使用"
  void Save();  // "保存"
  void UseKeyboardMode();  // "Keyboard"
  void UseMouseMode();  // "Mouse"
  void Reboot();  // "Reboot" (hidden)
  void CopyBasicMap();  // "標準復帰"
  void Suspend();  // "Suspend" (hidden)
  void Hibernate();  // "Hibernate" (hidden)
  void ShutDown(); // "Shutdown" (hidden)

  // The editor closed: the code monitor goes too.
  std::function<void()> onClosed;

 private:
  enum Tables : uint8_t { kCurrent = 1, kMouse = 2, kBoth = 3 };
  std::string RefreshButtonBox(uint8_t code);
  void ShowEntryFields(uint8_t code);
  void SetBoxColour(uint8_t code);
  void WriteThrough(uint8_t code, Tables tables);
  void Assign(uint8_t code, uint16_t key, uint32_t param, Tables tables);
  void Select(uint8_t code);
  bool AppMessage(uint8_t code);
  void Arm(uint8_t code, uint16_t armingKey);

  Ports p_;
  std::array<Box, kCodeCount> boxes_{};
  std::vector<EditorMenuItem> mouseMenu_, appMenu_;
  bool armed_ = false;
  uint8_t armedCode_ = 0;
  bool bound_ = false;       // this arming has taken its key
  uint16_t armingKey_ = 0;   // Space or Enter that armed it, until released
};

}  // namespace corvid
