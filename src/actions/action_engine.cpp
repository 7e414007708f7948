#include "actions/action_engine.h"

#include <algorithm>

#include "base/texts.h"
#include "remote/button_codes.h"

namespace corvid {

ActionEngine::ActionEngine(ConfigData& data, const ActionPorts& ports)
    : DelayTimer(ports.timers, 500, [this] { DelayTimerTimer(); }),
      RepeatTimer(ports.timers, 25, [this] { RepeatTimerTimer(); }),
      DisConnect(ports.timers, 5000, [this] { DisConnectTimer(); }),
      DisableExec(ports.timers, 1000,
                  [this] {
                    DisableExec.Stop();  // once per press
                    ports_.apps.DisableExecTimer();
                  }),
      data_(data),
      ports_(ports),
      injector_(ports.input, ports.codeMonitor, [this] { FreshBuffer(); },
                [this] { return mouse_ ? mouse_->SpeedBits() : 0u; }),
      decoder_(*this, ports.receiveLog) {
  ApplyTimerSettings();
}

ActionEngine::~ActionEngine() {
  // However Corvid ends (an error escaping the loop included), no key or
  // button it pressed stays down.
  if (HoldsInput()) ReleaseEverything();
}

void ActionEngine::ApplyTimerSettings() {
  DelayTimer.SetInterval(static_cast<uint32_t>(std::max(data_.settings.KeyIdle, 1)));
  RepeatTimer.SetInterval(static_cast<uint32_t>(std::max(data_.settings.KeyRepeat, 1)));
}

void ActionEngine::FreshBuffer() {
  ports_.queue.RemovePendingMouseMessages();
  ports_.queue.RemovePendingKeyboardMessages();
  ports_.boxes.Show(Text(TextId::InputRefused), "Corvid Alart");
}

void ActionEngine::StartKey(uint32_t param, uint16_t key) {
  injector_.PressKey(param, key);
  if (key != 0) DelayTimer.Start();
}

void ActionEngine::DelayTimerTimer() {
  DelayTimer.Stop();
  injector_.ReleaseKey(CurParam, CurKey);
  injector_.PressKey(CurParam, CurKey);
  RepeatTimer.Start();
}

void ActionEngine::RepeatTimerTimer() {
  injector_.ReleaseKey(CurParam, CurKey);
  injector_.PressKey(CurParam, CurKey);
}

void ActionEngine::DisConnectTimer() {
  DisConnect.Stop();
  // The chord state stays: the release report that follows releases again.
  injector_.ReleaseKey(CurParam, CurKey);
  if (RemoteHeld) ports_.osd.ShowMessage("Corvid DisConnect.");
}

void ActionEngine::ReleaseEverything() {
  ReleaseHeldInput();
  decoder_.PrevMask = 0;
  decoder_.HeldName.clear();
}

void ActionEngine::ReleaseHeldInput() {
  StopRepeatTimers();
  DisConnect.Stop();
  DisableExec.Stop();
  if (mouse_) mouse_->SetMouseState(0, 0);
  injector_.ReleaseKey(CurParam | injector_.HeldModifiers(), CurKey);
  injector_.SendMouseButtons(0);
  injector_.SendWheel(0);
  CurParam = 0;
  CurKey = 0;
  MouseKey = 0;
  AppArmed = false;  // a launch that was waiting for the release is dropped
  if (mouse_) mouse_->ResetFactors();
}

void ActionEngine::ShowAfterWait(std::string_view text) {
  ports_.clock.Sleep(500);
  ports_.osd.ShowMessage(text);
}

void ActionEngine::DispatchCode(uint8_t code) {
  const KeyMapEntry& e = ActiveMap[code];
  const bool release = code == kNoButton;
  const uint16_t key = e.Key;
  HeldDrawing held(ports_.osd);

  if (!release && data_.settings.DispMessage && key != action::kApp && key != action::kMouseMove &&
      key != action::kMouseButton)
    ports_.osd.ShowMessage(e.Message);

  if (decoder_.BatteryLevel < 2) {
    ports_.receiveLog.Append(Text(TextId::BatteryLow));
    ports_.osd.ShowMessage("Low Battery Life. Let's it Change. ");
    if (data_.settings.LowBattSkip) {
      ports_.queue.RemovePendingMouseMessages();
      ports_.queue.RemovePendingKeyboardMessages();
      // Skipping also the release would leave keys and modifiers down in
      // the system for as long as the battery stays low; an App press
      // waiting for it is dropped with it, or a later release would run it.
      // How the next report is read is the decoder's and stays as it is.
      if (release) ReleaseHeldInput();
      return;
    }
  }

  if (key >= action::kSuspend && key <= action::kReboot) held.Draw();  // its message before the system goes
  switch (key) {
    case action::kSuspend: ports_.power.SuspendSystem(false); return;
    case action::kHibernate: ports_.power.SuspendSystem(true); return;
    case action::kShutDown: ports_.power.ExitSystem(1); return;
    case action::kReboot: ports_.power.ExitSystem(2); return;
    default: break;
  }

  if (key == action::kApp) {
    const auto index = static_cast<int32_t>(e.Param);
    ArmApp(index, index >= 0 && index < kAppCount && data_.Apps[index].LongPressQuit);
    // It presses no key: its Param is an App index, which as modifier bits
    // would hold Alt (App-2) or Ctrl+Alt (All Quit) down, with a stray key 7
    // repeating, in the window in front.
    return;
  }

  const bool mouseKind = key == action::kNone || key == action::kMouseMove ||
                         key == action::kMouseButton || key == action::kMouseWheel;
  if (mouseKind && MouseMode) {
    MouseKey = key;
    if (mouse_) mouse_->SetMouseState(decoder_.HeldBits, MouseKey);
  } else if (release && mouse_ && (MouseKey != 0 || mouse_->Holding())) {
    // The mode changed while a mouse action was held: end it here, or a
    // button would stay down and the cursor keep moving. A button held
    // while an empty entry was pressed counts too: that entry set MouseKey
    // back to 0.
    mouse_->SetMouseState(0, 0);
    MouseKey = 0;
  }

  if (MouseKey != 0) return;

  if (release) {
    injector_.ReleaseKey(CurParam, CurKey);
    DisConnect.Stop();
    CurParam = 0;
    CurKey = 0;
    if (mouse_) mouse_->ResetFactors();
    injector_.WheelFactor = 1.0;
    MouseKey = 0;
    held.Draw();  // a launch shows its own messages as it goes
    RunArmedApp();
    return;
  }

  CurParam |= e.Param;
  if (key != CurKey) injector_.ReleaseKey(0, CurKey);
  CurKey = key;

  if (code == kButtonPs && data_.settings.NoPsRep) {
    injector_.PressKey(CurParam, CurKey);
    held.Draw();
    ports_.clock.Sleep(200);
    DisConnect.Start();
  } else {
    StartKey(CurParam, CurKey);
  }
}

void ActionEngine::ArmApp(int32_t index, bool longPress) {
  AppArmed = true;
  AppIndex = index;
  LongPressReached = false;
  if (longPress && index >= 0 && index < kAppCount) {
    DisableExec.SetInterval(static_cast<uint32_t>(std::max(data_.Apps[index].LongPressTime, 1)));
    DisableExec.Start();
  }
}

void ActionEngine::RunArmedApp() {
  if (!AppArmed) return;
  DisableExec.Stop();
  AppArmed = false;
  ports_.apps.RunAppAction(AppIndex);
}

void ActionEngine::SelectKeyMap(int32_t n, int32_t modeRequest) {
  if (n < 0 || n >= kMapCount) n = 0;
  const int map = (n == 0 || data_.Apps[n - 1].OwnKeyMap) ? n : 0;
  const int home = HomeMode();
  bool mouseFamily = MouseMode;
  if (modeRequest == 1 || (modeRequest == 3 && home == 1)) mouseFamily = false;
  if (modeRequest == 2 || (modeRequest == 3 && home == 2)) mouseFamily = true;

  if (modeRequest == 3 && home == 2) MouseMode = true;
  (mouseFamily ? data_.MouseMap : data_.KeyboardMap).CopyColumn(map, ActiveMap);

  if (modeRequest == 1 || (modeRequest == 3 && home == 1)) {
    if (MouseMode) {
      MouseMode = false;
      if (data_.settings.DispChange) ShowAfterWait("KBD Mode");
    }
  } else if (modeRequest == 2) {
    if (!MouseMode) {
      MouseMode = true;
      if (data_.settings.DispChange) ShowAfterWait("With Mouse Mode");
    }
  }
}

void ActionEngine::SwitchToKeyboardMode() {
  ports_.receiveLog.Clear();
  if (data_.settings.NoCursor && hiding_) hiding_->StartWaitErase();
  MouseMode = false;
  data_.KeyboardMap.CopyColumn(CurrentAppMap, ActiveMap);
  if (onActiveColumnCopied) onActiveColumnCopied();
  if (CurrentAppMap == 0) {
    ports_.receiveLog.Append(Text(TextId::KeyboardModeSet));
    if (data_.settings.DispChange) ports_.osd.ShowMessage("KBD Mode");
  } else {
    ports_.receiveLog.Append(std::string(Text(TextId::AppKeyboardMapBefore)) + std::to_string(CurrentAppMap) +
                             std::string(Text(TextId::AppKeyboardMapAfter)));
    if (data_.settings.DispChange && !ports_.receiveLog.Visible()) ShowAfterWait("KBD Mode");
  }
}

void ActionEngine::SwitchToMouseMode() {
  ports_.receiveLog.Clear();
  if (hiding_) hiding_->StopWaitEraseAndShow();
  MouseMode = true;
  data_.MouseMap.CopyColumn(CurrentAppMap, ActiveMap);
  if (onActiveColumnCopied) onActiveColumnCopied();
  if (CurrentAppMap == 0) {
    ports_.receiveLog.Append(Text(TextId::MouseModeSet));
    if (data_.settings.DispChange) ports_.osd.ShowMessage("With MOUSE Mode");
  } else {
    ports_.receiveLog.Append(std::string(Text(TextId::AppMouseMapBefore)) + std::to_string(CurrentAppMap) +
                             std::string(Text(TextId::AppMouseMapAfter)));
    if (data_.settings.DispChange && !ports_.receiveLog.Visible()) ShowAfterWait("With MOUSE Mode");
  }
}

}  // namespace corvid
