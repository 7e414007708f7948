#pragma once
// The code monitor's window ("BD Mon.") and the debug window: a log memo
// that follows a text view, the debug window with its one-line field above
// it. Both size freely, no smaller than their models' sizes.
#include <string>

#include "ui/code_monitor.h"
#include "ui/debug_window.h"
#include "ui/settings_window_win32.h"

namespace corvid {

class MemoWindowWin32 : public SettingsWindowWin32 {
 protected:
  MemoWindowWin32(WindowModel& model, LineView& lines, Win32WindowRegistry& windows)
      : SettingsWindowWin32(model, windows), log_(lines) {}
  bool CreateWindowed(const wchar_t* cls, const std::string& caption, int width96, int height96, uint32_t memoStyle,
                      bool black, int memoTop96);
  void Layout(uint32_t dpi) override;
  void Refresh() override {}
  intptr_t Respond(unsigned msg, uintptr_t wp, intptr_t lp) override;

  LogMemo log_;
  int memoTop96_ = 0;
  int minWidth96_ = 0, minHeight96_ = 0;
};

class CodeMonitorWin32 : public MemoWindowWin32 {
 public:
  CodeMonitorWin32(CodeMonitor& model, Win32WindowRegistry& windows)
      : MemoWindowWin32(model, model.Lines(), windows), monitor_(model) {}
  bool Create();

 private:
  void UserClosed() override { monitor_.Hide(); }
  CodeMonitor& monitor_;
};

class DebugWindowWin32 : public MemoWindowWin32 {
 public:
  DebugWindowWin32(DebugWindow& model, Win32WindowRegistry& windows)
      : MemoWindowWin32(model, model.Trace(), windows), debug_(model) {}
  ~DebugWindowWin32() override;
  bool Create();

 private:
  void UserClosed() override { debug_.Close(); }
  void Refresh() override;
  void Layout(uint32_t dpi) override;
  intptr_t Respond(unsigned msg, uintptr_t wp, intptr_t lp) override;
  static intptr_t __stdcall MemoProc(HWND w, unsigned msg, uintptr_t wp, intptr_t lp);
  DebugWindow& debug_;
  HWND match_ = nullptr;
  intptr_t (__stdcall* memoProc_)(HWND, unsigned, uintptr_t, intptr_t) = nullptr;
};

}  // namespace corvid
