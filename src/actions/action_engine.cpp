#include "actions/action_engine.h"

#include <algorithm>

#include "base/texts.h"
#include "remote/button_codes.h"

namespace corvid {

ActionEngine::ActionEngine(ConfigData& data, const ActionPorts& ports)
    : repeatDelayTimer_(ports.timers, 500, [this] { OnRepeatDelay(); }),
      repeatTimer_(ports.timers, 25, [this] { OnRepeat(); }),
      psReleaseTimer_(ports.timers, 5000, [this] { OnPsHeld(); }),
      longPressTimer_(ports.timers, 1000,
                  [this] {
                    longPressTimer_.Stop();  // once per press
                    ports_.apps.OnLongPress();
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
  repeatDelayTimer_.SetInterval(static_cast<uint32_t>(std::max(data_.settings.KeyIdle, 1)));
  repeatTimer_.SetInterval(static_cast<uint32_t>(std::max(data_.settings.KeyRepeat, 1)));
}

void ActionEngine::FreshBuffer() {
  ports_.queue.RemovePendingMouseMessages();
  ports_.queue.RemovePendingKeyboardMessages();
  ports_.boxes.Show(Text(TextId::InputRefused), "Corvid Alart");
}

void ActionEngine::StartKey(uint32_t param, uint16_t key) {
  injector_.PressKey(param, key);
  if (key != 0) repeatDelayTimer_.Start();
}

void ActionEngine::OnRepeatDelay() {
  repeatDelayTimer_.Stop();
  injector_.ReleaseKey(heldParam_, heldKey_);
  injector_.PressKey(heldParam_, heldKey_);
  repeatTimer_.Start();
}

void ActionEngine::OnRepeat() {
  injector_.ReleaseKey(heldParam_, heldKey_);
  injector_.PressKey(heldParam_, heldKey_);
}

void ActionEngine::OnPsHeld() {
  psReleaseTimer_.Stop();
  // The chord state stays: the release report that follows releases again.
  injector_.ReleaseKey(heldParam_, heldKey_);
  if (remoteHeld_) ports_.osd.ShowMessage("Corvid DisConnect.");
}

void ActionEngine::ReleaseEverything() {
  ReleaseHeldInput();
  decoder_.Reset();
}

void ActionEngine::ReleaseHeldInput() {
  StopRepeatTimers();
  psReleaseTimer_.Stop();
  longPressTimer_.Stop();
  if (mouse_) mouse_->SetMouseState(0, 0);
  injector_.ReleaseKey(heldParam_ | injector_.HeldModifiers(), heldKey_);
  injector_.SendMouseButtons(0);
  injector_.SendWheel(0);
  heldParam_ = 0;
  heldKey_ = 0;
  mouseKey_ = 0;
  appArmed_ = false;  // a launch that was waiting for the release is dropped
  if (mouse_) mouse_->ResetFactors();
}

void ActionEngine::ShowAfterWait(std::string_view text) {
  ports_.clock.Sleep(500);
  ports_.osd.ShowMessage(text);
}

void ActionEngine::DispatchCode(uint8_t code) {
  const KeyMapEntry& e = activeMap_[code];
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
    case action::kSuspend: ports_.power.Suspend(); return;
    case action::kHibernate: ports_.power.Hibernate(); return;
    case action::kShutDown: ports_.power.ShutDown(); return;
    case action::kReboot: ports_.power.Reboot(); return;
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
  if (mouseKind && mouseMode_) {
    mouseKey_ = key;
    if (mouse_) mouse_->SetMouseState(decoder_.HeldBits, mouseKey_);
  } else if (release && mouse_ && (mouseKey_ != 0 || mouse_->Holding())) {
    // The mode changed while a mouse action was held: end it here, or a
    // button would stay down and the cursor keep moving. A button held
    // while an empty entry was pressed counts too: that entry set mouseKey_
    // back to 0.
    mouse_->SetMouseState(0, 0);
    mouseKey_ = 0;
  }

  if (mouseKey_ != 0) return;

  if (release) {
    injector_.ReleaseKey(heldParam_, heldKey_);
    psReleaseTimer_.Stop();
    heldParam_ = 0;
    heldKey_ = 0;
    if (mouse_) mouse_->ResetFactors();
    injector_.WheelFactor = 1.0;
    mouseKey_ = 0;
    held.Draw();  // a launch shows its own messages as it goes
    RunArmedApp();
    return;
  }

  heldParam_ |= e.Param;
  if (key != heldKey_) injector_.ReleaseKey(0, heldKey_);
  heldKey_ = key;

  if (code == kButtonPs && data_.settings.NoPsRep) {
    injector_.PressKey(heldParam_, heldKey_);
    held.Draw();
    ports_.clock.Sleep(200);
    psReleaseTimer_.Start();
  } else {
    StartKey(heldParam_, heldKey_);
  }
}

void ActionEngine::ArmApp(int32_t index, bool longPress) {
  appArmed_ = true;
  appIndex_ = index;
  longPressReached_ = false;
  if (longPress && index >= 0 && index < kAppCount) {
    SetLongPressInterval(data_.Apps[index].LongPressTime);
    longPressTimer_.Start();
  }
}

void ActionEngine::SetLongPressInterval(int32_t ms) {
  longPressTimer_.SetInterval(static_cast<uint32_t>(std::max(ms, 1)));
}

void ActionEngine::RunArmedApp() {
  if (!appArmed_) return;
  longPressTimer_.Stop();
  appArmed_ = false;
  ports_.apps.RunAppAction(appIndex_);
}

void ActionEngine::SelectKeyMap(int32_t n, ModeRequest mode) {
  if (n < 0 || n >= kMapCount) n = 0;
  const int map = (n == 0 || data_.Apps[n - 1].OwnKeyMap) ? n : 0;
  const int home = HomeMode();
  const bool keyboard = mode == ModeRequest::Keyboard || (mode == ModeRequest::Home && home == 1);
  const bool homeMouse = mode == ModeRequest::Home && home == 2;
  bool mouseFamily = mouseMode_;
  if (keyboard) mouseFamily = false;
  if (mode == ModeRequest::Mouse || homeMouse) mouseFamily = true;

  if (homeMouse) mouseMode_ = true;
  (mouseFamily ? data_.MouseMap : data_.KeyboardMap).CopyColumn(map, activeMap_);

  if (keyboard) {
    if (mouseMode_) {
      mouseMode_ = false;
      if (data_.settings.DispChange) ShowAfterWait("KBD Mode");
    }
  } else if (mode == ModeRequest::Mouse) {
    if (!mouseMode_) {
      mouseMode_ = true;
      if (data_.settings.DispChange) ShowAfterWait("With Mouse Mode");
    }
  }
}

void ActionEngine::SwitchToKeyboardMode() {
  ports_.receiveLog.Clear();
  if (data_.settings.NoCursor && hiding_) hiding_->StartWaitErase();
  mouseMode_ = false;
  data_.KeyboardMap.CopyColumn(currentAppMap_, activeMap_);
  if (onActiveColumnCopied) onActiveColumnCopied();
  if (currentAppMap_ == 0) {
    ports_.receiveLog.Append(Text(TextId::KeyboardModeSet));
    if (data_.settings.DispChange) ports_.osd.ShowMessage("KBD Mode");
  } else {
    ports_.receiveLog.Append(std::string(Text(TextId::AppKeyboardMapBefore)) + std::to_string(currentAppMap_) +
                             std::string(Text(TextId::AppKeyboardMapAfter)));
    if (data_.settings.DispChange && !ports_.receiveLog.Visible()) ShowAfterWait("KBD Mode");
  }
}

void ActionEngine::SwitchToMouseMode() {
  ports_.receiveLog.Clear();
  if (hiding_) hiding_->StopWaitEraseAndShow();
  mouseMode_ = true;
  data_.MouseMap.CopyColumn(currentAppMap_, activeMap_);
  if (onActiveColumnCopied) onActiveColumnCopied();
  if (currentAppMap_ == 0) {
    ports_.receiveLog.Append(Text(TextId::MouseModeSet));
    if (data_.settings.DispChange) ports_.osd.ShowMessage("With MOUSE Mode");
  } else {
    ports_.receiveLog.Append(std::string(Text(TextId::AppMouseMapBefore)) + std::to_string(currentAppMap_) +
                             std::string(Text(TextId::AppMouseMapAfter)));
    if (data_.settings.DispChange && !ports_.receiveLog.Visible()) ShowAfterWait("With MOUSE Mode");
  }
}

}  // namespace corvid
