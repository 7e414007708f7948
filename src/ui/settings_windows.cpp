#include "ui/settings_windows.h"

namespace corvid {

SettingsWindows::SettingsWindows(const TForm2::Ports& editor, const TForm4::Ports& environment, LineView& monitor,
                                 LineView& trace, TextField& traceMatch)
    : screen_(editor.screen), editor_(editor), monitor_(monitor), environment_(environment), debug_(trace, traceMatch) {
  // Closing the editor empties and hides the monitor.
  editor_.onFormClose = [this] {
    if (monitor_.Visible()) monitor_.Hide();
  };
}

void SettingsWindows::ShowEditor() { editor_.Show(LaunchSettingsVisible()); }

void SettingsWindows::CloseForQuit() {
  environment_.Close();
  monitor_.Hide();
  if (editor_.Visible()) editor_.Close();
}

}  // namespace corvid
