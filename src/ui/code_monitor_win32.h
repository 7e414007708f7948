#pragma once
// The code monitor's window ("BD Mon.") and the debug window: a memo that
// follows a text view, the debug window with its one-line field above it.
#include <memory>

#include "base/handles_win32.h"
#include "base/window_win32.h"
#include "ui/code_monitor.h"
#include "ui/controls_win32.h"

namespace corvid {

class MemoWindowWin32 : protected Win32Window {
 public:
  MemoWindowWin32(WindowModel& model, LineView& lines, Win32WindowRegistry& windows);
  ~MemoWindowWin32() override;
  using Win32Window::Handle;

 protected:
  bool CreateWindowed(const wchar_t* cls, const std::string& caption, int width96, int height96, uint32_t memoStyle,
                      int memoTop96);
  intptr_t OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) override;
  virtual void Refresh();
  virtual void LayoutChildren();
  void ReportPlace();
  virtual void UserClosed() = 0;
  uint32_t Dpi() const { return dpi_; }

  WindowModel& model_;
  LineView& lines_;
  Win32WindowRegistry& windows_;
  HWND memo_ = nullptr;
  std::unique_ptr<MemoSync> sync_;
  int memoTop96_ = 0;
  int minWidth96_ = 0, minHeight96_ = 0;
  bool pending_ = false;
  uint32_t dpi_ = 96;
  GdiObject<HBRUSH> black_;
  bool blackMemo_ = false;
};

class CodeMonitorWin32 : public MemoWindowWin32 {
 public:
  CodeMonitorWin32(CodeMonitor& model, Win32WindowRegistry& windows);
  bool Create();

 private:
  void UserClosed() override { monitor_.Hide(); }
  CodeMonitor& monitor_;
};

class DebugWindowWin32 : public MemoWindowWin32 {
 public:
  DebugWindowWin32(DebugWindow& model, Win32WindowRegistry& windows);
  ~DebugWindowWin32() override;
  bool Create();

 private:
  void UserClosed() override { debug_.Close(); }
  void Refresh() override;
  void LayoutChildren() override;
  intptr_t OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) override;
  static intptr_t __stdcall MemoProc(HWND w, unsigned msg, uintptr_t wp, intptr_t lp);
  DebugWindow& debug_;
  HWND edit1_ = nullptr;
  intptr_t (__stdcall* memoProc_)(HWND, unsigned, uintptr_t, intptr_t) = nullptr;
};

}  // namespace corvid
