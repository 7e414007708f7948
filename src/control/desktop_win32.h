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

 private:
  // Reused by every window of every pass.
  std::string title_, class_;
  std::vector<WindowHandle> windows_;
};

class Win32DesktopControl : public DesktopControl {
 public:
  // A hung program gets this long to answer a system command.
  static constexpr unsigned kAnswerLimitMs = 5000;

  bool ProgramFileExists(const std::string& path) override;
  uint32_t StartProgram(const std::string& file, const std::string& commandLine, const std::string& folder) override;
  void PostClose(WindowHandle w) override;
  void SendSysCommand(WindowHandle w, uint32_t command) override;
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
