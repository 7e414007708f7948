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
#include "base/texts.h"
#include "config/settings_file.h"
#include "model/app_entry.h"
#include "control/program_control.h"
#include "ui/debug_window.h"
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

// The dialog's text boxes. The numbers index the dialog's arrays.
enum class LaunchField : uint8_t {
  ProgramFile = 1, Folder, RectLeft, RectTop, RectRight, RectBottom, Arguments, Message, ClickX, ClickY,
  ActivateDelay,  // the delay bar's value, shown
  TargetClass,
  LongPressTime,  // the long-press bar's value, shown
  TargetCaption,
};
// Its check boxes: the entry's switches, the debug window's, and one per
// entry that may run beside this one (CoRun + k for App-(k+1)).
enum class LaunchCheck : uint8_t {
  LongPressQuit = 1, DebugWindow, LaunchTopmost, DummyClick,
  CoRun = 6,
  RecordState = 14, OwnKeyMap,
};
// Its radios: where the window is put, and what a press does to a program
// that runs already.
enum class LaunchRadio : uint8_t {
  Maximised = 1, Normal, Minimised, Rectangle,
  Restore, Another, QuitRunning, Nothing,
};
// Its two delays' scroll bars.
enum class LaunchBar : uint8_t { ActivateDelay = 1, LongPressTime };

struct LaunchFieldState {
  std::string text;
  bool enabled = true;
  BoxColour colour = BoxColour::Window;
  // A number box that holds no integer: its field keeps the last value.
  bool invalid = false;
};

struct LaunchCheckState {
  bool checked = false, enabled = true;
};

struct LaunchRadioState {
  bool checked = false, enabled = true, visible = true;
};

class LaunchSettings : public WindowModel, public FindButton {
 public:
  static constexpr int32_t kWidth = 440, kHeight = 600;  // also the smallest size
  static constexpr int32_t kDelayMin = corvid::kDelayMin, kDelayMax = corvid::kDelayMax, kSmallStep = 10,
                           kLargeStep = 100;
  static constexpr int kFields = 14, kChecks = 15, kRadios = 8;
  static constexpr LaunchCheck CoRunCheck(int k) { return LaunchCheck(int(LaunchCheck::CoRun) + k); }

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

  std::string Caption() const { return std::string(Text(TextId::LaunchCaption)); }
  static const std::array<std::string, kAppCount>& EntryItems();
  // In the language in use.
  static std::array<std::string, 3> StartModeItems();

  const LaunchFieldState& Field(LaunchField f) const { return fields_.at(size_t(f)); }
  const LaunchCheckState& Check(LaunchCheck c) const { return checks_.at(size_t(c)); }
  const LaunchRadioState& Radio(LaunchRadio r) const { return radios_.at(size_t(r)); }
  int32_t Bar(LaunchBar b) const { return bars_.at(size_t(b)); }
  int Entry() const { return entry_; }
  int StartMode() const { return startMode_; }  // -1: none
  bool FindEnabled() const { return findEnabled_; }  // "Find"
  // ">" / "<": an own map ticked, on an entry whose program is there (a
  // tick read from the file stays on a vanished program's entry).
  bool EditorButtonEnabled() const { return Check(LaunchCheck::OwnKeyMap).checked && Check(LaunchCheck::OwnKeyMap).enabled; }
  const std::string& EditorButtonCaption() const { return editorButton_; }
  // "■遅延時間 (ms)" and its bar; "■終了までの時間 (ms)" and its bar.
  bool DelayEnabled() const { return Check(LaunchCheck::DummyClick).checked; }
  bool LongPressEnabled() const { return Check(LaunchCheck::LongPressQuit).checked; }
  // The notes beside the rectangle's and the click point's boxes: one of
  // them holds no integer.
  bool RectangleInvalid() const;
  bool ClickPointInvalid() const;

  // Shown: the selected entry loaded.
  void Show();
  // Closed, by any path.
  void Close();

  // The user's changes and the dialog's own alike: each runs the control's
  // handler when the value changes.
  void SelectEntry(int index);
  void SetField(LaunchField f, std::string_view text);
  void SetChecked(LaunchCheck c, bool on);
  void SelectRadio(LaunchRadio r);
  void SetBar(LaunchBar b, int32_t position);
  void SetStartMode(int index);

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
  void SetTargetClass(std::string_view className) { SetField(LaunchField::TargetClass, className); }
  void SetPicking(bool picking);
  // The key map editor closed, by any hand.
  void EditorClosed();

 private:
  AppEntry& App() { return p_.apps[static_cast<size_t>(entry_)]; }
  LaunchFieldState& FieldAt(LaunchField f) { return fields_[size_t(f)]; }
  LaunchCheckState& CheckAt(LaunchCheck c) { return checks_[size_t(c)]; }
  LaunchRadioState& RadioAt(LaunchRadio r) { return radios_[size_t(r)]; }
  void LoadEntry();
  void FieldChanged(LaunchField f);
  // What the program file's and the class's handlers decide from their
  // texts: whether the program is registered (and may have its own map),
  // which placements a class allows.
  bool ProgramFileRule();
  void ClassRule();
  void CheckChanged(LaunchCheck c);
  void RadioChosen(LaunchRadio r);
  void BarMoved(LaunchBar b);
  void StartModeChanged();
  void ClearRadios(bool placement);
  void RectangleBoxes(bool on);
  void DelayBoxes(bool on);
  void LongPressBoxes(bool on);
  void SelectCurrentMap();
  void PlaceEditorBeside();
  void SwitchEditorMode(int32_t startMap);

  Ports p_;
  ProgramFileDialog* dialog_ = nullptr;
  std::array<LaunchFieldState, kFields + 1> fields_{};
  std::array<LaunchCheckState, kChecks + 1> checks_{};
  std::array<LaunchRadioState, kRadios + 1> radios_{};
  std::array<int32_t, 3> bars_{kDelayMin, kDelayMin, kDelayMin};
  int entry_ = 0, startMode_ = -1;
  bool findEnabled_ = false;
  std::string editorButton_ = ">";
};

}  // namespace corvid
