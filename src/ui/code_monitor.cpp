#include "ui/code_monitor.h"

namespace corvid {

void CodeMonitor::Show(const Bounds& neighbour, int32_t screenWidth) {
  // As tall as the window beside it (the view keeps the least height).
  if (neighbour.height > 0) Resize(Place().width, neighbour.height);
  MoveTo(BesideLeftEdge(neighbour, Place().width, screenWidth, true), neighbour.top);
  memo_.SetVisible(true);
  SetVisible(true);
  if (onShownChanged) onShownChanged(true);
}

void CodeMonitor::Hide() {
  if (!Visible()) return;
  memo_.SetVisible(false);
  SetVisible(false);
  if (onShownChanged) onShownChanged(false);
  memo_.Clear();
}

}  // namespace corvid
