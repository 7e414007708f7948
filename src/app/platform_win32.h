#pragma once
// The Win32 platform: the real input stream, timers, files, cursors, hooks,
// HID layer and message window, and the shell's main window and message loop.
#include <memory>
#include <string>

#include "actions/cursor_hider_win32.h"
#include "actions/input_sink_win32.h"
#include "actions/mouse_motion.h"
#include "app/foreground_hook_win32.h"
#include "app/hooks_win32.h"
#include "app/main_window_win32.h"
#include "app/platform.h"
#include "base/main_window_queue_win32.h"
#include "base/message_boxes_win32.h"
#include "base/screen_size_win32.h"
#include "base/timer_win32.h"
#include "base/window_win32.h"
#include "config/ansi_codec_win32.h"
#include "config/file_store_win32.h"
#include "control/desktop_win32.h"
#include "control/power_win32.h"
#include "osd/glyphs_win32.h"
#include "osd/osd_window_win32.h"
#include "remote/hid_layer_win32.h"
#include "ui/code_monitor_win32.h"
#include "ui/dialog_services_win32.h"
#include "ui/environment_dialog_win32.h"
#include "ui/key_map_editor_win32.h"
#include "ui/launch_settings_win32.h"

namespace corvid {

// The pointer is over the main window or one of the settings windows.
class Win32OwnWindows : public OwnWindows {
 public:
  explicit Win32OwnWindows(const Win32WindowRegistry& windows) : windows_(windows) {}
  bool IsOverOwnWindow() override;

 private:
  const Win32WindowRegistry& windows_;
};

class Win32Platform : public Platform {
 public:
  // `configFolder` empty: "\.corvid\" under the user's documents folder.
  explicit Win32Platform(std::string configFolder = {});
  ~Win32Platform() override;

  InputSink& Input() override { return input_; }
  TimerHost& Timers() override { return timers_; }
  Clock& Time() override { return clock_; }
  MainWindowQueue& Queue() override { return queue_; }
  MessageBoxes& Boxes() override { return boxes_; }
  FileStore& Files() override { return files_; }
  AnsiCodec& Codec() override { return codec_; }
  std::string ConfigFolder() override { return configFolder_; }
  ScreenSize& Screen() override { return screen_; }
  OwnWindows& Own() override { return own_; }
  SystemCursors& Cursors() override { return cursors_; }
  HookPlatform& Hooks() override { return hooks_; }
  HidDeviceController& Hid() override { return hid_; }
  GlyphRenderer& Glyphs() override { return glyphs_; }
  LayeredSurface& MessageSurface() override { return osdWindow_; }
  DesktopQuery& Desktop() override { return desktop_; }
  DesktopControl& ProgramWindows() override { return desktopControl_; }
  PowerActions& Power() override { return power_; }
  FontList& Fonts() override { return fonts_; }
  ColourChooser& Colours() override { return colours_; }

  bool CreateMainWindow(CorvidApp& app) override;
  void CreateSettingsWindows(CorvidApp& app) override;
  void ReleaseApp() override;
  void StartRemote() override;
  void CloseMainWindow() override;
  void OpenHelp() override;
  uint16_t UserUiLanguage() override;
  void WatchForeground(bool on) override;
  void ShowTrayStatus(const TrayStatus& status, TrayStatus::Change change) override;

  // The message loop, until the main window is gone; the idle step runs
  // each time the queue is empty.
  int RunMessageLoop(CorvidApp& app);

  Win32WindowRegistry& Windows() { return windows_; }
  HWND MainWindow() const { return main_ ? main_->Handle() : nullptr; }
  MainWindowWin32* Main() const { return main_.get(); }
  const ForegroundHookWin32& ForegroundHook() const { return foreground_; }
  KeyMapEditorWin32* Editor() const { return editor_.get(); }
  HWND MonitorWindow() const { return monitor_ ? monitor_->Handle() : nullptr; }
  EnvironmentDialogWin32* Environment() const { return environment_.get(); }

 private:
  Win32WindowRegistry windows_;
  Win32InputSink input_;
  Win32TimerHost timers_;
  Win32Clock clock_;
  Win32Queue queue_;
  Win32MessageBoxes boxes_;
  Win32FileStore files_;
  AnsiCodecWin32 codec_;
  std::string configFolder_;
  Win32ScreenSize screen_;
  Win32OwnWindows own_{windows_};
  Win32SystemCursors cursors_;
  Win32HookPlatform hooks_;
  HidControllerWin32 hid_;
  GdiGlyphRenderer glyphs_;
  OsdWindowWin32 osdWindow_;
  Win32DesktopQuery desktop_;
  Win32DesktopControl desktopControl_;
  Win32Power power_;
  Win32FontList fonts_;
  Win32ColourChooser colours_;
  CorvidApp* app_ = nullptr;
  ForegroundHookWin32 foreground_;
  std::unique_ptr<MainWindowWin32> main_;
  std::unique_ptr<KeyMapEditorWin32> editor_;
  std::unique_ptr<CodeMonitorWin32> monitor_;
  std::unique_ptr<EnvironmentDialogWin32> environment_;
  std::unique_ptr<LaunchSettingsWin32> launch_;
  std::unique_ptr<DebugWindowWin32> debug_;
};

}  // namespace corvid
