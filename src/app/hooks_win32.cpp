#include "app/hooks_win32.h"

#include <windows.h>

#include "base/text_win32.h"

namespace corvid {
namespace {

constexpr UINT kHookWorkMessage = WM_APP + 0x31;
constexpr const wchar_t* kWorkClass = L"CorvidHookWork";

GlobalHooks* g_core = nullptr;

MouseHookEvent Unpack(int code, WPARAM wp, LPARAM lp) {
  const auto* m = reinterpret_cast<const MSLLHOOKSTRUCT*>(lp);
  return MouseHookEvent{code, static_cast<uint32_t>(wp), m->pt.x, m->pt.y};
}

LRESULT CALLBACK CursorWakeProc(int code, WPARAM wp, LPARAM lp) {
  if (code >= 0 && g_core) g_core->OnCursorWakeEvent(Unpack(code, wp, lp));
  return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK PickerProc(int code, WPARAM wp, LPARAM lp) {
  if (code >= 0 && g_core) g_core->OnPickerEvent(Unpack(code, wp, lp));
  return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK KeyCaptureProc(int code, WPARAM wp, LPARAM lp) {
  if (code >= 0 && g_core) {
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    if (g_core->OnKeyCaptureEvent(KeyHookEvent{code, k->vkCode, k->flags}) == HookVerdict::Swallow) return 1;
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

Win32HookPlatform::Win32HookPlatform() {
  RegisterWindowClass(kWorkClass);
  CreateOf(kWorkClass, 0, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
}

Win32HookPlatform::~Win32HookPlatform() { g_core = nullptr; }

void Win32HookPlatform::Attach(GlobalHooks* core) { g_core = core; }

HookHandle Win32HookPlatform::InstallHook(HookKind kind) {
  HOOKPROC proc = kind == HookKind::KeyCapture   ? KeyCaptureProc
                  : kind == HookKind::CursorWake ? CursorWakeProc
                                                 : PickerProc;
  const int type = kind == HookKind::KeyCapture ? WH_KEYBOARD_LL : WH_MOUSE_LL;
  return reinterpret_cast<HookHandle>(SetWindowsHookExW(type, proc, GetModuleHandleW(nullptr), 0));
}

bool Win32HookPlatform::RemoveHook(HookHandle handle) {
  return UnhookWindowsHookEx(reinterpret_cast<HHOOK>(handle)) != 0;
}

namespace {

bool OwnWindow(HWND w) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  return pid == GetCurrentProcessId();
}

// The window at a screen point as WindowFromPoint finds it, but under
// Corvid's own windows (the message over the top of the screen, the dialog
// whose "Find" was pressed): the first other top-level window there, from
// the top down, and its deepest visible child at the point.
HWND OtherWindowAt(POINT at) {
  HWND w = WindowFromPoint(at);
  if (w && !OwnWindow(GetAncestor(w, GA_ROOT))) return w;
  for (HWND top = GetTopWindow(nullptr); top; top = GetWindow(top, GW_HWNDNEXT)) {
    RECT r;
    if (!IsWindowVisible(top) || OwnWindow(top) || !GetWindowRect(top, &r) || !PtInRect(&r, at)) continue;
    if (GetWindowLongPtrW(top, GWL_EXSTYLE) & WS_EX_TRANSPARENT) continue;
    HWND found = top;
    for (;;) {
      POINT client = at;
      ScreenToClient(found, &client);
      HWND child = ChildWindowFromPointEx(found, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
      if (!child || child == found) break;
      found = child;
    }
    return found;
  }
  return GetDesktopWindow();  // nothing else there: the desktop itself
}

}  // namespace

std::string Win32HookPlatform::WindowClassAt(int32_t x, int32_t y) {
  const HWND w = OtherWindowAt(POINT{x, y});
  if (!w) return {};
  wchar_t name[257];
  const int n = GetClassNameW(w, name, 257);
  return n > 0 ? Narrow(std::wstring_view(name, static_cast<size_t>(n))) : std::string();
}

void Win32HookPlatform::PostHookWork() {
  if (Handle()) PostMessageW(Handle(), kHookWorkMessage, 0, 0);
}

intptr_t Win32HookPlatform::OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) {
  if (msg == kHookWorkMessage) {
    if (g_core) g_core->RunPostedWork();
    return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace corvid
