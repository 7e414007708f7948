#pragma once
// The desktop of program control on the Win32 API: the process snapshot,
// the top-level windows, the input-idle state, the browser's version, and
// the operations on a program's process and windows.
#include <string>
#include <vector>

#include "control/desktop.h"

namespace corvid {

class Win32DesktopQuery : public DesktopQuery {
 public:
  bool Processes(std::vector<ProcessEntry>& out) override;
  void ForEachWindowOfProcess(uint32_t pid, const std::function<void(const WindowEntry&)>& visit) override;
  InputIdleState InputIdle(uint32_t pid) override;
  std::string BrowserVersion() override;
  std::string ProcessImagePath(uint32_t pid) override;
  bool IsHung(WindowHandle w) override;

 private:
  static constexpr uint64_t kThreadsKeptMs = 500;
  void WindowsOfProcess(uint32_t pid);

  // Reused by every window of every pass.
  std::string title_, class_;
  std::vector<WindowHandle> windows_;
  // The threads of the last process searched, and when they were read.
  std::vector<uint32_t> threads_;
  uint32_t threadsPid_ = 0;
  uint64_t threadsTakenMs_ = 0;
};

// Every change of a window is posted or asynchronous: nothing here waits for
// the window's thread.
class Win32DesktopControl : public DesktopControl {
 public:
  bool ProgramFileExists(const std::string& path) override;
  uint32_t StartProgram(const std::string& file, const std::string& commandLine, const std::string& folder) override;
  void PostClose(WindowHandle w) override;
  void PostSysCommand(WindowHandle w, uint32_t command) override;
  void ShowNormal(WindowHandle w) override;
  void SetPosition(WindowHandle w, WindowHandle insertAfter, int32_t x, int32_t y, int32_t width, int32_t height,
                   uint32_t flags) override;
  void SetForeground(WindowHandle w) override;
  bool IsMinimized(WindowHandle w) override;
  bool IsMaximized(WindowHandle w) override;
  bool WindowRect(WindowHandle w, ScreenRect& r) override;
  WindowHandle RootOwner(WindowHandle w) override;
  bool CursorPosition(int32_t& x, int32_t& y) override;
  void SetCursorPosition(int32_t x, int32_t y) override;
  void LeftClick() override;
};

}  // namespace corvid
