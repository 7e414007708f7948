#pragma once
// What Corvid runs on: the services its subsystems act through and the
// windows of the shell. Corvid.exe hands the composition object the Win32
// platform; corvid-replay, the tests and the benches the headless one.
#include <string>

#include "app/tray_status.h"

namespace corvid {

class InputSink;
class TimerHost;
class Clock;
class MainWindowQueue;
class MessageBoxes;
class FileStore;
class AnsiCodec;
class ScreenSize;
class OwnWindows;
class SystemCursors;
class HookPlatform;
class HidDeviceController;
class GlyphRenderer;
class LayeredSurface;
class DesktopQuery;
class DesktopControl;
class PowerActions;
class FontList;
class ColourChooser;
class CorvidApp;

class Platform {
 public:
  virtual ~Platform() = default;

  virtual InputSink& Input() = 0;
  virtual TimerHost& Timers() = 0;
  virtual Clock& Time() = 0;
  virtual MainWindowQueue& Queue() = 0;
  virtual MessageBoxes& Boxes() = 0;
  virtual FileStore& Files() = 0;
  // The system's ANSI code page, the settings file's encoding.
  virtual AnsiCodec& Codec() = 0;
  // The folder of the settings file, ending in a path separator.
  virtual std::string ConfigFolder() = 0;
  virtual ScreenSize& Screen() = 0;
  virtual OwnWindows& Own() = 0;
  virtual SystemCursors& Cursors() = 0;
  virtual HookPlatform& Hooks() = 0;
  virtual HidDeviceController& Hid() = 0;
  virtual GlyphRenderer& Glyphs() = 0;
  virtual LayeredSurface& MessageSurface() = 0;
  // The processes and windows of the desktop, and what program control does
  // to them.
  virtual DesktopQuery& Desktop() = 0;
  virtual DesktopControl& ProgramWindows() = 0;
  virtual PowerActions& Power() = 0;
  // For the environment settings: the installed fonts, the colour chooser.
  virtual FontList& Fonts() = 0;
  virtual ColourChooser& Colours() = 0;

  // The main window's creation: the notification icon and the message
  // window. False when the main window cannot be made.
  virtual bool CreateMainWindow(CorvidApp& app) = 0;
  // The settings windows' views (the editor, the monitor, the debug window).
  virtual void CreateSettingsWindows(CorvidApp& app) = 0;
  // The program is going: every window that shows it goes first.
  virtual void ReleaseApp() = 0;
  // The remote is looked for once the message loop runs.
  virtual void StartRemote() = 0;
  // Closes the main window; its close runs CorvidApp::OnMainWindowClose and the
  // message loop ends.
  virtual void CloseMainWindow() = 0;
  // Opens the help file (relative to the current folder), at the pages of
  // the language in use.
  virtual void OpenHelp() = 0;
  // The user's display language, a Windows language identifier.
  virtual uint16_t UserUiLanguage() = 0;
  // The window in front is watched, or no longer; each change goes to
  // CorvidApp::ForegroundChanged.
  virtual void WatchForeground(bool on) {}
  // The notification icon shows what `change` names of the status anew.
  virtual void ShowTrayStatus(const TrayStatus& status, TrayStatus::Change change) {}
};

}  // namespace corvid
