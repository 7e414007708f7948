#pragma once
// The launch-program settings ("起動アプリケーション設定"): App-1 ..
// App-8 edited live in memory (only "保存" writes the file), a browse
// button, a picker that takes the class of a clicked window, a test button
// that acts as the entry's remote button, and the key map editor opened
// beside it on the entry's own map.
//
// Whenever the dialog puts a value into one of its controls and the value
// really changes, the control's handler runs as for the user's change:
// loading an entry is the handlers at work, in their order.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/screen_size.h"
#include "base/text_view.h"
#include "config/settings_file.h"
#include "model/app_entry.h"
#include "control/program_control.h"
#include "ui/code_monitor.h"
#include "ui/key_map_editor.h"
#include "ui/window_model.h"

namespace corvid {

// What the dialog asks of the rest of the program.
class LaunchHost {
 public:
  virtual ~LaunchHost() = default;
  virtual void SetCurrentAppMap(int32_t n) = 0;
  virtual int32_t HomeMode() const = 0;
  virtual bool MouseMode() const = 0;
  // The test button's press arms the entry's action as its remote button
  // would, the search trace starting with a fresh header; `longPress`
  // starts the long-press timer.
  virtual void ArmApp(int32_t index, bool longPress) = 0;
  // Its release runs the armed action, if it is still armed.
  virtual void RunArmedApp() = 0;
  virtual void SetLongPressInterval(int32_t ms) = 0;
  virtual void QuitAllApps() = 0;
  virtual bool ProgramFileExists(const std::string& path) = 0;
  // The on-screen message window hidden.
  virtual void HideMessage() = 0;
  // The next left click anywhere gives the class of its window
  // (SetTargetClass), the click still reaching that window.
  virtual void StartWindowPick() = 0;
};

// The system's open-file dialog; false when the user cancels. It opens in
// `folder` when that names an existing folder.
class ProgramFileDialog {
 public:
  virtual ~ProgramFileDialog() = default;
  virtual bool Choose(const std::string& folder, std::string& chosen) = 0;
};

// An entry as a newly browsed program finds it: texts but the arguments
// emptied, the window rectangle the whole screen, the delays 1000 ms.
void ClearAppEntry(AppEntry& a, int32_t screenWidth, int32_t screenHeight);

// The colours of the boxes, as the view maps them to the system's.
enum class BoxColour : uint8_t { Window, White, Light, Face, Yellow };

struct LaunchEdit {
  std::string text;
  bool enabled = true;
  BoxColour colour = BoxColour::Window;
  // A number box that holds no integer: its field keeps the last value.
  bool invalid = false;
};

struct LaunchCheck {
  bool checked = false, enabled = true;
};

struct LaunchRadio {
  bool checked = false, enabled = true, visible = true;
};

class LaunchSettings : public WindowModel, public FindButton {
 public:
  static constexpr int32_t kWidth = 440, kHeight = 600;  // also the smallest size
  static constexpr int32_t kDelayMin = corvid::kDelayMin, kDelayMax = corvid::kDelayMax, kSmallStep = 10,
                           kLargeStep = 100;
  // Controls are numbered as their names: Edit1 .. Edit14, CheckBox1 ..
  // CheckBox15, RadioButton1 .. RadioButton8, ScrollBar1 and ScrollBar2.
  static constexpr int kEdits = 14, kChecks = 15, kRadios = 8;

  struct Ports {
    std::array<AppEntry, kAppCount>& apps;
    LaunchHost& host;
    SettingsFile& settings;
    KeyMapEditor& editor;
    DebugWindow& debug;
    TextView& receiveLog;  // the editor's
    ScreenSize& screen;
  };
  explicit LaunchSettings(const Ports& ports);
  void SetFileDialog(ProgramFileDialog* dialog) { dialog_ = dialog; }

  std::string Caption() const { return "起動アプリケーション設定"; }
  static const std::array<std::string, kAppCount>& ComboBox1Items();
  static const std::array<std::string, 3>& ComboBox2Items();

  const LaunchEdit& Edit(int n) const { return edits_.at(static_cast<size_t>(n)); }
  const LaunchCheck& CheckBox(int n) const { return checks_.at(static_cast<size_t>(n)); }
  const LaunchRadio& RadioButton(int n) const { return radios_.at(static_cast<size_t>(n)); }
  int32_t ScrollBar(int n) const { return scrolls_.at(static_cast<size_t>(n)); }
  int ComboBox1() const { return combo1_; }
  int ComboBox2() const { return combo2_; }  // -1: none
  bool FindEnabled() const { return findEnabled_; }          // Button5 "Find"
  // ">" / "<": an own map ticked, on an entry whose program is there (a
  // tick read from the file stays on a vanished program's entry).
  bool EditorButtonEnabled() const { return checks_[15].checked && checks_[15].enabled; }
  const std::string& EditorButtonCaption() const { return button6_; }
  bool DelayEnabled() const { return checks_[4].checked; }      // "■遅延時間 (ms)" and its bar
  bool LongPressEnabled() const { return checks_[1].checked; }  // "■終了までの時間 (ms)" and its bar

  // FormShow: the selected entry loaded.
  void Show();
  // FormCloseQuery and FormClose, by any path.
  void Close();

  // The user's changes and the dialog's own alike: each runs the control's
  // handler when the value changes.
  void ComboBox1Change(int index);
  void SetEditText(int n, std::string_view text);
  void SetChecked(int n, bool on);
  void SelectRadio(int n);
  void SetScrollBar(int n, int32_t position);
  void SetComboBox2(int index);

  void Cancel();      // "取消"
  void Save();      // "保存"
  void BrowseProgram();      // " ．．": browse for the program file
  void TestPress();  // "実行試験"
  void TestRelease();
  void Find();  // "Find"
  void ToggleEditor();  // ">" / "<"

  // Program control found a started program's window, or quit it.
  void SetFindEnabled(bool enabled) override;
  // The picker's answer, and its waiting.
  void SetTargetClass(std::string_view className) { SetEditText(12, className); }
  void SetPicking(bool picking);
  // The key map editor closed, by any hand.
  void EditorClosed();

 private:
  AppEntry& App() { return p_.apps[static_cast<size_t>(combo1_)]; }
  void LoadEntry();
  void EditChange(int n);
  // What Edit1's and Edit12's handlers decide from their texts: whether the
  // program is registered (and may have its own map), which placements a
  // class allows.
  bool ProgramFileRule();
  void ClassRule();
  void CheckBoxClick(int n);
  void RadioButtonClick(int n);
  void ScrollBarChange(int n);
  void ComboBox2Change();
  void ClearRadios(bool placement);
  void RectangleBoxes(bool on);
  void DelayBoxes(bool on);
  void LongPressBoxes(bool on);
  void SelectCurrentMap();
  void PlaceEditorBeside();
  void SwitchEditorMode(int32_t startMap);

  Ports p_;
  ProgramFileDialog* dialog_ = nullptr;
  std::array<LaunchEdit, kEdits + 1> edits_{};
  std::array<LaunchCheck, kChecks + 1> checks_{};
  std::array<LaunchRadio, kRadios + 1> radios_{};
  std::array<int32_t, 3> scrolls_{kDelayMin, kDelayMin, kDelayMin};
  int combo1_ = 0, combo2_ = -1;
  bool findEnabled_ = false;
  std::string button6_ = ">";
};

}  // namespace corvid
