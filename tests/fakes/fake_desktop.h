#pragma once
// A desktop a test fills in: processes in snapshot order, top-level windows
// in Z order (top first), program files that exist, and programs whose
// start makes a window appear after some passes over the windows, or never.
// What program control did to it is logged, one line per operation. A hung
// window takes no change asked of it, and its process is never idle; a slow
// one takes each change some time after it was asked (on the given clock).
#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/timer.h"
#include "control/desktop.h"

namespace corvid {

struct FakeWindow {
  WindowHandle handle = 0;
  uint32_t pid = 0;
  std::string title, className;
  uint32_t style = 0;
  WindowHandle owner = 0;
  bool minimized = false, maximized = false, topmost = false;
  bool asksBeforeClosing = false;
  bool hung = false;
  uint64_t hangsAtMs = UINT64_MAX;  // hung from then on (on the given clock)
  uint32_t lagMs = 0;  // a change shows this long after it was asked
  ScreenRect rect{100, 100, 500, 400};
};

// What starting a program file does.
struct FakeProgram {
  std::string title, className;
  int appearAfterPasses = 0;  // -1: the window never appears
  bool starts = true;
  bool hangs = false;  // its window takes no messages
};

class FakeDesktop : public DesktopQuery, public DesktopControl {
 public:
  uint32_t AddProcess(const std::string& exeFile, uint32_t parent = 0, const std::string& imagePath = "") {
    processes.push_back({nextPid, parent, exeFile});
    if (!imagePath.empty()) imagePaths[nextPid] = imagePath;
    return nextPid++;
  }
  std::string ProcessImagePath(uint32_t pid) override { return imagePaths.count(pid) ? imagePaths[pid] : ""; }
  // Below the windows there are.
  WindowHandle AddWindow(uint32_t pid, const std::string& title, const std::string& cls, uint32_t style = 0) {
    FakeWindow w;
    w.handle = nextHandle++;
    w.pid = pid;
    w.title = title;
    w.className = cls;
    w.style = style;
    windows.push_back(w);
    return w.handle;
  }
  FakeWindow* Find(WindowHandle h) {
    auto it = std::find_if(windows.begin(), windows.end(), [h](const FakeWindow& w) { return w.handle == h; });
    return it == windows.end() ? nullptr : &*it;
  }
  // A change asked of a window: taken now, later, or never.
  void Change(WindowHandle h, std::function<void(FakeWindow&)> change) {
    FakeWindow* w = Find(h);
    if (!w || Hung(*w)) return;
    if (w->lagMs && clock) lagging.push_back({clock->NowMs() + w->lagMs, h, std::move(change)});
    else change(*w);
  }
  // The window with the changes that are due by now; null when it is gone.
  FakeWindow* CaughtUp(WindowHandle h) {
    for (auto it = lagging.begin(); it != lagging.end();) {
      if (it->handle == h && clock->NowMs() >= it->due) {
        if (FakeWindow* w = Find(h)) it->change(*w);
        it = lagging.erase(it);
      } else {
        ++it;
      }
    }
    return Find(h);
  }
  bool HasLine(const std::string& line) const { return std::find(log.begin(), log.end(), line) != log.end(); }
  static std::string H(WindowHandle h) { return std::to_string(h); }

  // DesktopQuery
  bool Processes(std::vector<ProcessEntry>& out) override {
    if (noSnapshot) return false;
    out.insert(out.end(), processes.begin(), processes.end());
    return true;
  }
  void ForEachWindowOfProcess(uint32_t pid, const std::function<void(const WindowEntry&)>& visit) override {
    ++passes;
    for (auto it = pending.begin(); it != pending.end();) {
      if (it->first-- <= 0) {
        windows.insert(windows.begin(), it->second);
        it = pending.erase(it);
      } else {
        ++it;
      }
    }
    for (const FakeWindow& w : windows)
      if (w.pid == pid) visit(WindowEntry{w.handle, w.style, w.pid, w.title, w.className});
  }
  InputIdleState InputIdle(uint32_t pid) override {
    const bool hungWindow =
        std::any_of(windows.begin(), windows.end(), [&](const FakeWindow& w) { return w.pid == pid && Hung(w); });
    return busyForever.count(pid) || hungWindow ? InputIdleState::Busy : InputIdleState::Idle;
  }
  bool IsHung(WindowHandle h) override { return Find(h) && Hung(*Find(h)); }
  bool Hung(const FakeWindow& w) { return w.hung || (clock && clock->NowMs() >= w.hangsAtMs); }
  std::string BrowserVersion() override { return browserVersion; }
  WindowHandle ForegroundWindow() override { return foreground; }
  bool DescribeWindow(WindowHandle h, const std::function<void(const WindowEntry&)>& visit) override {
    const FakeWindow* w = Find(h);
    if (!w) return false;
    visit(WindowEntry{w->handle, w->style, w->pid, w->title, w->className});
    return true;
  }
  uint32_t OwnProcessId() override { return ownPid; }

  // DesktopControl
  bool ProgramFileExists(const std::string& path) override { return files.count(path) || programs.count(path); }
  uint32_t StartProgram(const std::string& file, const std::string& commandLine, const std::string& folder) override {
    log.push_back("start " + file + " | " + commandLine + " | " + folder);
    if (clock) startTimes.push_back(clock->NowMs());
    auto it = programs.find(file);
    if (it == programs.end() || !it->second.starts) return 0;
    const uint32_t pid = AddProcess(file.substr(file.find_last_of("\\:") + 1), 0, file);
    if (it->second.appearAfterPasses >= 0) {
      FakeWindow w;
      w.handle = nextHandle++;
      w.pid = pid;
      w.title = it->second.title;
      w.className = it->second.className;
      w.hung = it->second.hangs;
      pending.push_back({it->second.appearAfterPasses, w});
    }
    return pid;
  }
  void PostClose(WindowHandle h) override {
    log.push_back("close " + H(h));
    FakeWindow* w = Find(h);
    if (!w || w->asksBeforeClosing || Hung(*w)) return;
    const uint32_t pid = w->pid;
    std::erase_if(windows, [pid](const FakeWindow& x) { return x.pid == pid; });
    std::erase_if(processes, [pid](const ProcessEntry& p) { return p.pid == pid; });
  }
  void PostSysCommand(WindowHandle h, uint32_t command) override {
    const char* name = command == syscommand::kMaximize   ? "maximize"
                       : command == syscommand::kMinimize ? "minimize"
                       : command == syscommand::kRestore  ? "restore"
                                                          : "command";
    log.push_back(std::string(name) + " " + H(h));
    Change(h, [command](FakeWindow& w) {
      w.maximized = command == syscommand::kMaximize;
      w.minimized = command == syscommand::kMinimize;
    });
  }
  void ShowNormal(WindowHandle h) override {
    log.push_back("show " + H(h));
    Change(h, [](FakeWindow& w) { w.minimized = w.maximized = false; });
  }
  void SetPosition(WindowHandle h, WindowHandle after, int32_t x, int32_t y, int32_t width, int32_t height,
                   uint32_t flags) override {
    std::string line = "pos " + H(h);
    if (after == kInsertTopMost) line += " topmost";
    if (!(flags & placeflag::kNoMove)) line += " at " + std::to_string(x) + "," + std::to_string(y);
    if (!(flags & placeflag::kNoSize)) line += " size " + std::to_string(width) + "x" + std::to_string(height);
    log.push_back(line);
    positionFlags.push_back(flags);
    Change(h, [=](FakeWindow& w) {
      if (after == kInsertTopMost) w.topmost = true;
      if (!(flags & placeflag::kNoMove)) w.rect = {x, y, x + (w.rect.right - w.rect.left), y + (w.rect.bottom - w.rect.top)};
      if (!(flags & placeflag::kNoSize)) w.rect = {w.rect.left, w.rect.top, w.rect.left + width, w.rect.top + height};
    });
  }
  void SetForeground(WindowHandle h) override { log.push_back("front " + H(h)); }
  bool IsMinimized(WindowHandle h) override { return CaughtUp(h) && Find(h)->minimized; }
  bool IsMaximized(WindowHandle h) override { return CaughtUp(h) && Find(h)->maximized; }
  bool WindowRect(WindowHandle h, ScreenRect& r) override {
    if (!CaughtUp(h)) return false;
    r = Find(h)->rect;
    return true;
  }
  WindowHandle RootOwner(WindowHandle h) override {
    FakeWindow* w = Find(h);
    while (w && w->owner && Find(w->owner)) w = Find(w->owner);
    return w ? w->handle : 0;
  }
  bool CursorPosition(int32_t& x, int32_t& y) override {
    x = cursorX;
    y = cursorY;
    return true;
  }
  void SetCursorPosition(int32_t x, int32_t y) override {
    log.push_back("cursor " + std::to_string(x) + "," + std::to_string(y));
    cursorX = x;
    cursorY = y;
  }
  void LeftClick() override { log.push_back("click"); }

  std::vector<ProcessEntry> processes;
  std::map<uint32_t, std::string> imagePaths;  // pid: full path, when readable
  std::vector<FakeWindow> windows;  // the top of the Z order first
  std::vector<std::pair<int, FakeWindow>> pending;  // passes to go, the window
  std::set<std::string> files;
  std::map<std::string, FakeProgram> programs;  // by program file
  std::set<uint32_t> busyForever;  // never idle for input
  std::string browserVersion;
  bool noSnapshot = false;
  struct LaggingChange {
    uint64_t due;
    WindowHandle handle;
    std::function<void(FakeWindow&)> change;
  };
  std::vector<LaggingChange> lagging;
  std::vector<std::string> log;
  std::vector<uint32_t> positionFlags;  // of each SetPosition, in order
  Clock* clock = nullptr;  // given: when each start was asked for, and slow windows
  std::vector<uint64_t> startTimes;
  int passes = 0;
  int32_t cursorX = 0, cursorY = 0;
  WindowHandle foreground = 0;
  uint32_t ownPid = 1;  // Corvid's
  uint32_t nextPid = 100;
  WindowHandle nextHandle = 0x10;
};

}  // namespace corvid
