#pragma once
// Which process runs each registered program, and which of its top-level
// windows is an entry's target; every window examined is traced in the
// debug window, so a user can see which class and caption to enter.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ascii.h"
#include "base/text_view.h"
#include "base/timer.h"
#include "model/app_entry.h"
#include "control/desktop.h"

namespace corvid {

// The state handed through one pass over the top-level windows.
struct TargetSearch {
  uint32_t pid = 0;
  WindowHandle found = 0;
  std::string_view className;
  std::string_view caption;
  std::string_view program;  // for the trace only
};

class TargetWindowSearch {
 public:
  static constexpr int kPasses = 20;
  static constexpr uint32_t kPassPauseMs = 10;
  // A program that never becomes idle for input is waited for this long,
  // once per action.
  static constexpr uint32_t kInputIdleLimitMs = 5000;
  static constexpr uint32_t kInputIdleSliceMs = 5;

  TargetWindowSearch(std::array<AppEntry, kAppCount>& apps, DesktopQuery& desktop, Clock& clock,
                     TextView& debugLog, TextField& debugMatch)
      : apps_(apps), desktop_(desktop), clock_(clock), debugLog_(debugLog), debugMatch_(debugMatch) {}

  // The process ID of every entry from a process snapshot; always true.
  bool RefreshAppProcessIds();
  int32_t BrowserMajorVersion();
  WindowHandle FindTargetWindowOnce(uint32_t pid, std::string_view className, std::string_view program,
                                    std::string_view caption);
  // Up to 20 passes; 0 when none found the window. The caller stores it.
  WindowHandle FindTargetWindow(int index);

  // Waits until the process is idle for input, in short sleeps that keep
  // the user-interface thread serving hooks, at most kInputIdleLimitMs; a
  // process that ran out that time is not waited for again until
  // ForgetSlowProcess.
  void WaitForInputIdle(uint32_t pid);
  void ForgetSlowProcess() { slowPid_ = 0; }

  // The process whose header block the trace wrote last; 0 writes a fresh
  // header at the next window.
  uint32_t LastLoggedPid = 0;

 private:
  void Examine(TargetSearch& s, const WindowEntry& w);
  void Trace(std::string_view head, std::string_view text);
  void TraceHex(std::string_view head, uint32_t value);

  std::array<AppEntry, kAppCount>& apps_;
  DesktopQuery& desktop_;
  Clock& clock_;
  TextView& debugLog_;
  TextField& debugMatch_;
  std::vector<ProcessEntry> processes_;
  std::string line_;  // reused: a pass writes many lines
  uint32_t slowPid_ = 0;
};

// How a window answers an entry's class and caption: the rule of one pass,
// also used to tell which entry the window in front belongs to. A window
// without a title never answers. Process: the entry names neither class
// nor caption, so any titled window of its process does.
enum class WindowMatch : uint8_t { None, Both, Class, Caption, Process };
WindowMatch MatchWindow(std::string_view className, std::string_view caption, const WindowEntry& w);

// Whether process `pid` runs the entry's program: the process the search
// found for it, or one of the same program file (its full path where the
// system tells it, its file name otherwise).
bool RunsProgram(DesktopQuery& desktop, uint32_t pid, const AppEntry& a);

// The file-name part of a program path: after the last backslash or colon.
std::string_view ProgramFileName(std::string_view path);
// Two paths of one program file: case and the slash's direction aside.
bool SameProgram(std::string_view a, std::string_view b);

}  // namespace corvid
