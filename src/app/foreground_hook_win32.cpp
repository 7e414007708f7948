#include "app/foreground_hook_win32.h"

#include <windows.h>

namespace corvid {
namespace {

// The callback carries no context: the one watcher of the process.
ForegroundHookWin32* g_watcher = nullptr;

void CALLBACK Changed(HWINEVENTHOOK, DWORD, HWND, LONG object, LONG, DWORD, DWORD) {
  if (g_watcher && (object == OBJID_WINDOW || object == OBJID_CLIENT)) g_watcher->Notify();
}

}  // namespace

bool ForegroundHookWin32::Watch(bool on) {
  if (on == (hook_ != nullptr)) return true;
  if (!on) {
    UnhookWinEvent(static_cast<HWINEVENTHOOK>(hook_));
    if (focusHook_) UnhookWinEvent(static_cast<HWINEVENTHOOK>(focusHook_));
    hook_ = focusHook_ = nullptr;
    if (g_watcher == this) g_watcher = nullptr;
    return true;
  }
  g_watcher = this;
  hook_ = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, &Changed, 0, 0,
                          WINEVENT_OUTOFCONTEXT);
  if (hook_)
    focusHook_ =
        SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &Changed, 0, 0, WINEVENT_OUTOFCONTEXT);
  if (!hook_) g_watcher = nullptr;
  return hook_ != nullptr;
}

}  // namespace corvid
