#pragma once
// The settings windows together: the key map editor, the code monitor, the
// environment settings, the launch-program settings and the debug window,
// and what opening or closing one does to the others.
#include "ui/code_monitor.h"
#include "ui/debug_window.h"
#include "ui/environment_dialog.h"
#include "ui/key_map_editor.h"
#include "ui/launch_settings.h"

namespace corvid {

class SettingsWindows {
 public:
  SettingsWindows(const KeyMapEditor::Ports& editor, const EnvironmentDialog::Ports& environment, LineView& monitor, LineView& trace,
                  TextField& traceMatch, std::array<AppEntry, kAppCount>& apps, LaunchHost& launchHost);

  KeyMapEditor& Editor() { return editor_; }
  const KeyMapEditor& Editor() const { return editor_; }
  CodeMonitor& Monitor() { return monitor_; }
  EnvironmentDialog& Environment() { return environment_; }
  const EnvironmentDialog& Environment() const { return environment_; }
  LaunchSettings& Launch() { return launch_; }
  DebugWindow& Debug() { return debug_; }

  // The editor shown, in front; `launchDialogVisible` as showing it needs.
  void ShowEditor();
  // The monitor beside the window it watches with: the editor, or the
  // launch-program settings when only they show.
  void ShowMonitor();
  void HideMonitor() { monitor_.Hide(); }
  // The windows exist: their creation handlers.
  void Created() { environment_.Created(); }
  // The launch-program settings, with the debug window beside them when
  // their switch for it is on.
  void ShowLaunchSettings();
  // "常駐解除(&Q)": the dialogs close in their order, the editor last.
  void CloseForQuit();
  // The monitor's lines of the start-up go, once, 5 s after it.
  void ClearMonitor() { monitor_.Lines().Clear(); }

  bool LaunchSettingsVisible() const { return launch_.Visible(); }

 private:
  ScreenSize& screen_;
  KeyMapEditor editor_;
  CodeMonitor monitor_;
  EnvironmentDialog environment_;
  DebugWindow debug_;
  LaunchSettings launch_;
};

}  // namespace corvid
