#include "app/tform1.h"

#include <algorithm>

namespace corvid {

TForm1::TForm1(const Services& s)
    : DelayTimer(s.timers, 500, [this] { DelayTimerTimer(); }),
      RepeatTimer(s.timers, 25, [this] { RepeatTimerTimer(); }),
      DisConnect(s.timers, 5000, [this] { DisConnectTimer(); }),
      DisableExec(s.timers, 1000, [this] { services_.apps.DisableExecTimer(); }),
      services_(s),
      injector_(s.input, s.codeMonitor, [this] { FreshBuffer(); },
                [this] { return mouse_ ? mouse_->SpeedBits() : 0u; }),
      decoder_(*this, s.receiveLog) {
  ApplyTimerSettings();
}

TForm1::~TForm1() {
  // However Corvid ends (an error escaping the loop included), no key or
  // button it pressed stays down.
  if (CurKey != 0 || CurParam != 0 || MouseKey != 0 || injector_.HeldModifiers() != 0) ReleaseEverything();
}

void TForm1::ApplyTimerSettings() {
  DelayTimer.SetInterval(static_cast<uint32_t>(std::max(settings.KeyIdle, 1)));
  RepeatTimer.SetInterval(static_cast<uint32_t>(std::max(settings.KeyRepeat, 1)));
}

void TForm1::FreshBuffer() {
  services_.queue.RemovePendingMouseMessages();
  services_.queue.RemovePendingKeyboardMessages();
  services_.boxes.Show("操作対象プロセスへの操作権限がありません。処理は無効となります。", "Corvid Alart");
}

void TForm1::StartKey(uint32_t param, uint16_t key) {
  injector_.PressKey(param, key);
  if (key != 0) DelayTimer.Start();
}

void TForm1::DelayTimerTimer() {
  DelayTimer.Stop();
  injector_.ReleaseKey(CurParam, CurKey);
  injector_.PressKey(CurParam, CurKey);
  RepeatTimer.Start();
}

void TForm1::RepeatTimerTimer() {
  injector_.ReleaseKey(CurParam, CurKey);
  injector_.PressKey(CurParam, CurKey);
}

void TForm1::DisConnectTimer() {
  DisConnect.Stop();
  // The chord state stays: the release report that follows releases again.
  injector_.ReleaseKey(CurParam, CurKey);
  if (RemoteHeld) services_.osd.ShowMessage("Corvid DisConnect.");
}

void TForm1::ReleaseEverything() {
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
  decoder_.PrevMask = 0;
  decoder_.HeldName.clear();
}

}  // namespace corvid
