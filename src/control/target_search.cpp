#include "control/target_search.h"

#include <algorithm>

namespace corvid {
namespace {

constexpr std::string_view kRule = "-------------------------------------------------------";
constexpr std::string_view kWindowRule = "       -----------------------------";
constexpr uint32_t kDisabledStyle = 0x08000000;
// "Afx:" class names carry instance-specific numbers behind this length.
constexpr size_t kAfxComparedLength = 32;

struct MatchText {
  std::string_view prefix;
  std::string_view line;
};
constexpr MatchText kBoth{"BOTH-", "    ●Both searched  >>>>>>>>>>"};
constexpr MatchText kClass{"CLASS-", "    ●Class searched >>>>>>>>>>"};
constexpr MatchText kCaption{"CAPTION-", "    ●Caption searched>>>>>>>>>>"};
constexpr MatchText kPid{"PID-", "    ■PID searched    >>>>>>>>>>"};

void AppendHex8(std::string& out, uint32_t v) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (int shift = 28; shift >= 0; shift -= 4) out += kDigits[(v >> shift) & 0xF];
}

}  // namespace

std::string_view ProgramFileName(std::string_view path) {
  const size_t cut = path.find_last_of("\\:");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

bool SameProgram(std::string_view a, std::string_view b) {
  auto fold = [](char c) { return c == '/' ? '\\' : LowerAscii(c); };
  return !a.empty() && a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return fold(x) == fold(y); });
}

bool TargetWindowSearch::RefreshAppProcessIds() {
  for (AppEntry& a : apps_) a.ProcessId = 0;
  processes_.clear();
  if (!desktop_.Processes(processes_)) return true;
  // The walk never stops early: of several processes of one program, the
  // last in the snapshot decides.
  for (const ProcessEntry& p : processes_) {
    std::string image;  // read once a name matches: it costs a call to the system
    bool imageRead = false;
    for (AppEntry& a : apps_) {
      const std::string_view file = ProgramFileName(a.AppProg);
      // An entry without a program names no process.
      if (file.empty() || !EqualsIgnoringCase(file, p.exeFile)) continue;
      // A program of the same name in another folder is not the entry's.
      if (!imageRead) image = desktop_.ProcessImagePath(p.pid), imageRead = true;
      if (!image.empty() && !SameProgram(image, a.AppProg)) continue;
      if (p.pid != 0) a.ProcessId = p.pid;
      // The browser from version 8 on runs its pages in child processes;
      // the frame is the parent's.
      if (EqualsIgnoringCase(file, "iexplore.exe") && p.parentPid != 0 && BrowserMajorVersion() >= 8)
        a.ProcessId = p.parentPid;
    }
  }
  return true;
}

int32_t TargetWindowSearch::BrowserMajorVersion() {
  const std::string v = desktop_.BrowserVersion();
  return !v.empty() && v[0] >= '0' && v[0] <= '9' ? v[0] - '0' : 0;
}

void TargetWindowSearch::Trace(std::string_view head, std::string_view text) {
  line_.assign(head);
  line_.append(text);
  debugLog_.Append(line_);
}

void TargetWindowSearch::TraceHex(std::string_view head, uint32_t value) {
  line_.assign(head);
  AppendHex8(line_, value);
  debugLog_.Append(line_);
}

WindowMatch MatchWindow(std::string_view className, std::string_view caption, const WindowEntry& w) {
  if (w.title.empty()) return WindowMatch::None;
  std::string_view wanted = className, actual = w.className;
  if (wanted.substr(0, 4) == "Afx:") {
    wanted = wanted.substr(0, kAfxComparedLength);
    actual = actual.substr(0, kAfxComparedLength);
  }
  // UTF-8 is self-synchronising: a byte search finds the caption only where
  // a whole character starts.
  const bool titleHas = w.title.find(caption) != std::string_view::npos;
  const bool classIs = EqualsIgnoringCase(wanted, actual);
  if (!className.empty() && !caption.empty()) {
    // iTunes keeps a disabled window of its class beside the real one.
    const bool passedOver = EqualsIgnoringCase(w.className, "iTunes") && (w.style & kDisabledStyle);
    return classIs && titleHas && !passedOver ? WindowMatch::Both : WindowMatch::None;
  }
  if (!className.empty()) return classIs ? WindowMatch::Class : WindowMatch::None;
  if (!caption.empty()) return titleHas ? WindowMatch::Caption : WindowMatch::None;
  return WindowMatch::Process;
}

bool RunsProgram(DesktopQuery& desktop, uint32_t pid, const AppEntry& a) {
  if (pid == 0 || a.AppProg.empty()) return false;
  if (a.ProcessId == pid) return true;
  const std::string image = desktop.ProcessImagePath(pid);
  if (!image.empty()) return SameProgram(image, a.AppProg);
  std::vector<ProcessEntry> processes;
  if (!desktop.Processes(processes)) return false;
  for (const ProcessEntry& p : processes)
    if (p.pid == pid) return EqualsIgnoringCase(ProgramFileName(a.AppProg), p.exeFile);
  return false;
}

void TargetWindowSearch::Examine(TargetSearch& s, const WindowEntry& w) {
  if (w.title.empty() || w.pid != s.pid) return;

  if (w.pid != LastLoggedPid) {
    debugLog_.Append("");
    debugLog_.Append(kRule);
    Trace("EXEC PROG  > ", s.program);
    TraceHex("PID        > ", w.pid);
    debugLog_.Append(kRule);
    LastLoggedPid = w.pid;
  }
  Trace("       Cap   >", w.title);
  Trace("       Class >", w.className);
  debugLog_.Append(kWindowRule);

  const MatchText* match = nullptr;
  switch (MatchWindow(s.className, s.caption, w)) {
    case WindowMatch::Both: match = &kBoth; break;
    case WindowMatch::Class: match = &kClass; break;
    case WindowMatch::Caption: match = &kCaption; break;
    // By process alone the highest titled window is taken.
    case WindowMatch::Process: match = s.found == 0 ? &kPid : nullptr; break;
    case WindowMatch::None: break;
  }
  if (!match) return;

  // A later match overwrites: the lowest matching window in the Z order wins.
  s.found = w.handle;
  const auto handle = static_cast<uint32_t>(w.handle);
  line_.assign(match->prefix);
  AppendHex8(line_, handle);
  debugMatch_.Set(line_);
  TraceHex(match->line, handle);
  debugLog_.Append("");
}

WindowHandle TargetWindowSearch::FindTargetWindowOnce(uint32_t pid, std::string_view className,
                                                      std::string_view program, std::string_view caption) {
  TargetSearch s{pid, 0, className, caption, program};
  desktop_.ForEachWindowOfProcess(pid, [this, &s](const WindowEntry& w) { Examine(s, w); });
  return s.found;
}

WindowHandle TargetWindowSearch::FindTargetWindow(int index) {
  const AppEntry& a = apps_[static_cast<size_t>(index)];
  WindowHandle found = 0;
  for (int pass = 0; pass < kPasses && found == 0; ++pass) {
    found = FindTargetWindowOnce(a.ProcessId, a.Class, a.AppProg, a.Caption);
    // A program that stopped taking its messages is never idle for input.
    if (found == 0 || !desktop_.IsHung(found)) WaitForInputIdle(a.ProcessId);
    clock_.Sleep(kPassPauseMs);
  }
  return found;
}

void TargetWindowSearch::WaitForInputIdle(uint32_t pid) {
  if (pid == 0 || pid == slowPid_) return;
  const uint64_t end = clock_.NowMs() + kInputIdleLimitMs;
  while (desktop_.InputIdle(pid) == InputIdleState::Busy) {
    if (clock_.NowMs() >= end) {
      slowPid_ = pid;
      return;
    }
    clock_.Sleep(kInputIdleSliceMs);
  }
}

}  // namespace corvid
