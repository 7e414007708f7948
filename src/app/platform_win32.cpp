#include "app/platform_win32.h"

#include <windows.h>

#include "app/text_win32.h"

namespace corvid {

void Win32TimerHost::Arm(Timer& t) {
  const auto id = reinterpret_cast<uintptr_t>(&t);
  if (!Owns(id)) {
    for (uintptr_t& slot : armed_)
      if (slot == 0) {
        slot = id;
        break;
      }
  }
  // SetTimer on an existing identifier restarts its period.
  SetTimer(window_, id, t.Interval() ? t.Interval() : 1, nullptr);
}

void Win32TimerHost::Disarm(Timer& t) {
  const auto id = reinterpret_cast<uintptr_t>(&t);
  KillTimer(window_, id);
  for (uintptr_t& slot : armed_)
    if (slot == id) slot = 0;
}

bool Win32TimerHost::Owns(uintptr_t id) const {
  if (id == 0) return false;
  for (uintptr_t slot : armed_)
    if (slot == id) return true;
  return false;
}

uint64_t Win32Clock::NowMs() { return GetTickCount64(); }
void Win32Clock::Sleep(uint32_t ms) { ::Sleep(ms); }

namespace {
void Drain(HWND w, UINT first, UINT last) {
  MSG msg;
  while (PeekMessageW(&msg, w, first, last, PM_REMOVE)) {
  }
}
}  // namespace

void Win32Queue::RemovePendingMouseMessages() { Drain(window_, 0x0200, 0x020D); }
void Win32Queue::RemovePendingKeyboardMessages() { Drain(window_, 0x0100, 0x0108); }

int Win32MessageBoxes::Show(std::string_view text, std::string_view caption, Kind kind) {
  const UINT type = (kind == kYesNo ? MB_YESNO : MB_OK) | MB_SETFOREGROUND | MB_TOPMOST;
  return MessageBoxW(nullptr, Widen(text).c_str(), Widen(caption).c_str(), type);
}

}  // namespace corvid
