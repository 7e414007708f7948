// The dispatch of a decoded button code to its action, and the key map and
// mode switches.
#include <algorithm>

#include "app/tform1.h"
#include "remote/button_codes.h"

namespace corvid {

void TForm1::ShowAfterWait(std::string_view text) {
  services_.clock.Sleep(500);
  services_.osd.ShowMessage(text);
}

void TForm1::DispatchCode(uint8_t code) {
  const KeyMapEntry& e = ActiveMap[code];
  const bool release = code == kNoButton;
  const uint16_t key = e.Key;

  if (!release && settings.DispMessage && key != action::kApp && key != action::kMouseMove &&
      key != action::kMouseButton)
    services_.osd.ShowMessage(e.Message);

  if (decoder_.BatteryLevel < 2) {
    services_.receiveLog.Append("バッテリー不足です。");
    services_.osd.ShowMessage("Low Battery Life. Let's it Change. ");
    if (settings.LowBattSkip) {
      services_.queue.RemovePendingMouseMessages();
      services_.queue.RemovePendingKeyboardMessages();
      // Skipping also the release would leave keys and modifiers down in
      // the system for as long as the battery stays low.
      if (release) ReleaseEverything();
      return;
    }
  }

  switch (key) {
    case action::kSuspend: services_.power.SuspendSystem(false); return;
    case action::kHibernate: services_.power.SuspendSystem(true); return;
    case action::kShutDown: services_.power.ExitSystem(1); return;
    case action::kReboot: services_.power.ExitSystem(2); return;
    default: break;
  }

  if (key == action::kApp) {
    AppArmed = true;
    AppIndex = static_cast<int32_t>(e.Param);
    LongPressReached = false;
    if (AppIndex >= 0 && AppIndex < kAppCount && Apps[AppIndex].LongPressQuit) {
      DisableExec.SetInterval(static_cast<uint32_t>(std::max(Apps[AppIndex].LongPressTime, 1)));
      DisableExec.Start();
    }
  }

  const bool mouseKind = key == action::kNone || key == action::kMouseMove ||
                         key == action::kMouseButton || key == action::kMouseWheel;
  if (mouseKind && MouseMode) {
    MouseKey = key;
    if (mouse_) mouse_->SetMouseState(decoder_.HeldBits, MouseKey);
  } else if (release && MouseKey != 0 && mouse_) {
    // The mode changed while a mouse action was held: end it here, or the
    // cursor would keep moving and no key would be sent again.
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
    if (AppArmed) {
      DisableExec.Stop();
      AppArmed = false;
      services_.apps.RunAppAction(AppIndex);
    }
    return;
  }

  CurParam |= e.Param;
  if (key != CurKey) injector_.ReleaseKey(0, CurKey);
  CurKey = key;

  if (code == kButtonPs && settings.NoPsRep) {
    injector_.PressKey(CurParam, CurKey);
    services_.clock.Sleep(200);
    DisConnect.Start();
  } else {
    StartKey(CurParam, CurKey);
  }
}

void TForm1::SelectKeyMap(int32_t n, int32_t modeRequest) {
  if (n < 0 || n >= kMapCount) n = 0;
  const int map = (n == 0 || Apps[n - 1].OwnKeyMap) ? n : 0;
  const int home = HomeMode();
  bool mouseFamily = MouseMode;
  if (modeRequest == 1 || (modeRequest == 3 && home == 1)) mouseFamily = false;
  if (modeRequest == 2 || (modeRequest == 3 && home == 2)) mouseFamily = true;

  if (modeRequest == 3 && home == 2) MouseMode = true;
  (mouseFamily ? MouseMap : KeyboardMap).CopyColumn(map, ActiveMap);

  if (modeRequest == 1 || (modeRequest == 3 && home == 1)) {
    if (MouseMode) {
      MouseMode = false;
      if (settings.DispChange) ShowAfterWait("KBD Mode");
    }
  } else if (modeRequest == 2) {
    if (!MouseMode) {
      MouseMode = true;
      if (settings.DispChange) ShowAfterWait("With Mouse Mode");
    }
  }
}

void TForm1::SwitchToKeyboardMode() {
  services_.receiveLog.Clear();
  if (settings.NoCursor && hiding_) hiding_->StartWaitErase();
  MouseMode = false;
  KeyboardMap.CopyColumn(CurrentAppMap, ActiveMap);
  if (CurrentAppMap == 0) {
    services_.receiveLog.Append("キーボードモード設定されました。");
    if (settings.DispChange) services_.osd.ShowMessage("KBD Mode");
  } else {
    services_.receiveLog.Append("【 App-" + std::to_string(CurrentAppMap) + " 】のキーボード割付モードです。");
    if (settings.DispChange && !services_.receiveLog.Visible()) ShowAfterWait("KBD Mode");
  }
}

void TForm1::SwitchToMouseMode() {
  services_.receiveLog.Clear();
  if (hiding_) hiding_->StopWaitEraseAndShow();
  MouseMode = true;
  MouseMap.CopyColumn(CurrentAppMap, ActiveMap);
  if (CurrentAppMap == 0) {
    services_.receiveLog.Append("マウス併用モード設定されました。");
    if (settings.DispChange) services_.osd.ShowMessage("With MOUSE Mode");
  } else {
    services_.receiveLog.Append("【 App-" + std::to_string(CurrentAppMap) + " 】のマウス併用割付モードです。");
    if (settings.DispChange && !services_.receiveLog.Visible()) ShowAfterWait("With MOUSE Mode");
  }
}

}  // namespace corvid
