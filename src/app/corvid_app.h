#pragma once
// The program, assembled once: the main window's state and every
// collaborator, wired to the ports of a platform, with the start-up, idle
// and shut-down steps of the resident program. Corvid.exe builds it on the
// Win32 platform; corvid-replay, the tests and the benches on the headless
// one.
#include <algorithm>
#include <functional>
#include <string>
#include <string_view>

#include "actions/action_engine.h"
#include "actions/cursor_hider.h"
#include "actions/mouse_motion.h"
#include "app/foreground_follower.h"
#include "app/hooks.h"
#include "app/idle_trim.h"
#include "app/platform.h"
#include "app/session_replay.h"
#include "app/tray_menu.h"
#include "app/tray_status.h"
#include "base/text_view.h"
#include "config/settings_file.h"
#include "control/launch_actions.h"
#include "osd/osd_message.h"
#include "remote/device_connection.h"
#include "remote/recorded_session.h"
#include "ui/editor_ports.h"
#include "ui/settings_windows.h"

namespace corvid {

// The main window's state as the key map editor edits it.
class EngineMaps : public EditedMaps {
 public:
  EngineMaps(ConfigData& data, ActionEngine& engine) : data_(data), engine_(engine) {}
  KeyMap& ActiveMap() override { return engine_.ActiveMap(); }
  KeyMapTable& Table(bool mouse) override { return mouse ? data_.MouseMap : data_.KeyboardMap; }
  int32_t CurrentAppMap() const override { return engine_.CurrentAppMap(); }
  bool MouseMode() const override { return engine_.MouseMode(); }
  bool Registered(int app) const override { return app >= 0 && app < kAppCount && data_.Apps[app].Registered; }
  void SwitchToKeyboardMode() override { engine_.SwitchToKeyboardMode(); }
  void SwitchToMouseMode() override { engine_.SwitchToMouseMode(); }

 private:
  ConfigData& data_;
  ActionEngine& engine_;
};

// What the environment settings change in the engine beside the settings.
class EngineEnvironment : public EnvironmentHost {
 public:
  explicit EngineEnvironment(ActionEngine& engine) : engine_(engine) {}
  void ApplyRepeatIntervals() override { engine_.ApplyTimerSettings(); }
  void ResetCurrentAppMap() override { engine_.SetCurrentAppMap(0); }

 private:
  ActionEngine& engine_;
};

class HookKeyCapture : public KeyCapture {
 public:
  explicit HookKeyCapture(GlobalHooks& hooks) : hooks_(hooks) {}
  void InstallKeyCaptureHook() override { hooks_.InstallKeyCaptureHook(); }
  void RemoveKeyCaptureHook() override { hooks_.RemoveKeyCaptureHook(); }
  bool& WinKeyLatched() override { return hooks_.WinKeyLatched; }

 private:
  GlobalHooks& hooks_;
};

// What the launch-program settings ask of the program: the action engine's
// App arming, program control, the message window and the window picker.
class EngineLaunchHost : public LaunchHost {
 public:
  EngineLaunchHost(ActionEngine& engine, LaunchActions& programs, DesktopControl& desktop, OsdMessage& osd,
                 GlobalHooks& hooks)
      : engine_(engine), programs_(programs), desktop_(desktop), osd_(osd), hooks_(hooks) {}
  void SetCurrentAppMap(int32_t n) override { engine_.SetCurrentAppMap(n); }
  int32_t HomeMode() const override { return engine_.HomeMode(); }
  bool MouseMode() const override { return engine_.MouseMode(); }
  void ArmApp(int32_t index, bool longPress) override {
    programs_.Search().LastLoggedPid = 0;
    engine_.ArmApp(index, longPress);
  }
  void RunArmedApp() override { engine_.RunArmedApp(); }
  void SetLongPressInterval(int32_t ms) override { engine_.SetLongPressInterval(ms); }
  void QuitAllApps() override { programs_.QuitAllApps(); }
  bool ProgramFileExists(const std::string& path) override { return desktop_.ProgramFileExists(path); }
  void HideMessage() override { osd_.PushOsd(0); }
  void StartWindowPick() override { hooks_.StartWindowPick(); }

 private:
  ActionEngine& engine_;
  LaunchActions& programs_;
  DesktopControl& desktop_;
  OsdMessage& osd_;
  GlobalHooks& hooks_;
};

// The target class box of the launch-program settings, as the picker fills it.
class PickerBox : public PickerTarget {
 public:
  explicit PickerBox(LaunchSettings& dialog) : dialog_(dialog) {}
  void SetTargetClass(std::string_view className) override { dialog_.SetTargetClass(className); }
  void SetPicking(bool picking) override { dialog_.SetPicking(picking); }

 private:
  LaunchSettings& dialog_;
};

class CorvidApp {
 public:
  explicit CorvidApp(Platform& platform);
  ~CorvidApp();
  CorvidApp(const CorvidApp&) = delete;
  CorvidApp& operator=(const CorvidApp&) = delete;

  // The start-up after the single-instance check: the settings loaded (or
  // the factory ones written), the main window with its icon and the
  // message window, then the completion. False when the main window cannot
  // be made.
  bool StartUp();
  // The last step of the start-up: programs recorded to start with Corvid,
  // the mode confirmed, the key map editor shown unless HideStart.
  void CompleteStartUp();
  // The remote is looked for once the message loop runs.
  void StartRemote() { platform_.StartRemote(); }

  // A recorded session in place of the remote; `quitAfter` ends Corvid when
  // it is over (or when there is nothing to play).
  void StartReplay(RecordedSession session, bool quitAfter);
  // The session file could not be read.
  void ReplayUnavailable(std::string_view why, bool quitAfter);
  bool ReplayRunning() const { return replay_.Running(); }

  // Each time the message queue has become empty; true when the working set
  // should be given back to the system now.
  bool OnIdle();
  // The window in front changed (the platform watches it while the setting
  // is on). The map follows the window in front at the next idle step: the
  // system may report a change in the middle of an action's wait, which
  // must not find another map under it, and late: what is in front then
  // counts, not what a report named.
  void ForegroundChanged() { frontChanged_ = true; }
  // The settings and the remote's state as they are now: the window in
  // front watched or not, the icon told what changed. Every change comes
  // from a message, so this runs when the queue has become empty.
  void FollowState();
  void RunTrayCommand(TrayCommand command);
  // "常駐解除(&Q)": the dialogs close, then the main window.
  void Quit();
  // The main window closes: nothing Corvid pressed stays down, the cursor
  // comes back.
  void OnMainWindowClose();

  ConfigData& Data() { return data_; }
  ActionEngine& Engine() { return engine_; }
  OsdMessage& Osd() { return osd_; }
  MouseMotion& Mouse() { return motion_; }
  CursorHider& Hider() { return hider_; }
  GlobalHooks& Hooks() { return hooks_; }
  SettingsFile& Settings() { return settings_; }
  DeviceConnection& Remote() { return connection_; }
  TrayMenu& Menu() { return menu_; }
  LineView& ReceiveLog() { return receiveLog_; }
  LineView& MonitorLines() { return codeMonitor_; }
  LineView& DebugLog() { return debugLog_; }
  SettingsWindows& Windows() { return windows_; }
  // The one-line field above the debug trace: the last match of the target
  // window search.
  TextField& DebugMatch() { return debugMatch_; }
  LaunchActions& Programs() { return programs_; }
  ForegroundFollower& Follower() { return follower_; }
  const TrayStatus& Tray() const { return tray_; }

  // Commands for the settings windows still to come.
  std::function<void(TrayCommand)> onWindowCommand;
  bool EditorVisible() const { return windows_.Editor().Visible(); }
  bool EnvironmentVisible() const { return windows_.Environment().Visible(); }
  bool LaunchSettingsVisible() const { return windows_.LaunchSettingsVisible(); }

  // The monitor's lines of the start-up go 5 s after it.
  Timer monitorClearTimer;

 private:
  // The App actions' marks go to the settings file.
  struct AutoStartFile : AutoStartMarks {
    explicit AutoStartFile(SettingsFile& f) : file(f) {}
    bool SaveAutoStartMarks(uint32_t entries, uint32_t on) override { return file.SaveAutoStartMarks(entries, on); }
    SettingsFile& file;
  };

  Platform& platform_;
  LineView receiveLog_, codeMonitor_, debugLog_;
  TextField debugMatch_;
  OsdMessage osd_;
  ConfigData data_;
  ActionEngine engine_;
  SettingsFile settings_;
  AutoStartFile autoStart_{settings_};
  LaunchActions programs_;
  MouseMotion motion_;
  GlobalHooks hooks_;
  CursorHider hider_;
  DeviceConnection connection_;
  EngineMaps engineMaps_;
  EngineEnvironment engineEnvironment_;
  HookKeyCapture keyCapture_;
  EngineLaunchHost launchHost_;
  SettingsWindows windows_;
  PickerBox pickerBox_{windows_.Launch()};
  SessionReplay replay_;
  TrayMenu menu_;
  IdleTrim trim_;
  ForegroundFollower follower_;
  TrayStatus tray_;
  bool following_ = false;
  bool frontChanged_ = false;
  bool quitAfterReplay_ = false;
  bool closed_ = false;
};

}  // namespace corvid
