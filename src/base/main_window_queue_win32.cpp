#include "base/main_window_queue_win32.h"

#include <windows.h>

namespace corvid {
namespace {
void Drain(HWND w, UINT first, UINT last) {
  if (!w) return;  // no main window yet: nothing queued for it
  MSG msg;
  while (PeekMessageW(&msg, w, first, last, PM_REMOVE)) {
  }
}
}  // namespace

void Win32Queue::RemovePendingMouseMessages() { Drain(window_, 0x0200, 0x020D); }
void Win32Queue::RemovePendingKeyboardMessages() { Drain(window_, 0x0100, 0x0108); }

}  // namespace corvid
