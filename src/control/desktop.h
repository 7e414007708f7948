#pragma once
// What program control reads of the desktop and does to it: the running
// processes and the top-level windows, and the operations on a registered
// program's process and windows. Texts are UTF-8; handles are the system's
// window handles as numbers.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace corvid {

using WindowHandle = uintptr_t;

struct ProcessEntry {
  uint32_t pid = 0;
  uint32_t parentPid = 0;
  std::string exeFile;  // the executable's file name, without a folder
};

struct WindowEntry {
  WindowHandle handle = 0;
  uint32_t style = 0;
  uint32_t pid = 0;  // the process that owns the window
  std::string_view title;
  std::string_view className;
};

enum class InputIdleState : uint8_t { Idle, Busy, Unknown };

class DesktopQuery {
 public:
  virtual ~DesktopQuery() = default;
  // The running processes in the order of a snapshot; false when no
  // snapshot could be taken.
  virtual bool Processes(std::vector<ProcessEntry>& out) = 0;
  // Every top-level window of process `pid`, from the top of the Z order
  // down. Only their titles and classes are read: a title is a message to
  // the window's process, and a desktop holds thousands of windows. The
  // views of an entry live only for the call.
  virtual void ForEachWindowOfProcess(uint32_t pid, const std::function<void(const WindowEntry&)>& visit) = 0;
  // Whether the process is waiting for input now; never blocks. Unknown:
  // no such process, or one without a message queue.
  virtual InputIdleState InputIdle(uint32_t pid) = 0;
  // The "Version" value of the installed web browser; "" when unreadable.
  virtual std::string BrowserVersion() = 0;
  // The full path of a process's program; "" when it cannot be read (then
  // only its file name is known).
  virtual std::string ProcessImagePath(uint32_t pid) { return {}; }
  // Whether the window's thread has stopped taking its messages: changes
  // asked of it take effect only when it answers again, if ever.
  virtual bool IsHung(WindowHandle w) { return false; }
};

struct ScreenRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

namespace syscommand {
inline constexpr uint32_t kMinimize = 0xF020;
inline constexpr uint32_t kMaximize = 0xF030;
inline constexpr uint32_t kRestore = 0xF120;
}  // namespace syscommand

// Where SetPosition puts the window in the Z order.
inline constexpr WindowHandle kInsertAtTop = 0;
inline constexpr WindowHandle kInsertTopMost = static_cast<WindowHandle>(-1);

namespace placeflag {
inline constexpr uint32_t kNoSize = 0x0001;
inline constexpr uint32_t kNoMove = 0x0002;
inline constexpr uint32_t kNoActivate = 0x0010;
inline constexpr uint32_t kFrameChanged = 0x0020;
inline constexpr uint32_t kNoCopyBits = 0x0100;
}  // namespace placeflag

// The changes of another program's window are asked without waiting for its
// thread (a hung program would hold Corvid for as long as it hangs): they
// take effect when that thread gets to them, usually within milliseconds.
class DesktopControl {
 public:
  virtual ~DesktopControl() = default;
  virtual bool ProgramFileExists(const std::string& path) = 0;
  // Starts a program without waiting for it; its process ID, 0 when it did
  // not start. An empty or unusable `folder` leaves the working folder as
  // Corvid's.
  virtual uint32_t StartProgram(const std::string& file, const std::string& commandLine,
                                const std::string& folder) = 0;
  virtual void PostClose(WindowHandle w) = 0;
  virtual void PostSysCommand(WindowHandle w, uint32_t command) = 0;
  virtual void ShowNormal(WindowHandle w) = 0;
  virtual void SetPosition(WindowHandle w, WindowHandle insertAfter, int32_t x, int32_t y, int32_t width,
                           int32_t height, uint32_t flags) = 0;
  virtual void SetForeground(WindowHandle w) = 0;
  virtual bool IsMinimized(WindowHandle w) = 0;
  virtual bool IsMaximized(WindowHandle w) = 0;
  virtual bool WindowRect(WindowHandle w, ScreenRect& r) = 0;
  // The window at the root of its chain of owners (itself when it has none);
  // 0 when the window is gone.
  virtual WindowHandle RootOwner(WindowHandle w) = 0;
  virtual bool CursorPosition(int32_t& x, int32_t& y) = 0;
  virtual void SetCursorPosition(int32_t x, int32_t y) = 0;
  // A left button press and release where the cursor is.
  virtual void LeftClick() = 0;
};

}  // namespace corvid
