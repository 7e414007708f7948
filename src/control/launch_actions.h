#pragma once
// The launch-program actions of App-1 .. App-8 and All Quit: start, restore,
// start another copy or quit the registered program, close or move away the
// programs that may not or may run beside it, bring its window to the front
// in its placement, and switch the remote to the program's own key map. The
// waits are the clock's: on Windows they keep serving hooks and sent
// messages, while the remote's reports and the timers wait for the action.
#include <array>
#include <cstdint>
#include <string>

#include "base/screen_size.h"
#include "base/text_view.h"
#include "base/timer.h"
#include "model/app_entry.h"
#include "control/desktop.h"
#include "control/program_control.h"
#include "control/target_search.h"
#include "osd/message_display.h"

namespace corvid {

struct LaunchPorts {
  DesktopQuery& desktop;
  DesktopControl& control;
  Clock& clock;
  MessageDisplay& osd;
  ScreenSize& screen;
  AppActionHost& host;
  AutoStartMarks& marks;
  TextView& debugLog;    // the debug window's trace
  TextField& debugMatch;  // the one-line field above it
};

class LaunchActions : public AppActions {
 public:
  static constexpr int32_t kQuitAll = 255;
  static constexpr uint32_t kAfterStartMs = 1000;
  static constexpr int kStartRounds = 60;
  static constexpr int kQuitAllRounds = 100;
  static constexpr uint32_t kRoundPauseMs = 20;
  static constexpr uint32_t kAfterQuitMs = 400;
  static constexpr uint32_t kBeforeAutoStartMs = 1000;
  static constexpr uint32_t kAfterAutoStartMs = 100;
  // The changes of a window are asked without waiting; a step that reads
  // the window next gives them this long to show, looking every slice.
  static constexpr uint32_t kSettleMs = 500;
  static constexpr uint32_t kSettleSliceMs = 10;

  LaunchActions(std::array<AppEntry, kAppCount>& apps, const LaunchPorts& ports);

  void RunAppAction(int32_t index) override;
  void OnLongPress() override;
  void StartRecordedPrograms() override;
  bool QuitAllApps();
  bool RestoreNextRunningApp();

  void SetFindButton(FindButton* button) { find_ = button; }
  TargetWindowSearch& Search() { return search_; }

  // The command line of a start: the program's file name (quoted when it
  // holds a blank), a blank, the arguments as typed.
  static std::string CommandLine(const AppEntry& a);

 private:
  AppEntry& App(int i) { return apps_[static_cast<size_t>(i)]; }
  void Show(const std::string& text) { ports_.osd.ShowMessage(text); }
  void SetFindEnabled(bool on) {
    if (find_) find_->SetFindEnabled(on);
  }
  // The "AutoStart" marks an action sets are written once, when it ends, and
  // only where the file does not hold them already: an App press would
  // otherwise rewrite and flush the whole file twice.
  class MarksAtTheEnd {
   public:
    explicit MarksAtTheEnd(LaunchActions& actions) : a_(actions) { ++a_.markDepth_; }
    MarksAtTheEnd(const MarksAtTheEnd&) = delete;
    MarksAtTheEnd& operator=(const MarksAtTheEnd&) = delete;
    ~MarksAtTheEnd() {
      if (--a_.markDepth_ == 0) a_.WriteMarks();
    }

   private:
    LaunchActions& a_;
  };
  void SaveAutoStart(uint32_t entries, bool on);
  void WriteMarks();
  void Act(int i);
  // The first thing it could not do, in `failure`.
  void ActOnOthers(int i, std::string& failure);
  bool Start(int i, bool another);
  void ApplyPlacement(const AppEntry& a);
  // A window whose program has stopped taking its messages: told in the
  // trace and, when `show`, on the screen; the caller leaves it alone.
  bool NotResponding(int i, WindowHandle w, bool show = true);
  // Until the window is in `state` (and its top-left corner at `at`, when
  // given), at most kSettleMs.
  void Settle(WindowHandle w, int32_t state, const ScreenRect* at = nullptr);
  bool Restore(int i);
  bool Quit(int i);
  void Finish(int i);
  // The entry's window in front with its own key map.
  void Activate(int i);

  std::array<AppEntry, kAppCount>& apps_;
  LaunchPorts ports_;
  TargetWindowSearch search_;
  FindButton* find_ = nullptr;
  int markDepth_ = 0;
  uint32_t marksTouched_ = 0, marksOn_ = 0;
};

}  // namespace corvid
