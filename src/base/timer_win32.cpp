#include "base/timer_win32.h"

#include <windows.h>

namespace corvid {
namespace {
constexpr const wchar_t* kTimerClass = L"CorvidTimers";
}  // namespace

Win32TimerHost::Win32TimerHost() {
  RegisterWindowClass(kTimerClass);
  CreateOf(kTimerClass, 0, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
}

void Win32TimerHost::Arm(Timer& t) {
  const auto id = reinterpret_cast<uintptr_t>(&t);
  armed_.insert(id);
  // SetTimer on an existing identifier restarts its period.
  SetTimer(Handle(), id, t.Interval() ? t.Interval() : 1, nullptr);
}

void Win32TimerHost::Disarm(Timer& t) {
  const auto id = reinterpret_cast<uintptr_t>(&t);
  KillTimer(Handle(), id);
  armed_.erase(id);
}

intptr_t Win32TimerHost::OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) {
  if (msg == WM_TIMER) {
    if (armed_.count(wp)) reinterpret_cast<Timer*>(wp)->Fire();
    return 0;
  }
  return Default(msg, wp, lp);
}

uint64_t Win32Clock::NowMs() { return GetTickCount64(); }

void Win32Clock::Sleep(uint32_t ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    // Sent messages (hook callbacks among them) are handled inside the
    // peek; posted ones stay queued for the loop.
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_SENDMESSAGE, 0);
  }
}

}  // namespace corvid
