#pragma once
// The settings windows together: the key map editor, the code monitor, the
// environment settings, the launch-program settings and the debug window,
// and what opening or closing one does to the others.
#include "ui/code_monitor.h"
#include "ui/environment_dialog.h"
#include "ui/key_map_editor.h"
#include "ui/launch_settings.h"

namespace corvid {

class SettingsWindows {
 public:
  SettingsWindows(const TForm2::Ports& editor, const TForm4::Ports& environment, LineView& monitor, LineView& trace,
                  TextField& traceMatch, std::array<AppEntry, kAppCount>& apps, LaunchHost& launchHost);

  TForm2& Editor() { return editor_; }
  const TForm2& Editor() const { return editor_; }
  TForm3& Monitor() { return monitor_; }
  TForm4& Environment() { return environment_; }
  const TForm4& Environment() const { return environment_; }
  TForm5& Launch() { return launch_; }
  TForm6& Debug() { return debug_; }

  // The editor shown, in front; `launchDialogVisible` as FormShow needs it.
  void ShowEditor();
  // The monitor beside the window it watches with: the editor, or the
  // launch-program settings when only they show.
  void ShowMonitor();
  void HideMonitor() { monitor_.Hide(); }
  // The windows exist: their creation handlers.
  void FormCreate() { environment_.FormCreate(); }
  // The launch-program settings, with the debug window beside them when
  // their switch for it is on.
  void ShowLaunchSettings();
  // "常駐解除(&Q)": the dialogs close in their order, the editor last.
  void CloseForQuit();
  // The main window's RecoverTimer, once, 5 s after the start.
  void RecoverTimerTimer() { monitor_.Memo1().Clear(); }

  bool LaunchSettingsVisible() const { return launch_.Visible(); }

 private:
  ScreenSize& screen_;
  TForm2 editor_;
  TForm3 monitor_;
  TForm4 environment_;
  TForm6 debug_;
  TForm5 launch_;
};

}  // namespace corvid
