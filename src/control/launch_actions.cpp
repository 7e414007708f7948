#include "control/launch_actions.h"

#include <algorithm>

namespace corvid {
namespace {

constexpr uint32_t kAllEntries = (1u << kAppCount) - 1;
constexpr uint32_t kMoveAwayFlags = placeflag::kNoSize | placeflag::kNoActivate | placeflag::kFrameChanged;
constexpr uint32_t kMoveOnlyFlags = placeflag::kNoSize | placeflag::kFrameChanged | placeflag::kNoCopyBits;
constexpr uint32_t kPlaceFlags = placeflag::kFrameChanged | placeflag::kNoCopyBits;

enum Operation : int32_t { kNothing = 1, kRestore = 2, kStartAnother = 4, kQuit = 8 };
enum Placement : int32_t { kMaximised = 2, kMinimised = 4, kRectangle = 8 };
enum WindowState : int32_t { kNormalState = 0, kMinimisedState = 1, kMaximisedState = 2 };

uint32_t Bit(int i) { return 1u << i; }

int32_t Clamped(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

LaunchActions::LaunchActions(std::array<AppEntry, kAppCount>& apps, const LaunchPorts& ports)
    : apps_(apps), ports_(ports), search_(apps, ports.desktop, ports.clock, ports.debugLog, ports.debugMatch) {}

std::string LaunchActions::CommandLine(const AppEntry& a) {
  // The quoted full path: the system finds the program (a batch file among
  // them) whatever the folder it is started in.
  return "\"" + a.AppProg + "\" " + a.AppArgs;
}

void LaunchActions::SaveAutoStart(uint32_t entries, bool on) {
  marksTouched_ |= entries;
  marksOn_ = on ? marksOn_ | entries : marksOn_ & ~entries;
  if (markDepth_ == 0) WriteMarks();
}

void LaunchActions::WriteMarks() {
  const uint32_t touched = marksTouched_, on = marksOn_;
  marksTouched_ = marksOn_ = 0;
  // Told in the trace rather than a box: a modal box would run the remote's
  // reports and the timers in the middle of the action.
  if (touched && !ports_.marks.SaveAutoStartMarks(touched, on))
    ports_.debugLog.Append("AutoStart could not be written to the settings file.");
}

void LaunchActions::RunAppAction(int32_t index) {
  const MarksAtTheEnd marks(*this);
  search_.ForgetSlowProcess();
  if (index == kQuitAll) {
    Show("All Quit");
    QuitAllApps();
    return;
  }
  if (index < 0 || index >= kAppCount) return;
  Act(index);
  // The long press belonged to this press alone.
  ports_.host.SetLongPressed(false);
}

void LaunchActions::Act(int i) {
  search_.RefreshAppProcessIds();
  AppEntry& a = App(i);
  if (a.AppProg.empty() || !ports_.control.ProgramFileExists(a.AppProg)) return;

  // Only the entry acted on may stay marked for the next start of Corvid.
  SaveAutoStart(kAllEntries, false);
  // What could not be done to the others is said when the action is over:
  // said at once, the action's own messages would cover it at once.
  std::string others;
  ActOnOthers(i, others);

  bool finish = true;
  if (a.ProcessId == 0) {
    finish = Start(i, false);
  } else {
    switch (ports_.host.LongPressed() ? kQuit : a.KeyAction) {
      case kRestore: finish = Restore(i); break;
      case kStartAnother: finish = Start(i, true); break;
      case kQuit: finish = Quit(i); break;
      default: break;
    }
  }
  if (finish) Finish(i);
  if (!others.empty()) Show(others);
}

void LaunchActions::ActOnOthers(int i, std::string& failure) {
  if (ports_.host.LongPressed()) return;
  const AppEntry& a = App(i);
  for (int j = 0; j < kAppCount; ++j) {
    // Another entry of the same program is the same program registered twice.
    if (j == i || SameProgram(App(j).AppProg, a.AppProg)) continue;
    AppEntry& b = App(j);
    if (b.ProcessId != 0 && !(static_cast<uint32_t>(a.CoRunMask) & Bit(j))) {
      b.TargetWindow = search_.FindTargetWindow(j);
      if (b.TargetWindow != 0) {
        if (const WindowHandle root = ports_.control.RootOwner(b.TargetWindow)) {
          // A hung program closes when it answers again.
          NotResponding(j, b.TargetWindow, false);
          ports_.control.PostClose(root);
          b.ProcessId = 0;
          b.TargetWindow = 0;
          b.LastLeft = b.WinLeft;
          b.LastTop = b.WinTop;
          b.LastRight = b.WinRight;
          b.LastBottom = b.WinBottom;
          b.WindowState = kNormalState;
        }
        ports_.host.SetCurrentAppMap(0);
        ports_.host.SelectKeyMap(0, ModeRequest::Keep);
      } else {
        if (failure.empty()) failure = "Can't Control target.0";
      }
    }
    if (b.ProcessId != 0) {
      b.TargetWindow = search_.FindTargetWindow(j);
      if (b.TargetWindow != 0) {
        // Out of view above the screen: it may keep running. A hung one
        // goes when it answers again.
        NotResponding(j, b.TargetWindow, false);
        ports_.control.SetPosition(b.TargetWindow, kInsertAtTop, a.WinLeft,
                                   Clamped(int64_t{a.WinTop} - ports_.screen.ScreenHeight()), 0, 0, kMoveAwayFlags);
        ports_.host.SetCurrentAppMap(0);
        ports_.host.SelectKeyMap(0, ModeRequest::Keep);
      } else {
        if (failure.empty()) failure = "Can't Control target.1";
      }
    }
  }
}

bool LaunchActions::Start(int i, bool another) {
  AppEntry& a = App(i);
  // Without a message of its own, a start (one at start-up above all) says
  // which program it is.
  const std::string name = a.Message.empty() ? std::string(ProgramFileName(a.AppProg)) : a.Message;
  Show(name + (another ? " AddExec" : " Exec"));
  a.ProcessId = ports_.control.StartProgram(a.AppProg, CommandLine(a), a.AppPath);
  a.TargetWindow = 0;
  // A program that did not start has no window to wait for.
  if (a.ProcessId != 0) {
    ports_.clock.Sleep(kAfterStartMs);
    search_.WaitForInputIdle(a.ProcessId);
    for (int round = 0; round < kStartRounds; ++round) {
      a.TargetWindow = search_.FindTargetWindow(i);
      ports_.clock.Sleep(kRoundPauseMs);
      if (a.TargetWindow != 0) break;
    }
  }
  if (a.TargetWindow == 0) {
    Show(another ? "Can't Control target.3" : "Can't Control target.2");
    return false;
  }
  if (!another) SetFindEnabled(true);
  // A hung window would take its placement only when it answers again, over
  // whatever is in front by then.
  if (NotResponding(i, a.TargetWindow)) return false;
  ApplyPlacement(a);
  Activate(i);
  return true;
}

void LaunchActions::ApplyPlacement(const AppEntry& a) {
  const WindowHandle w = a.TargetWindow;
  switch (a.Placement) {
    case kMaximised:
      ports_.control.PostSysCommand(w, syscommand::kMaximize);
      Settle(w, kMaximisedState);
      break;
    case kMinimised:
      ports_.control.PostSysCommand(w, syscommand::kMinimize);
      Settle(w, kMinimisedState);
      break;
    case kRectangle: {
      ports_.control.ShowNormal(w);
      bool moved = false;
      if (a.WinRight == 0 || a.WinBottom == 0) {
        ports_.control.SetPosition(w, kInsertAtTop, a.WinLeft, a.WinTop, 0, 0, kMoveOnlyFlags);
        moved = true;
      }
      if (a.WinRight > a.WinLeft && a.WinBottom > a.WinTop) {
        ports_.control.SetPosition(w, kInsertAtTop, a.WinLeft, a.WinTop, Clamped(int64_t{a.WinRight} - a.WinLeft),
                                   Clamped(int64_t{a.WinBottom} - a.WinTop), kPlaceFlags);
        moved = true;
      }
      const ScreenRect at{a.WinLeft, a.WinTop, 0, 0};
      Settle(w, kNormalState, moved ? &at : nullptr);
      break;
    }
    default: break;
  }
}

bool LaunchActions::NotResponding(int i, WindowHandle w, bool show) {
  if (!ports_.desktop.IsHung(w)) return false;
  const AppEntry& a = App(i);
  if (show) Show(a.Message + " Not Responding");
  ports_.debugLog.Append("NOT RESPONDING > App-" + std::to_string(i + 1) + " " +
                         std::string(ProgramFileName(a.AppProg)));
  return true;
}

void LaunchActions::Settle(WindowHandle w, int32_t state, const ScreenRect* at) {
  DesktopControl& c = ports_.control;
  const auto shown = [&] {
    ScreenRect r;
    if (!c.WindowRect(w, r)) return true;  // gone: nothing to wait for
    if (state == kMinimisedState) return c.IsMinimized(w);
    if (state == kMaximisedState) return c.IsMaximized(w);
    // The size is the program's to limit; the place is where it was put.
    return !c.IsMinimized(w) && !c.IsMaximized(w) && (!at || (r.left == at->left && r.top == at->top));
  };
  for (uint32_t waited = 0; waited < kSettleMs && !shown(); waited += kSettleSliceMs)
    ports_.clock.Sleep(kSettleSliceMs);
}

void LaunchActions::Activate(int i) {
  AppEntry& a = App(i);
  ports_.control.SetForeground(a.TargetWindow);
  ports_.host.SetCurrentAppMap(i + 1);
  ports_.host.SelectKeyMap(i + 1, StartMode(a.StartMap));
  if (a.RecordState) SaveAutoStart(Bit(i), true);
}

bool LaunchActions::Restore(int i) {
  AppEntry& a = App(i);
  Show(a.Message + " Restore");
  a.TargetWindow = search_.FindTargetWindow(i);
  if (a.TargetWindow == 0) {
    Show("Can't Control target.4");
    return false;
  }
  // Left as it is: the restore would come when the program answers again,
  // on a desktop that has changed meanwhile.
  if (NotResponding(i, a.TargetWindow)) return false;
  WindowHandle root = ports_.control.RootOwner(a.TargetWindow);
  if (root == 0) root = a.TargetWindow;
  switch (a.WindowState) {
    case kMinimisedState: ports_.control.PostSysCommand(root, syscommand::kMinimize); break;
    case kMaximisedState: ports_.control.PostSysCommand(root, syscommand::kMaximize); break;
    case kNormalState:
      ports_.control.ShowNormal(root);
      // A rectangle cleared by All Quit would shrink the window to nothing.
      if (a.WinRight > a.WinLeft && a.WinBottom > a.WinTop && a.LastRight > a.LastLeft && a.LastBottom > a.LastTop) {
        ports_.control.SetPosition(a.TargetWindow, kInsertAtTop, a.LastLeft, a.LastTop,
                                   Clamped(int64_t{a.LastRight} - a.LastLeft),
                                   Clamped(int64_t{a.LastBottom} - a.LastTop), kPlaceFlags);
        const ScreenRect at{a.LastLeft, a.LastTop, 0, 0};
        Settle(a.TargetWindow, kNormalState, &at);
      }
      break;
    default: break;
  }
  // Finish reads the state it was brought to.
  Settle(root, a.WindowState);
  Activate(i);
  return true;
}

bool LaunchActions::Quit(int i) {
  AppEntry& a = App(i);
  // A long press has shown it when the time was reached.
  if (!ports_.host.LongPressed()) Show(a.Message + " Quit");
  a.TargetWindow = search_.FindTargetWindow(i);
  if (a.TargetWindow == 0) {
    Show("Can't Control target.5");
    return false;
  }
  if (const WindowHandle root = ports_.control.RootOwner(a.TargetWindow)) ports_.control.PostClose(root);
  // A hung program closes when it answers again; nothing waits for it, and
  // the entry stays as it is until then.
  if (NotResponding(i, a.TargetWindow)) return false;
  // A program that asks before closing stays open, unmarked; the next
  // process search finds it again.
  a.ProcessId = 0;
  a.TargetWindow = 0;
  a.LastLeft = a.LastTop = a.LastRight = a.LastBottom = 0;
  a.WindowState = kNormalState;
  SaveAutoStart(Bit(i), false);
  ports_.host.SetCurrentAppMap(0);
  SetFindEnabled(false);
  ports_.clock.Sleep(kAfterQuitMs);
  if (!RestoreNextRunningApp()) ports_.host.SelectKeyMap(0, ModeRequest::Home);
  ports_.host.SetLongPressed(false);
  return true;
}

void LaunchActions::Finish(int i) {
  AppEntry& a = App(i);
  if (a.ProcessId == 0 || a.TargetWindow == 0) return;
  const WindowHandle w = a.TargetWindow;
  if (NotResponding(i, w)) return;
  const bool minimised = ports_.control.IsMinimized(w);
  const bool maximised = ports_.control.IsMaximized(w);
  if (!minimised && !maximised) {
    ScreenRect r;
    if (ports_.control.WindowRect(w, r)) {
      a.LastLeft = r.left;
      a.LastTop = r.top;
      a.LastRight = r.right;
      a.LastBottom = r.bottom;
    }
    a.WindowState = kNormalState;
  }
  if (minimised) a.WindowState = kMinimisedState;
  if (maximised) a.WindowState = kMaximisedState;
  if (a.LaunchTopmost)
    ports_.control.SetPosition(w, kInsertTopMost, 0, 0, 0, 0, placeflag::kNoSize | placeflag::kNoMove);
  if (a.DummyClick) {
    int32_t x = 0, y = 0;
    const bool had = ports_.control.CursorPosition(x, y);
    search_.WaitForInputIdle(a.ProcessId);
    ports_.clock.Sleep(static_cast<uint32_t>(std::max(a.ActivateDelay, 0)));
    // A click into a window that stopped answering meanwhile would wait in
    // its queue and act on whatever is there later.
    if (NotResponding(i, w)) return;
    ports_.control.SetCursorPosition(Clamped(int64_t{a.LastLeft} + a.ClickX), Clamped(int64_t{a.LastTop} + a.ClickY));
    ports_.control.LeftClick();
    if (had) ports_.control.SetCursorPosition(x, y);
  }
}

bool LaunchActions::RestoreNextRunningApp() {
  const MarksAtTheEnd marks(*this);
  for (int j = 0; j < kAppCount; ++j) {
    AppEntry& b = App(j);
    if (b.ProcessId == 0) continue;
    b.TargetWindow = search_.FindTargetWindow(j);
    if (b.TargetWindow == 0) {
      Show("Can't Control target.7");
      return false;
    }
    Show(b.Message + " Restore");
    const WindowHandle w = b.TargetWindow;
    if (NotResponding(j, w)) return false;
    switch (b.WindowState) {
      case kMinimisedState: ports_.control.PostSysCommand(w, syscommand::kMinimize); break;
      case kMaximisedState: ports_.control.PostSysCommand(w, syscommand::kMaximize); break;
      case kNormalState: {
        ports_.control.ShowNormal(w);
        if (const WindowHandle root = ports_.control.RootOwner(w)) ports_.control.ShowNormal(root);
        Settle(w, kNormalState);
        if (ports_.control.IsMinimized(w)) ports_.control.PostSysCommand(w, syscommand::kRestore);
        if (b.LastRight != 0 && b.LastBottom != 0)
          ports_.control.SetPosition(w, kInsertAtTop, b.LastLeft, b.LastTop, Clamped(int64_t{b.LastRight} - b.LastLeft),
                                     Clamped(int64_t{b.LastBottom} - b.LastTop), kPlaceFlags);
        break;
      }
      default: break;
    }
    Activate(j);
    return true;
  }
  return false;
}

bool LaunchActions::QuitAllApps() {
  const MarksAtTheEnd marks(*this);
  search_.RefreshAppProcessIds();
  for (int j = 0; j < kAppCount; ++j) {
    AppEntry& b = App(j);
    if (b.ProcessId == 0) continue;
    for (int round = 0; round < kQuitAllRounds; ++round) {
      b.TargetWindow = search_.FindTargetWindow(j);
      ports_.clock.Sleep(kRoundPauseMs);
      if (b.TargetWindow != 0) break;
    }
    if (b.TargetWindow == 0) {
      Show("Can't Control Target.6");
      continue;
    }
    if (const WindowHandle root = ports_.control.RootOwner(b.TargetWindow)) ports_.control.PostClose(root);
    // Closed when it answers again, if ever: Corvid ends no program itself.
    NotResponding(j, b.TargetWindow);
    b.LastLeft = b.LastTop = b.LastRight = b.LastBottom = 0;
    SaveAutoStart(Bit(j), false);
    ports_.host.SetCurrentAppMap(0);
    ports_.host.SelectKeyMap(0, ModeRequest::Home);
  }
  SetFindEnabled(false);
  return true;
}

void LaunchActions::OnLongPress() {
  ports_.host.SetLongPressed(true);
  const int32_t i = ports_.host.ArmedAppIndex();
  if (i < 0 || i >= kAppCount) return;
  // Whether it runs now: a program started since the last action would
  // otherwise quit at the release without a word.
  search_.RefreshAppProcessIds();
  if (App(i).ProcessId != 0) Show(App(i).Message + " Quit");
}

void LaunchActions::StartRecordedPrograms() {
  search_.RefreshAppProcessIds();
  for (int i = 0; i < kAppCount; ++i) {
    // A mark alone starts nothing: the entry must have been registered in
    // the dialog (a settings file could otherwise run any program).
    if (!App(i).AutoStart || !App(i).Registered || App(i).ProcessId != 0) continue;
    ports_.clock.Sleep(kBeforeAutoStartMs);
    RunAppAction(i);
    ports_.clock.Sleep(kAfterAutoStartMs);
  }
}

}  // namespace corvid
