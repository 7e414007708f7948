#include "ui/settings_windows.h"

namespace corvid {

SettingsWindows::SettingsWindows(const KeyMapEditor::Ports& editor, const EnvironmentDialog::Ports& environment, LineView& monitor,
                                 LineView& trace, TextField& traceMatch, std::array<AppEntry, kAppCount>& apps,
                                 LaunchHost& launchHost)
    : screen_(editor.screen),
      editor_(editor),
      monitor_(monitor),
      environment_(environment),
      debug_(trace, traceMatch),
      launch_(LaunchSettings::Ports{.apps = apps,
                            .host = launchHost,
                            .settings = editor.settings,
                            .editor = editor_,
                            .debug = debug_,
                            .receiveLog = editor.receiveLog,
                            .screen = editor.screen}) {
  // Closing the editor empties and hides the monitor.
  editor_.onClosed = [this] {
    if (monitor_.Visible()) monitor_.Hide();
    launch_.EditorClosed();
  };
  // Closing the debug window takes the dialog's switch for it off.
  debug_.onClosed = [this] { launch_.SetChecked(LaunchCheck::DebugWindow, false); };
}

void SettingsWindows::ShowEditor() { editor_.Show(LaunchSettingsVisible()); }

void SettingsWindows::ShowMonitor() {
  const bool besideLaunch = !editor_.Visible() && launch_.Visible();
  monitor_.Show(besideLaunch ? launch_.Place() : editor_.Place(), screen_.ScreenWidth());
}

void SettingsWindows::ShowLaunchSettings() {
  launch_.Show();
  if (launch_.Check(LaunchCheck::DebugWindow).checked) debug_.Show(launch_.Place(), screen_.ScreenWidth());
  else debug_.Close();
}

void SettingsWindows::CloseForQuit() {
  launch_.Close();
  environment_.Close();
  monitor_.Hide();
  if (editor_.Visible()) editor_.Close();
}

}  // namespace corvid
