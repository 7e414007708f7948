#include "app/foreground_hook_win32.h"

#include <windows.h>

namespace corvid {
namespace {

// The callback carries no context: the one watcher of the process.
ForegroundHookWin32* g_watcher = nullptr;

void CALLBACK Changed(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD) {
  if (!g_watcher || (object != OBJID_WINDOW && object != OBJID_CLIENT)) return;
  // A focus change names a control; its top-level window is the one coming
  // to the front. (Some systems, Wine among them, report focus changes but
  // not the change of the window in front.)
  const HWND front = event == EVENT_SYSTEM_FOREGROUND ? window : GetAncestor(window, GA_ROOT);
  g_watcher->Notify(reinterpret_cast<WindowHandle>(front));
}

}  // namespace

void ForegroundHookWin32::Notify(WindowHandle w) {
  // The focus moving inside the window in front is no change.
  if (w == 0 || w == last_) return;
  last_ = w;
  onChange_(w);
}

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
  last_ = reinterpret_cast<WindowHandle>(GetForegroundWindow());  // the caller looks at it itself
  hook_ = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, &Changed, 0, 0,
                          WINEVENT_OUTOFCONTEXT);
  if (hook_)
    focusHook_ =
        SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &Changed, 0, 0, WINEVENT_OUTOFCONTEXT);
  if (!hook_) g_watcher = nullptr;
  return hook_ != nullptr;
}

}  // namespace corvid
