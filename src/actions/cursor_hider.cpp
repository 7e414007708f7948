#include "actions/cursor_hider.h"

#include "app/hooks.h"
#include "app/tform1.h"

namespace corvid {

CursorHider::CursorHider(TForm1& form, SystemCursors& cursors, GlobalHooks& hooks)
    : WaitEraseCursor(form.Platform().timers, kWaitMs, [this] { WaitEraseCursorTimer(); }),
      form_(form),
      cursors_(cursors),
      hooks_(hooks) {
  form_.SetCursorHiding(this);
  hooks_.SetCursorHider(this);
}

CursorHider::~CursorHider() {
  form_.SetCursorHiding(nullptr);
  hooks_.SetCursorHider(nullptr);
}

void CursorHider::StartWaitErase() {
  if (available_) WaitEraseCursor.Start();  // a running wait keeps its period
}

void CursorHider::StopWaitEraseAndShow() {
  WaitEraseCursor.Stop();
  ShowCursorAgain();
}

void CursorHider::HideCursor() {
  if (!available_) return;
  if (!cursors_.ReplaceWithBlank()) {
    // Without a blank cursor there is nothing to hide with; Corvid goes on
    // with the pointer visible rather than ending.
    available_ = false;
    WaitEraseCursor.Stop();
    form_.Platform().debugLog.Append("Cursor hiding is off: the blank cursor could not be created.");
    return;
  }
  CursorVisible = false;
  hooks_.InstallCursorWakeHook();
}

void CursorHider::ShowCursorAgain() {
  cursors_.Restore();
  CursorVisible = true;
  hooks_.RemoveCursorWakeHook();
}

void CursorHider::WaitEraseCursorTimer() {
  WaitEraseCursor.Stop();
  HideCursor();
}

void CursorHider::ApplicationIdle(bool editorVisible, bool environmentVisible) {
  if (editorVisible || environmentVisible) {
    // While a settings window is open the pointer stays: waiting here would
    // only hide it for the moment until the next idle turn shows it again.
    WaitEraseCursor.Stop();
    if (!CursorVisible) ShowCursorAgain();
    return;
  }
  if (CursorVisible && !form_.MouseMode && form_.settings.NoCursor) StartWaitErase();
}

void CursorHider::FormClose() {
  WaitEraseCursor.Stop();
  ShowCursorAgain();
}

}  // namespace corvid
