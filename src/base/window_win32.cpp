#include "base/window_win32.h"

#include <windows.h>

#include <algorithm>

namespace corvid {

Win32Window::~Win32Window() {
  if (!window_) return;
  const HWND w = window_;
  window_ = nullptr;
  if (previous_) SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  SetWindowLongPtrW(w, GWLP_USERDATA, 0);
  DestroyWindow(w);
}

bool Win32Window::CreateOf(const wchar_t* className, uint32_t exStyle, const wchar_t* title, uint32_t style, int x,
                           int y, int width, int height, HWND parent) {
  if (window_) return true;
  // WM_NCCREATE sets window_ through the creation parameter.
  return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, nullptr,
                         GetModuleHandleW(nullptr), this) != nullptr;
}

bool Win32Window::Subclass(HWND window) {
  if (!window || window_) return false;
  window_ = window;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  previous_ = reinterpret_cast<decltype(previous_)>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32Window::Procedure)));
  return true;
}

intptr_t Win32Window::OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) { return Default(msg, wp, lp); }

intptr_t Win32Window::Default(unsigned msg, uintptr_t wp, intptr_t lp) {
  if (previous_) return CallWindowProcW(reinterpret_cast<WNDPROC>(previous_), window_, msg, wp, lp);
  return DefWindowProcW(window_, msg, wp, lp);
}

intptr_t __stdcall Win32Window::Procedure(HWND w, unsigned msg, uintptr_t wp, intptr_t lp) {
  if (msg == WM_NCCREATE) {
    auto* created = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    if (created) {
      created->window_ = w;
      SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
  }
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (!self || self->window_ != w) return DefWindowProcW(w, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    const intptr_t r = self->Default(msg, wp, lp);
    SetWindowLongPtrW(w, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    self->OnDestroyed();
    return r;
  }
  return self->OnMessage(msg, wp, lp);
}

HICON AppIcon(int size) {
  HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_SHARED);
  return icon ? static_cast<HICON>(icon) : LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
}

bool RegisterWindowClass(const wchar_t* name, bool appIcon, uint32_t classStyle) {
  const HINSTANCE module = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(module, name, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = classStyle;
  wc.lpfnWndProc = reinterpret_cast<WNDPROC>(&Win32Window::Procedure);
  wc.hInstance = module;
  if (appIcon) {
    wc.hIcon = AppIcon(GetSystemMetrics(SM_CXICON));
    wc.hIconSm = AppIcon(GetSystemMetrics(SM_CXSMICON));
  }
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

void Win32WindowRegistry::Add(HWND window, bool dialog) {
  if (!window || Contains(window)) return;
  windows_.push_back({window, dialog});
}

void Win32WindowRegistry::Remove(HWND window) {
  std::erase_if(windows_, [&](const Entry& e) { return e.window == window; });
}

bool Win32WindowRegistry::Contains(HWND window) const {
  return window && std::any_of(windows_.begin(), windows_.end(), [&](const Entry& e) { return e.window == window; });
}

bool Win32WindowRegistry::DialogMessage(MSG& msg) const {
  if (!msg.hwnd || msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  const HWND top = GetAncestor(msg.hwnd, GA_ROOT);
  for (const Entry& e : windows_) {
    if (e.window != top || !IsWindowVisible(top)) continue;
    if (e.dialog) return IsDialogMessageW(top, &msg) != FALSE;
    // The other windows (the memo windows) have no buttons: Esc is their
    // close box, as in the dialogs.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      PostMessageW(top, WM_CLOSE, 0, 0);
      return true;
    }
    return false;
  }
  return false;
}

int RunMessagePump(const Win32WindowRegistry& windows, const std::function<void()>& idle,
                   const std::function<bool()>& ended) {
  MSG msg;
  for (;;) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      if (windows.DialogMessage(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (ended && ended()) return 0;
    if (idle) idle();
    WaitMessage();
  }
}

}  // namespace corvid
