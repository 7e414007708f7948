#include "app/corvid_app.h"

#include <string>

#include "base/texts.h"

namespace corvid {

CorvidApp::CorvidApp(Platform& p)
    : monitorClearTimer(p.Timers(), 5000, [this] {
        monitorClearTimer.Stop();
        windows_.ClearMonitor();
      }),
      platform_(p),
      osd_(p.Timers(), p.Glyphs(), p.MessageSurface(), p.Screen(), p.Boxes()),
      engine_(data_, ActionPorts{.input = p.Input(),
                        .timers = p.Timers(),
                        .clock = p.Time(),
                        .osd = osd_,
                        .queue = p.Queue(),
                        .boxes = p.Boxes(),
                        .apps = programs_,  // made below; not used before
                        .power = p.Power(),
                        .receiveLog = receiveLog_,
                        .codeMonitor = codeMonitor_}),
      settings_(data_, p.Files(), p.Codec(), p.Boxes(), p.Screen()),
      programs_(data_.Apps, LaunchPorts{.desktop = p.Desktop(),
                                        .control = p.ProgramWindows(),
                                        .clock = p.Time(),
                                        .osd = osd_,
                                        .screen = p.Screen(),
                                        .host = engine_,
                                        .marks = autoStart_,
                                        .debugLog = debugLog_,
                                        .debugMatch = debugMatch_}),
      motion_(p.Timers(), p.Time(), engine_.Input(), data_.settings, codeMonitor_, p.Screen(), p.Own()),
      hooks_(p.Hooks(), p.Boxes(), p.Time(), p.Input(), data_.settings),
      hider_(p.Timers(), p.Cursors(), hooks_, data_.settings, debugLog_),
      connection_(p.Hid(), engine_, receiveLog_),
      engineMaps_(data_, engine_),
      engineEnvironment_(engine_),
      keyCapture_(hooks_),
      launchHost_(engine_, programs_, p.ProgramWindows(), osd_, hooks_),
      windows_(KeyMapEditor::Ports{.maps = engineMaps_,
                             .settings = settings_,
                             .capture = keyCapture_,
                             .power = p.Power(),
                             .boxes = p.Boxes(),
                             .receiveLog = receiveLog_,
                             .screen = p.Screen()},
               EnvironmentDialog::Ports{.settings = data_.settings,
                             .file = settings_,
                             .osd = osd_,
                             .cursor = hider_,
                             .host = engineEnvironment_,
                             .screen = p.Screen(),
                             .fonts = p.Fonts(),
                             .colours = p.Colours()},
               codeMonitor_, debugLog_, debugMatch_, data_.Apps, launchHost_),
      replay_(
          p.Timers(), [this](uint8_t id, const uint8_t* data, size_t size) { engine_.RemoteReport(id, data, size); },
          [this] {
            // The session is over: whatever it still holds is let go, as
            // when the remote goes away.
            engine_.RemoteGone();
            engine_.RemoteHeldChanged(false);
            if (quitAfterReplay_) Quit();
          }),
      follower_(data_, engine_, p.Desktop(), p.ProgramWindows(), osd_) {
  osd_.Bind(data_.settings, engine_.Decoder().BatteryLevel);
  engine_.SetMouseDriver(&motion_);
  engine_.SetCursorHiding(&hider_);
  hooks_.SetCursorHider(&hider_);
  settings_.SetFolder(p.ConfigFolder());
  // Whoever loads the settings, the timers follow them.
  settings_.onLoaded = [this] {
    engine_.ApplyTimerSettings();
    motion_.ApplyTimerSettings();
  };
  engine_.onActiveColumnCopied = [this] { windows_.Editor().RefreshAllBoxes(); };
  windows_.Monitor().onShownChanged = [this](bool shown) { menu_.SetMonitorChecked(shown); };
  osd_.onDragMove = [this](int32_t x, int32_t y) { windows_.Environment().OsdDragged(x, y); };
  hooks_.SetPickerTarget(&pickerBox_);
  programs_.SetFindButton(&windows_.Launch());
  follower_.paused = [this] { return EditorVisible(); };
}

CorvidApp::~CorvidApp() {
  replay_.Stop();
  // The form outlives the mouse motion and the hider it points at: let go
  // of everything while they are still here.
  if (engine_.HoldsInput()) engine_.ReleaseEverything();
  engine_.SetMouseDriver(nullptr);
  engine_.SetCursorHiding(nullptr);
  hooks_.SetCursorHider(nullptr);
  hooks_.SetPickerTarget(nullptr);
  programs_.SetFindButton(nullptr);
  platform_.ReleaseApp();
}

bool CorvidApp::StartUp() {
  // The boxes of the settings file's reading speak the display language;
  // every window, menu and box after it the language the settings choose.
  UseLanguage(ChooseLanguage("auto", platform_.UserUiLanguage()));
  settings_.StartUp();
  UseLanguage(ChooseLanguage(data_.settings.Language, platform_.UserUiLanguage()));
  tray_ = TrayStatus{};  // its tip in that language
  if (!platform_.CreateMainWindow(*this)) return false;
  monitorClearTimer.Start();
  platform_.CreateSettingsWindows(*this);
  windows_.Created();
  CompleteStartUp();
  return true;
}

void CorvidApp::CompleteStartUp() {
  // The scan for running programs, then each recorded one started, 1000 ms
  // apart.
  programs_.StartRecordedPrograms();
  // Keyboard mode, unless a program started just now chose the mouse for
  // its own map.
  if (engine_.MouseMode()) engine_.SwitchToMouseMode();
  else engine_.SwitchToKeyboardMode();
  if (!data_.settings.HideStart) windows_.ShowEditor();
  FollowState();  // the window in front is looked at once
}

void CorvidApp::StartReplay(RecordedSession session, bool quitAfter) {
  quitAfterReplay_ = quitAfter;
  for (const SessionProblem& p : session.problems)
    receiveLog_.Append("Session line " + std::to_string(p.line) + " skipped: " + p.text);
  // The session is the remote while it plays.
  engine_.RemoteHeldChanged(true);
  replay_.Start(std::move(session));
}

void CorvidApp::ReplayUnavailable(std::string_view why, bool quitAfter) {
  platform_.Boxes().Show(why, "Corvid", MessageBoxes::kOk);
  // Nothing will be played: a run that was to end after the session ends now.
  if (quitAfter) Quit();
}

void CorvidApp::FollowState() {
  const bool follow = data_.settings.FollowForeground;
  if (follow != following_) {
    following_ = follow;
    platform_.WatchForeground(follow);
    // Turned on: the window in front now decides, not the next change.
    frontChanged_ = follow;  // turned on: what is in front now decides
  }
  if (frontChanged_) {
    frontChanged_ = false;
    follower_.ForegroundChanged(platform_.Desktop().ForegroundWindow());
  }
  const TrayStatus::Change change = tray_.Update({.held = engine_.RemoteHeld(),
                                                  .batteryKnown = engine_.Decoder().BatteryRead,
                                                  .battery = engine_.Decoder().BatteryLevel,
                                                  .mouseMode = engine_.MouseMode()});
  if (change.Any()) platform_.ShowTrayStatus(tray_, change);
}

bool CorvidApp::OnIdle() {
  FollowState();
  hider_.ApplicationIdle({.editorVisible = EditorVisible(),
                         .environmentVisible = EnvironmentVisible(),
                         .mouseMode = engine_.MouseMode()});
  return trim_.OnIdle(engine_.Busy());
}

void CorvidApp::RunTrayCommand(TrayCommand command) {
  switch (command) {
    case TrayCommand::None:
    case TrayCommand::OpenMenu:  // the shell opens it
      return;
    case TrayCommand::Quit:
      Quit();
      return;
    case TrayCommand::OpenHelp:
      platform_.OpenHelp();
      return;
    case TrayCommand::ShowKeyMapEditorBasic:
      engine_.SetCurrentAppMap(0);
      windows_.ShowEditor();
      return;
    case TrayCommand::ShowKeyMapEditor:
      windows_.ShowEditor();
      return;
    case TrayCommand::ShowEnvironment:
      windows_.Environment().Show();
      return;
    case TrayCommand::ShowCodeMonitor:
      windows_.ShowMonitor();
      return;
    case TrayCommand::HideCodeMonitor:
      windows_.HideMonitor();
      return;
    case TrayCommand::ShowLaunchSettings:
      windows_.ShowLaunchSettings();
      return;
    default:
      break;
  }
  if (onWindowCommand) onWindowCommand(command);
}

void CorvidApp::Quit() {
  if (onWindowCommand) onWindowCommand(TrayCommand::Quit);
  windows_.CloseForQuit();  // the dialogs close first
  platform_.CloseMainWindow();
}

void CorvidApp::OnMainWindowClose() {
  if (closed_) return;
  closed_ = true;
  replay_.Stop();
  connection_.Close();
  // Nothing Corvid pressed may stay down after it has gone.
  engine_.ReleaseEverything();
  platform_.Queue().RemovePendingMouseMessages();
  platform_.Queue().RemovePendingKeyboardMessages();
  hider_.StopHiding();
}

}  // namespace corvid
