#pragma once
// A platform without a desktop: every service records what the core asked
// of it, time moves only when told, files live in memory. corvid-replay
// prints from it; the tests and benches drive and read it.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "actions/cursor_hider.h"
#include "actions/input_sink.h"
#include "actions/mouse_motion.h"
#include "app/hooks.h"
#include "base/texts.h"
#include "app/platform.h"
#include "base/main_window_queue.h"
#include "base/manual_clock.h"
#include "base/message_boxes.h"
#include "base/screen_size.h"
#include "config/file_store.h"
#include "config/settings_text.h"
#include "control/desktop.h"
#include "control/program_control.h"
#include "osd/glyph_renderer.h"
#include "osd/layered_surface.h"
#include "remote/hid_layer.h"
#include "ui/dialog_services.h"

namespace corvid {

class RecordingInputSink : public InputSink {
 public:
  bool Send(const InputEvent& e) override {
    if (keep) events.push_back(e);
    if (onEvent) onEvent(e);
    return !refuse;
  }
  uint16_t ScanCodeOf(uint16_t vk) override { return static_cast<uint16_t>(vk & 0xFF); }
  uint64_t MessageExtraInfo() override { return extraInfo; }

  std::vector<InputEvent> events;
  std::function<void(const InputEvent&)> onEvent;
  bool refuse = false;
  bool keep = true;
  uint64_t extraInfo = 0;
};

class RecordingQueue : public MainWindowQueue {
 public:
  void RemovePendingMouseMessages() override { log.push_back("mouse"); }
  void RemovePendingKeyboardMessages() override { log.push_back("keyboard"); }
  std::vector<std::string> log;
};

class RecordingBoxes : public MessageBoxes {
 public:
  int Show(std::string_view text, std::string_view caption, Kind kind) override;
  struct Box {
    std::string text, caption;
    Kind kind = kOk;
  };
  std::vector<Box> shown;
  int answer = kAnswerYes;
  std::function<void(std::string_view text, std::string_view caption)> onShow;
};

// Files in memory; a path can be made to refuse writes.
class MemoryFileStore : public FileStore {
 public:
  bool Exists(const std::string& path) override { return files.count(path) != 0; }
  bool Read(const std::string& path, std::string& bytes) override;
  bool Replace(const std::string& path, const std::string& bytes, std::string& why) override;
  int64_t Size(const std::string& path) override;
  bool CopyNew(const std::string& from, const std::string& to, std::string& why) override;
  void CreateFolder(const std::string& path) override { folders.push_back(path); }

  std::map<std::string, std::string> files;
  std::set<std::string> readOnly;
  std::vector<std::string> folders;
  int writes = 0;
};

// A screen of a set size; whether the pointer is over one of Corvid's windows
// is set by hand.
class FixedScreen : public ScreenSize, public OwnWindows {
 public:
  int32_t ScreenWidth() override { return width; }
  int32_t ScreenHeight() override { return height; }
  bool IsOverOwnWindow() override { return overOwnWindow; }
  int32_t width = 1920, height = 1080;
  bool overOwnWindow = false;
};

class RecordingCursors : public SystemCursors {
 public:
  bool ReplaceWithBlank() override {
    log.push_back(canCreate ? "blank" : "no blank");
    return canCreate;
  }
  void Restore() override { log.push_back("restore"); }
  std::vector<std::string> log;
  bool canCreate = true;
};

class RecordingHookPlatform : public HookPlatform {
 public:
  HookHandle InstallHook(HookKind kind) override {
    installs.push_back(kind);
    return failInstall ? 0 : ++next;
  }
  bool RemoveHook(HookHandle h) override {
    removed.push_back(h);
    return !failRemove;
  }
  std::string WindowClassAt(int32_t x, int32_t y) override {
    asked.push_back({x, y});
    return windowClass;
  }
  void PostHookWork() override { ++posts; }

  std::vector<HookKind> installs;
  std::vector<HookHandle> removed;
  std::vector<std::pair<int32_t, int32_t>> asked;
  std::string windowClass = "Notepad";
  HookHandle next = 100;
  int posts = 0;
  bool failInstall = false, failRemove = false;
};

// A machine without the remote.
class NoHidDevices : public HidDeviceController {
 public:
  void SetEvents(HidEvents*) override {}
  bool CheckOutByID(HidDevice*& device, uint16_t, uint16_t) override {
    device = nullptr;
    return false;
  }
  void CheckIn(HidDevice*& device) override { device = nullptr; }
};

// Each character 0.6 em wide and 4/3 em high; a text is a solid box.
class BoxGlyphs : public GlyphRenderer {
 public:
  OsdSize Measure(std::string_view text, const OsdFont& font) override;
  void Draw(OsdBitmap& into, std::string_view text, const OsdFont& font, int32_t x, int32_t y, uint32_t colour,
            int32_t antialias) override;
  std::vector<std::string> calls;
  bool record = false;
};

class RecordingSurface : public LayeredSurface {
 public:
  bool Exists() const override { return exists; }
  bool Push(const OsdBitmap& picture, int32_t x, int32_t y, uint8_t alpha) override;
  bool SetAlpha(uint8_t alpha) override;
  void BringToTop() override {
    if (record) log.push_back("top");
  }
  void SetClickThrough(bool on) override { clickThrough = on; }
  bool exists = true;
  bool clickThrough = true;
  bool refuse = false;
  bool record = false;
  std::vector<std::string> log;
};

class RecordingPower : public PowerActions {
 public:
  void Suspend() override { Log("suspend"); }
  void Hibernate() override { Log("hibernate"); }
  void ShutDown() override { Log("exit 1"); }
  void Reboot() override { Log("exit 2"); }
  std::vector<std::string> log;
  std::function<void(const std::string&)> onAction;

 private:
  void Log(std::string what) {
    if (onAction) onAction(what);
    log.push_back(std::move(what));
  }
};

// A few fonts, a vertical one among them.
class FixedFonts : public FontList {
 public:
  std::vector<std::string> ScreenFonts() override { return names; }
  std::vector<std::string> names{"Century Gothic", "@MS Gothic", "MS Gothic", "Arial"};
};

// The colour chooser answers as told and keeps where it was opened.
class ScriptedColours : public ColourChooser {
 public:
  bool Choose(uint32_t& colour) override {
    openedAt.push_back(colour);
    if (answer) colour = *answer;
    return answer.has_value();
  }
  std::optional<uint32_t> answer;  // none: cancelled
  std::vector<uint32_t> openedAt;
};

// A desktop without processes or windows, where no program file exists:
// App buttons do nothing visible.
class EmptyDesktop : public DesktopQuery, public DesktopControl {
 public:
  bool Processes(std::vector<ProcessEntry>&) override { return true; }
  void ForEachWindowOfProcess(uint32_t, const std::function<void(const WindowEntry&)>&) override {}
  InputIdleState InputIdle(uint32_t) override { return InputIdleState::Unknown; }
  std::string BrowserVersion() override { return {}; }

  bool ProgramFileExists(const std::string&) override { return false; }
  uint32_t StartProgram(const std::string&, const std::string&, const std::string&) override { return 0; }
  void PostClose(WindowHandle) override {}
  void PostSysCommand(WindowHandle, uint32_t) override {}
  void ShowNormal(WindowHandle) override {}
  void SetPosition(WindowHandle, WindowHandle, int32_t, int32_t, int32_t, int32_t, uint32_t) override {}
  void SetForeground(WindowHandle) override {}
  bool IsMinimized(WindowHandle) override { return false; }
  bool IsMaximized(WindowHandle) override { return false; }
  bool WindowRect(WindowHandle, ScreenRect&) override { return false; }
  WindowHandle RootOwner(WindowHandle) override { return 0; }
  bool CursorPosition(int32_t&, int32_t&) override { return false; }
  void SetCursorPosition(int32_t, int32_t) override {}
  void LeftClick() override {}
};

class HeadlessPlatform : public Platform {
 public:
  ManualClock clock;
  RecordingInputSink input;
  InputSink* inputSink = &input;  // another sink (the real one) may stand in
  RecordingQueue queue;
  RecordingBoxes boxes;
  MemoryFileStore memoryFiles;
  FileStore* files = &memoryFiles;  // another store (the disk) may stand in
  AnsiCodec* codec = &DefaultCodePage();  // a system whose code page is UTF-8
  std::string configFolder = "/corvid/.corvid/";
  FixedScreen screen;
  RecordingCursors cursors;
  RecordingHookPlatform hooks;
  NoHidDevices noHid;
  HidDeviceController* hid = &noHid;
  BoxGlyphs glyphs;
  RecordingSurface surface;
  RecordingPower power;
  FixedFonts fonts;
  ScriptedColours colours;
  EmptyDesktop emptyDesktop;
  // Another desktop (a test's fake) may stand in.
  DesktopQuery* desktop = &emptyDesktop;
  DesktopControl* desktopControl = &emptyDesktop;

  bool mainWindow = false;
  bool remoteStarted = false;
  bool closed = false;
  int helpOpened = 0;
  uint16_t uiLanguage = kJapaneseLanguageId;
  bool watchingForeground = false;
  std::vector<std::string> tips;  // each tip the icon was given
  int iconChanges = 0, balloons = 0;

  InputSink& Input() override { return *inputSink; }
  TimerHost& Timers() override { return clock; }
  Clock& Time() override { return clock; }
  MainWindowQueue& Queue() override { return queue; }
  MessageBoxes& Boxes() override { return boxes; }
  FileStore& Files() override { return *files; }
  AnsiCodec& Codec() override { return *codec; }
  std::string ConfigFolder() override { return configFolder; }
  ScreenSize& Screen() override { return screen; }
  OwnWindows& Own() override { return screen; }
  SystemCursors& Cursors() override { return cursors; }
  HookPlatform& Hooks() override { return hooks; }
  HidDeviceController& Hid() override { return *hid; }
  GlyphRenderer& Glyphs() override { return glyphs; }
  LayeredSurface& MessageSurface() override { return surface; }
  DesktopQuery& Desktop() override { return *desktop; }
  DesktopControl& ProgramWindows() override { return *desktopControl; }
  PowerActions& Power() override { return power; }
  FontList& Fonts() override { return fonts; }
  ColourChooser& Colours() override { return colours; }

  bool CreateMainWindow(CorvidApp&) override { return mainWindow = true; }
  void CreateSettingsWindows(CorvidApp&) override {}
  void ReleaseApp() override {}
  void StartRemote() override { remoteStarted = true; }
  void CloseMainWindow() override;
  void OpenHelp() override { ++helpOpened; }
  uint16_t UserUiLanguage() override { return uiLanguage; }
  void WatchForeground(bool on) override { watchingForeground = on; }
  void ShowTrayStatus(const TrayStatus& status, TrayStatus::Change change) override {
    if (change.tip) tips.push_back(status.Tip());
    iconChanges += change.icon;
    balloons += change.balloon;
  }

  // What closing the main window does on a desktop; set by the composition
  // object.
  std::function<void()> onClose;
};

}  // namespace corvid
