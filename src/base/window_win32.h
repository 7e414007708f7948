#pragma once
// Window plumbing shared by every window Corvid makes: one window procedure
// that hands each message to the object owning the window, class
// registration in one place, the registry of Corvid's own top-level windows,
// and the one message pump.
#include <cstdint>
#include <functional>
#include <vector>

#include "base/win32_fwd.h"

namespace corvid {

class Win32Window {
 public:
  Win32Window() = default;
  // Destroys the window, if it still exists.
  virtual ~Win32Window();
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  HWND Handle() const { return window_; }

 protected:
  // A window of a class registered with RegisterWindowClass; this object
  // gets its messages from the first one (WM_NCCREATE) on.
  bool CreateOf(const wchar_t* className, uint32_t exStyle, const wchar_t* title, uint32_t style, int x, int y,
                int width, int height, HWND parent);
  // Takes over the messages of an existing window of a system class (a
  // "STATIC"); Default then calls that class's procedure.
  bool Subclass(HWND window);

  virtual intptr_t OnMessage(unsigned msg, uintptr_t wp, intptr_t lp);
  intptr_t Default(unsigned msg, uintptr_t wp, intptr_t lp);
  // The window is gone (WM_NCDESTROY); no message reaches this object after.
  virtual void OnDestroyed() {}

 private:
  friend bool RegisterWindowClass(const wchar_t*, bool, uint32_t);
  static intptr_t __stdcall Procedure(HWND w, unsigned msg, uintptr_t wp, intptr_t lp);
  HWND window_ = nullptr;
  intptr_t (__stdcall* previous_)(HWND, unsigned, uintptr_t, intptr_t) = nullptr;
};

// Registers a window class of this module whose windows are Win32Window
// objects. A name registered before is kept as it is.
bool RegisterWindowClass(const wchar_t* name, bool appIcon = false, uint32_t classStyle = 0);

// Corvid's icon drawn for `size` pixels (the resource holds several sizes,
// so the small one is not a shrunk large one); the system's when missing.
HICON AppIcon(int size);

// Corvid's own top-level windows: the pump gives the keyboard messages of
// the dialogs among them to IsDialogMessageW (Tab, Enter and Esc work in
// modeless dialogs), and the mouse mode asks whether the pointer is over one.
class Win32WindowRegistry {
 public:
  void Add(HWND window, bool dialog);
  void Remove(HWND window);
  bool Contains(HWND window) const;
  // The message was a dialog's and has been handled.
  bool DialogMessage(MSG& msg) const;

 private:
  struct Entry {
    HWND window;
    bool dialog;
  };
  std::vector<Entry> windows_;
};

// Runs the thread's messages until WM_QUIT, or until `ended` says so, and
// returns the exit code; `idle` runs each time the queue has become empty.
int RunMessagePump(const Win32WindowRegistry& windows, const std::function<void()>& idle,
                   const std::function<bool()>& ended = nullptr);

}  // namespace corvid
