#include "actions/cursor_hider.h"


namespace corvid {

CursorHider::CursorHider(TimerHost& timers, SystemCursors& cursors, CursorWakeHook& hook, const Settings& settings,
                         TextView& debugLog)
    : hideDelayTimer(timers, kWaitMs, [this] { OnHideDelay(); }),
      cursors_(cursors),
      hook_(hook),
      settings_(settings),
      debugLog_(debugLog) {}

void CursorHider::StartWaitErase() {
  if (available_) hideDelayTimer.Start();  // a running wait keeps its period
}

void CursorHider::StopWaitEraseAndShow() {
  hideDelayTimer.Stop();
  ShowCursorAgain();
}

void CursorHider::HideCursor() {
  if (!available_) return;
  if (!cursors_.ReplaceWithBlank()) {
    // Without a blank cursor there is nothing to hide with; Corvid goes on
    // with the pointer visible rather than ending.
    available_ = false;
    hideDelayTimer.Stop();
    debugLog_.Append("Cursor hiding is off: the blank cursor could not be created.");
    return;
  }
  CursorVisible = false;
  hook_.InstallCursorWakeHook();
}

void CursorHider::ShowCursorAgain() {
  cursors_.Restore();
  CursorVisible = true;
  hook_.RemoveCursorWakeHook();
}

void CursorHider::OnHideDelay() {
  hideDelayTimer.Stop();
  HideCursor();
}

void CursorHider::ApplicationIdle(const IdleState& now) {
  if (now.editorVisible || now.environmentVisible) {
    // While a settings window is open the pointer stays: waiting here would
    // only hide it for the moment until the next idle turn shows it again.
    hideDelayTimer.Stop();
    if (!CursorVisible) ShowCursorAgain();
    return;
  }
  if (CursorVisible && !now.mouseMode && settings_.NoCursor) StartWaitErase();
}

void CursorHider::StopHiding() {
  hideDelayTimer.Stop();
  ShowCursorAgain();
}

}  // namespace corvid
