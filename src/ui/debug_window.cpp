#include "ui/debug_window.h"

namespace corvid {

void DebugWindow::Show(const Bounds& launchSettings, int32_t screenWidth) {
  MoveTo(BesideLeftEdge(launchSettings, Place().width, screenWidth, false), launchSettings.top);
  match_.Clear();
  trace_.SetVisible(true);
  SetVisible(true);
}

void DebugWindow::Close() {
  trace_.SetVisible(false);
  SetVisible(false);
  if (onClosed) onClosed();
}

void DebugWindow::ClearTrace() {
  match_.Clear();
  trace_.Clear();
}

}  // namespace corvid
