#include "app/corvid_app.h"

#include <string>

namespace corvid {

CorvidApp::CorvidApp(Platform& p)
    : RecoverTimer(p.Timers(), 5000, [this] {
        RecoverTimer.Stop();
        windows_.RecoverTimerTimer();
      }),
      platform_(p),
      osd_(p.Timers(), p.Glyphs(), p.MessageSurface(), p.Screen(), p.Boxes()),
      form_(ActionPorts{.input = p.Input(),
                        .timers = p.Timers(),
                        .clock = p.Time(),
                        .osd = osd_,
                        .queue = p.Queue(),
                        .boxes = p.Boxes(),
                        .apps = programs_,  // made below; not used before
                        .power = p.Power(),
                        .receiveLog = receiveLog_,
                        .codeMonitor = codeMonitor_}),
      settings_(form_, p.Files(), p.Codec(), p.Boxes(), p.Screen()),
      programs_(form_.Apps, LaunchPorts{.desktop = p.Desktop(),
                                        .control = p.ProgramWindows(),
                                        .clock = p.Time(),
                                        .osd = osd_,
                                        .screen = p.Screen(),
                                        .host = form_,
                                        .marks = autoStart_,
                                        .debugLog = debugLog_,
                                        .debugMatch = debugMatch_}),
      motion_(p.Timers(), p.Time(), form_.Input(), form_.settings, codeMonitor_, p.Screen(), p.Own()),
      hooks_(p.Hooks(), p.Boxes(), p.Time(), p.Input(), form_.settings),
      hider_(p.Timers(), p.Cursors(), hooks_, form_.settings, debugLog_),
      connection_(p.Hid(), form_, receiveLog_),
      formMaps_(form_),
      formEnvironment_(form_),
      keyCapture_(hooks_),
      launchHost_(form_, programs_, p.ProgramWindows(), osd_, hooks_),
      windows_(TForm2::Ports{.maps = formMaps_,
                             .settings = settings_,
                             .capture = keyCapture_,
                             .power = p.Power(),
                             .boxes = p.Boxes(),
                             .receiveLog = receiveLog_,
                             .screen = p.Screen()},
               TForm4::Ports{.settings = form_.settings,
                             .file = settings_,
                             .osd = osd_,
                             .cursor = hider_,
                             .host = formEnvironment_,
                             .screen = p.Screen(),
                             .fonts = p.Fonts(),
                             .colours = p.Colours()},
               codeMonitor_, debugLog_, debugMatch_, form_.Apps, launchHost_),
      replay_(
          p.Timers(), [this](uint8_t id, const uint8_t* data, size_t size) { form_.RemoteReport(id, data, size); },
          [this] {
            // The session is over: whatever it still holds is let go, as
            // when the remote goes away.
            form_.RemoteGone();
            form_.RemoteHeldChanged(false);
            if (quitAfterReplay_) Quit();
          }),
      follower_(form_, p.Desktop(), p.ProgramWindows(), osd_) {
  osd_.Bind(form_.settings, form_.Decoder().BatteryLevel);
  form_.SetMouseDriver(&motion_);
  form_.SetCursorHiding(&hider_);
  hooks_.SetCursorHider(&hider_);
  settings_.SetFolder(p.ConfigFolder());
  // Whoever loads the settings, the timers follow them.
  settings_.onLoaded = [this] {
    form_.ApplyTimerSettings();
    motion_.ApplyTimerSettings();
  };
  form_.onActiveColumnCopied = [this] { windows_.Editor().RefreshAllBoxes(); };
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
  if (form_.HoldsInput()) form_.ReleaseEverything();
  form_.SetMouseDriver(nullptr);
  form_.SetCursorHiding(nullptr);
  hooks_.SetCursorHider(nullptr);
  hooks_.SetPickerTarget(nullptr);
  programs_.SetFindButton(nullptr);
  platform_.ReleaseApp();
}

bool CorvidApp::StartUp() {
  settings_.StartUp();
  if (!platform_.FormCreate(*this)) return false;
  RecoverTimer.Start();
  platform_.CreateForms(*this);
  windows_.FormCreate();
  CompleteStartUp();
  return true;
}

void CorvidApp::CompleteStartUp() {
  // The scan for running programs, then each recorded one started, 1000 ms
  // apart.
  programs_.StartRecordedPrograms();
  // Keyboard mode, unless a program started just now chose the mouse for
  // its own map.
  if (form_.MouseMode) form_.SwitchToMouseMode();
  else form_.SwitchToKeyboardMode();
  if (!form_.settings.HideStart) windows_.ShowEditor();
  FollowState();  // the window in front is looked at once
}

void CorvidApp::StartReplay(RecordedSession session, bool quitAfter) {
  quitAfterReplay_ = quitAfter;
  for (const SessionProblem& p : session.problems)
    receiveLog_.Append("Session line " + std::to_string(p.line) + " skipped: " + p.text);
  // The session is the remote while it plays.
  form_.RemoteHeldChanged(true);
  replay_.Start(std::move(session));
}

void CorvidApp::ReplayUnavailable(std::string_view why, bool quitAfter) {
  platform_.Boxes().Show(why, "Corvid", MessageBoxes::kOk);
  // Nothing will be played: a run that was to end after the session ends now.
  if (quitAfter) Quit();
}

void CorvidApp::FollowState() {
  const bool follow = form_.settings.FollowForeground;
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
  const TrayStatus::Change change = tray_.Update({.held = form_.RemoteHeld,
                                                  .batteryKnown = form_.Decoder().BatteryRead,
                                                  .battery = form_.Decoder().BatteryLevel,
                                                  .mouseMode = form_.MouseMode});
  if (change.Any()) platform_.ShowTrayStatus(tray_, change);
}

bool CorvidApp::OnIdle() {
  FollowState();
  hider_.ApplicationIdle(EditorVisible(), EnvironmentVisible(), form_.MouseMode);
  return trim_.OnIdle(form_.Busy());
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
      form_.CurrentAppMap = 0;
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

void CorvidApp::FormClose() {
  if (closed_) return;
  closed_ = true;
  replay_.Stop();
  connection_.Close();
  // Nothing Corvid pressed may stay down after it has gone.
  form_.ReleaseEverything();
  platform_.Queue().RemovePendingMouseMessages();
  platform_.Queue().RemovePendingKeyboardMessages();
  hider_.FormClose();
}

}  // namespace corvid
