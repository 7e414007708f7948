#include "app/platform_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "app/corvid_app.h"
#include "config/config_folder_win32.h"

namespace corvid {

bool Win32OwnWindows::IsOverOwnWindow() {
  POINT p;
  if (!GetCursorPos(&p)) return false;
  // The window directly under the cursor, as the user sees it: a control of
  // a form is not the form.
  return windows_.Contains(WindowFromPoint(p));
}

Win32Platform::Win32Platform(std::string configFolder)
    : configFolder_(configFolder.empty() ? FindConfigFolder() : std::move(configFolder)) {}

Win32Platform::~Win32Platform() = default;

bool Win32Platform::FormCreate(CorvidApp& app) {
  hooks_.Attach(&app.Hooks());
  main_ = std::make_unique<MainWindowWin32>(app, queue_, windows_);
  if (!main_->Create()) return false;
  if (osdWindow_.Create(main_->Handle(), app.Osd()))
    windows_.Add(osdWindow_.Handle(), false);  // a click of the remote over it is a whole click
  else
    app.DebugLog().Append("The message window could not be created; messages are not shown.");
  return true;
}

void Win32Platform::CreateForms(CorvidApp& app) {
  SettingsWindows& w = app.Windows();
  editor_ = std::make_unique<KeyMapEditorWin32>(w.Editor(), app.ReceiveLog(), windows_);
  editor_->Create();
  monitor_ = std::make_unique<CodeMonitorWin32>(w.Monitor(), windows_);
  monitor_->Create();
  launch_ = std::make_unique<LaunchSettingsWin32>(w.Launch(), windows_);
  launch_->Create();
  debug_ = std::make_unique<DebugWindowWin32>(w.Debug(), windows_);
  debug_->Create();
}

void Win32Platform::ReleaseApp() {
  debug_.reset();
  launch_.reset();
  monitor_.reset();
  editor_.reset();
  main_.reset();  // the message window goes with it
  hooks_.Attach(nullptr);
}

void Win32Platform::StartRemote() { hid_.Create(); }

void Win32Platform::CloseMainWindow() {
  if (main_ && main_->Handle()) PostMessageW(main_->Handle(), WM_CLOSE, 0, 0);
}

void Win32Platform::OpenHelp() {
  ShellExecuteA(MainWindow(), "open", kHelpFile, nullptr, nullptr, 10);
}

int Win32Platform::RunMessageLoop(CorvidApp& app) {
  return RunMessagePump(
      windows_,
      [&app] {
        if (app.OnIdle()) SetProcessWorkingSetSize(GetCurrentProcess(), SIZE_MAX, SIZE_MAX);
      },
      // Also when a loop of the system's swallowed the end message.
      [this] { return main_ && !main_->Handle(); });
}

}  // namespace corvid
