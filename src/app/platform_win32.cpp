#include "app/platform_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "app/corvid_app.h"
#include "app/help_file.h"
#include "base/text_win32.h"
#include "base/texts.h"
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
    : configFolder_(configFolder.empty() ? FindConfigFolder() : std::move(configFolder)),
      foreground_([this] {
        if (!app_) return;
        app_->ForegroundChanged();
        // The idle step follows it: the loop may be waiting for a message.
        if (MainWindow()) PostMessageW(MainWindow(), WM_NULL, 0, 0);
      }) {}

Win32Platform::~Win32Platform() = default;

bool Win32Platform::CreateMainWindow(CorvidApp& app) {
  app_ = &app;
  hooks_.Attach(&app.Hooks());
  main_ = std::make_unique<MainWindowWin32>(app, queue_, windows_);
  if (!timers_.Exists() || !hooks_.Exists() || !main_->Create()) {
    boxes_.Show(Text(TextId::WindowsUnavailable), "Corvid", MessageBoxes::kOk);
    return false;
  }
  if (osdWindow_.Create(main_->Handle(), app.Osd()))
    windows_.Add(osdWindow_.Handle(), false);  // a click of the remote over it is a whole click
  else
    app.DebugLog().Append("The message window could not be created; messages are not shown.");
  return true;
}

void Win32Platform::CreateSettingsWindows(CorvidApp& app) {
  SettingsWindows& w = app.Windows();
  editor_ = std::make_unique<KeyMapEditorWin32>(w.Editor(), app.ReceiveLog(), windows_);
  editor_->Create();
  monitor_ = std::make_unique<CodeMonitorWin32>(w.Monitor(), windows_);
  monitor_->Create();
  environment_ = std::make_unique<EnvironmentDialogWin32>(w.Environment(), windows_);
  environment_->Create();
  launch_ = std::make_unique<LaunchSettingsWin32>(w.Launch(), windows_);
  launch_->Create();
  debug_ = std::make_unique<DebugWindowWin32>(w.Debug(), windows_);
  debug_->Create();
}

void Win32Platform::ReleaseApp() {
  foreground_.Watch(false);
  app_ = nullptr;
  debug_.reset();
  environment_.reset();
  launch_.reset();
  monitor_.reset();
  editor_.reset();
  main_.reset();  // the message window goes with it
  hooks_.Attach(nullptr);
}

void Win32Platform::WatchForeground(bool on) {
  if (!foreground_.Watch(on) && app_)
    app_->DebugLog().Append("The window in front cannot be watched: the key map does not follow it.");
}

void Win32Platform::ShowTrayStatus(const TrayStatus& status, TrayStatus::Change change) {
  if (main_) main_->ShowStatus(status, change);
}

void Win32Platform::StartRemote() {
  if (!hid_.Create() && app_) app_->DebugLog().Append("The remote's window could not be created; no remote is found.");
}

void Win32Platform::CloseMainWindow() {
  if (main_ && main_->Handle()) PostMessageW(main_->Handle(), WM_CLOSE, 0, 0);
}

namespace {

std::string CurrentFolder() {
  wchar_t buffer[MAX_PATH * 2];
  DWORD n = GetCurrentDirectoryW(MAX_PATH * 2, buffer);
  return n > 0 && n < MAX_PATH * 2 ? Narrow(std::wstring_view(buffer, n)) : std::string();
}

std::string ProgramFolder() {
  wchar_t buffer[MAX_PATH * 2];
  DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 2);
  if (n == 0 || n >= MAX_PATH * 2) return {};
  std::wstring path(buffer, n);
  return Narrow(path.substr(0, path.find_last_of(L'\\')));
}

}  // namespace

void Win32Platform::OpenHelp() {
  HelpLocation where = LocateHelp(CurrentFolder(), ProgramFolder(), [](const std::string& path) {
    DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  });
  if (where.path.empty()) {
    Boxes().Show(HelpMissingText(where), "Corvid");
    return;
  }
  const std::string_view topic = HelpTopic(LanguageInUse());
  if (topic.empty()) {
    ShellExecuteW(MainWindow(), L"open", Widen(where.path).c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
  } else {
    // The viewer opens the file at a page of it given as FILE::/PAGE.
    const std::wstring page = L"\"" + Widen(where.path) + L"::/" + Widen(topic) + L"\"";
    ShellExecuteW(MainWindow(), L"open", L"hh.exe", page.c_str(), nullptr, SW_SHOWDEFAULT);
  }
}

uint16_t Win32Platform::UserUiLanguage() { return GetUserDefaultUILanguage(); }

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
