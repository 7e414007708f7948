#pragma once
// The key map editor (TForm2): one box per button of the remote showing the
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
#include "config/settings_file.h"
#include "control/program_control.h"
#include "ui/editor_ports.h"
#include "ui/window_model.h"

namespace corvid {

enum class EditorCommand : uint8_t {
  Nop,
  MNext, MPrev, MPlay, MStop, MVUp, MVMute, MVDown,
  ReBoot, Suspend, Hibernate, ShutDown,
  ALLQuit, App11, App21, App31, App41, App51, App61, App71, App81,
  LClick, RClick, MClick, LBblClick,
  UpPad, RightPad, DownPad, LeftPad,
  WheelUp, WheelDown, SpeedUp, SpeedDown,
};

struct EditorMenuItem {
  std::string caption;  // "-" is a separator
  EditorCommand command = EditorCommand::Nop;
  bool enabled = true;
  std::vector<EditorMenuItem> items{};  // a submenu
};

enum class EditorMenu : uint8_t { None, Mouse, App };

class TForm2 : public WindowModel {
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
  explicit TForm2(const Ports& ports);

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
  std::string EditIndex, EditStat, EditCode;
  bool ReloadButtonsVisible = true;  // "復帰", "一時使用", "保存"
  bool ResetButtonVisible = false;   // "標準復帰"
  uint8_t SelectedCode = 0;
  bool Selected = false;

  // Shown (FormShow first) and closed (FormClose first); `launchDialogVisible`
  // decides the buttons and the place.
  void Show(bool launchDialogVisible);
  void Close();
  void FormDeactivate();
  void ApplicationEvents1Deactivate() { FormDeactivate(); }

  // A box captures keys only once armed: by a click on it (Edit16Click),
  // or by Space or Enter pressed while it has the keyboard focus. The
  // capture takes one key with its modifiers and ends at a release after
  // it; focus arriving by Tab arms nothing, so Tab, Esc and Alt+F4 keep
  // their ordinary meaning until a box is armed.
  void Edit16Click(uint8_t code);
  // A key pressed in a box; true when the box took it (armed it, or bound
  // it), false when it is the window's (focus moves, Esc closes).
  bool Edit16KeyDown(uint8_t code, uint16_t vk, bool ctrl, bool shift, bool alt);
  // The key-up handler of the box (Edit5CKeyUp for mask boxes, else
  // Edit16KeyUp), for the key `vk`; true when the box took it.
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
  void MousePopupMenuPopup();
  const std::vector<EditorMenuItem>& MousePopupMenu() const { return mouseMenu_; }
  const std::vector<EditorMenuItem>& AppPopupMenu() const { return appMenu_; }
  void MenuClick(EditorCommand command);

  void EditCodeClick();
  void EditCodeKeyUp(std::string_view text);

  void Button1Click();  // "復帰"
  void Button2Click();  // "一時使用"
  void Button3Click();  // "保存"
  void Button4Click();  // "Keyboard"
  void Button5Click();  // "Mouse"
  void Button6Click();  // "Reboot" (hidden)
  void Button7Click();  // "標準復帰"
  void Button8Click();  // "Suspend" (hidden)
  void Button9Click();  // "Hibernate" (hidden)
  void Button10Click(); // "Shutdown" (hidden)

  // The editor closed: the code monitor goes too.
  std::function<void()> onFormClose;

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
