#pragma once
// The low-level hooks on the Win32 API. The callbacks unpack the event, ask
// GlobalHooks, and return; the work they leave is posted to a message-only
// window of the installing (user-interface) thread.
#include "app/hooks.h"
#include "base/window_win32.h"

namespace corvid {

class Win32HookPlatform : public HookPlatform, private Win32Window {
 public:
  // Create on the user-interface thread: the hooks run on it.
  Win32HookPlatform();
  ~Win32HookPlatform() override;
  Win32HookPlatform(const Win32HookPlatform&) = delete;
  Win32HookPlatform& operator=(const Win32HookPlatform&) = delete;

  // The one core the callbacks report to.
  void Attach(GlobalHooks* core);
  // Its hidden window was made: without it the work a hook leaves (the
  // cursor brought back at a move) is never done.
  bool Exists() const { return Handle() != nullptr; }

  HookHandle InstallHook(HookKind kind) override;
  bool RemoveHook(HookHandle handle) override;
  std::string WindowClassAt(int32_t x, int32_t y) override;
  void PostHookWork() override;

 private:
  intptr_t OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) override;
};

}  // namespace corvid
