#pragma once
// Processes in snapshot order, windows in Z order (top first); what program
// control did is logged a line per call. A slow window changes lagMs later.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
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
  bool minimized = false, maximized = false, hung = false;
  uint64_t hangsAtMs = UINT64_MAX;
  uint32_t lagMs = 0;
  ScreenRect rect{100, 100, 500, 400};
};

struct FakeProgram {
  std::string title, className;
  int appearAfterPasses = 0;  // -1: never
  bool starts = true, hangs = false;
};

class FakeDesktop : public DesktopQuery, public DesktopControl {
 public:
  uint32_t AddProcess(const std::string& exeFile, uint32_t parent = 0, const std::string& imagePath = "") {
    processes.push_back({nextPid, parent, exeFile});
    if (!imagePath.empty()) imagePaths[nextPid] = imagePath;
    return nextPid++;
  }
  WindowHandle AddWindow(uint32_t pid, const std::string& title, const std::string& cls, uint32_t style = 0) {
    windows.push_back({nextHandle++, pid, title, cls, style});
    return windows.back().handle;
  }
  FakeWindow* Find(WindowHandle h) {
    auto it = std::find_if(windows.begin(), windows.end(), [h](const FakeWindow& w) { return w.handle == h; });
    return it == windows.end() ? nullptr : &*it;
  }
  void Change(WindowHandle h, std::function<void(FakeWindow&)> change) {
    FakeWindow* w = Find(h);
    if (!w || Hung(*w)) return;
    if (w->lagMs && clock) lagging.push_back({clock->NowMs() + w->lagMs, h, std::move(change)});
    else change(*w);
  }
  // The window with the changes due by now; null when it is gone.
  FakeWindow* CaughtUp(WindowHandle h) {
    std::erase_if(lagging, [&](Lagging& c) {
      if (c.handle != h || clock->NowMs() < c.due) return false;
      if (FakeWindow* w = Find(h)) c.change(*w);
      return true;
    });
    return Find(h);
  }
  bool Hung(const FakeWindow& w) { return w.hung || (clock && clock->NowMs() >= w.hangsAtMs); }
  static std::string H(WindowHandle h) { return "#" + std::to_string(h); }

  bool Processes(std::vector<ProcessEntry>& out) override {
    if (!noSnapshot) out.insert(out.end(), processes.begin(), processes.end());
    return !noSnapshot;
  }
  std::string ProcessImagePath(uint32_t pid) override { return imagePaths.count(pid) ? imagePaths[pid] : ""; }
  void ForEachWindowOfProcess(uint32_t pid, const std::function<void(const WindowEntry&)>& visit) override {
    ++passes;
    std::erase_if(pending,
                  [&](auto& p) { return p.first-- <= 0 && (windows.insert(windows.begin(), p.second), true); });
    for (const FakeWindow& w : windows)
      if (w.pid == pid) visit(WindowEntry{w.handle, w.style, w.pid, w.title, w.className});
  }
  InputIdleState InputIdle(uint32_t pid) override {
    const bool hung = std::any_of(windows.begin(), windows.end(), [&](auto& w) { return w.pid == pid && Hung(w); });
    return busyForever.count(pid) || hung ? InputIdleState::Busy : InputIdleState::Idle;
  }
  bool IsHung(WindowHandle h) override { return Find(h) && Hung(*Find(h)); }
  std::string BrowserVersion() override { return browserVersion; }
  WindowHandle ForegroundWindow() override { return foreground; }
  bool DescribeWindow(WindowHandle h, const std::function<void(const WindowEntry&)>& visit) override {
    const FakeWindow* w = Find(h);
    if (w) visit(WindowEntry{w->handle, w->style, w->pid, w->title, w->className});
    return w != nullptr;
  }
  uint32_t OwnProcessId() override { return ownPid; }

  bool ProgramFileExists(const std::string& path) override { return files.count(path) || programs.count(path); }
  uint32_t StartProgram(const std::string& file, const std::string& commandLine, const std::string& folder) override {
    log.push_back("start " + file + " | " + commandLine + " | " + folder);
    if (clock) startTimes.push_back(clock->NowMs());
    auto it = programs.find(file);
    if (it == programs.end() || !it->second.starts) return 0;
    const FakeProgram& p = it->second;
    const uint32_t pid = AddProcess(file.substr(file.find_last_of("\\:") + 1), 0, file);
    if (p.appearAfterPasses >= 0) {
      pending.push_back({p.appearAfterPasses, {nextHandle++, pid, p.title, p.className}});
      pending.back().second.hung = p.hangs;
    }
    return pid;
  }
  void PostClose(WindowHandle h) override {
    log.push_back("close " + H(h));
    FakeWindow* w = Find(h);
    if (!w || Hung(*w)) return;
    const uint32_t pid = w->pid;
    std::erase_if(windows, [pid](const FakeWindow& x) { return x.pid == pid; });
    std::erase_if(processes, [pid](const ProcessEntry& p) { return p.pid == pid; });
  }
  void PostSysCommand(WindowHandle h, uint32_t command) override {
    const char* name = command == syscommand::kMaximize   ? "maximize "
                       : command == syscommand::kMinimize ? "minimize "
                                                          : "restore ";
    log.push_back(name + H(h));
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
    const bool move = !(flags & placeflag::kNoMove), size = !(flags & placeflag::kNoSize);
    std::string line = "pos " + H(h) + (after == kInsertTopMost ? " topmost" : "");
    if (move) line += " at " + std::to_string(x) + "," + std::to_string(y);
    if (size) line += " size " + std::to_string(width) + "x" + std::to_string(height);
    char hex[16];
    std::snprintf(hex, sizeof hex, " flags %X", flags);
    log.push_back(line + hex);
    Change(h, [=](FakeWindow& w) {
      if (move) w.rect = {x, y, x + (w.rect.right - w.rect.left), y + (w.rect.bottom - w.rect.top)};
      if (size) w.rect = {w.rect.left, w.rect.top, w.rect.left + width, w.rect.top + height};
    });
  }
  void SetForeground(WindowHandle h) override { log.push_back("front " + H(h)); }
  bool IsMinimized(WindowHandle h) override { return CaughtUp(h) && Find(h)->minimized; }
  bool IsMaximized(WindowHandle h) override { return CaughtUp(h) && Find(h)->maximized; }
  bool WindowRect(WindowHandle h, ScreenRect& r) override {
    if (CaughtUp(h)) r = Find(h)->rect;
    return Find(h) != nullptr;
  }
  WindowHandle RootOwner(WindowHandle h) override {
    FakeWindow* w = Find(h);
    while (w && w->owner && Find(w->owner)) w = Find(w->owner);
    return w ? w->handle : 0;
  }
  bool CursorPosition(int32_t& x, int32_t& y) override {
    std::tie(x, y) = std::tie(cursorX, cursorY);
    return true;
  }
  void SetCursorPosition(int32_t x, int32_t y) override {
    log.push_back("cursor " + std::to_string(x) + "," + std::to_string(y));
    std::tie(cursorX, cursorY) = std::tie(x, y);
  }
  void LeftClick() override { log.push_back("click"); }

  std::vector<ProcessEntry> processes;
  std::map<uint32_t, std::string> imagePaths;  // pid: full path, when readable
  std::vector<FakeWindow> windows;
  std::vector<std::pair<int, FakeWindow>> pending;  // passes to go, the window
  std::set<std::string> files;
  std::map<std::string, FakeProgram> programs;  // by program file
  std::set<uint32_t> busyForever;  // never idle for input
  std::string browserVersion;
  bool noSnapshot = false;
  struct Lagging {
    uint64_t due;
    WindowHandle handle;
    std::function<void(FakeWindow&)> change;
  };
  std::vector<Lagging> lagging;
  std::vector<std::string> log;
  Clock* clock = nullptr;  // given: start times and slow or hanging windows
  std::vector<uint64_t> startTimes;
  int passes = 0;
  int32_t cursorX = 0, cursorY = 0;
  WindowHandle foreground = 0;
  uint32_t ownPid = 1;  // Corvid's
  uint32_t nextPid = 100;
  WindowHandle nextHandle = 0x10;
};

}  // namespace corvid
