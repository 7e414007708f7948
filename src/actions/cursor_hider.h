#pragma once
// Hides the pointer while the remote drives the computer in keyboard mode:
// the system cursors are replaced by a blank one 4 s after the pointer was
// last brought back, and restored at the first mouse movement, in mouse
// mode, while a settings window is shown and when Corvid ends.
#include <cstdint>

#include "actions/cursor_hiding.h"
#include "base/text_view.h"
#include "base/timer.h"
#include "model/settings.h"

namespace corvid {

class SystemCursors {
 public:
  virtual ~SystemCursors() = default;
  // Replaces the ten system cursors by copies of a new blank cursor; false,
  // with nothing replaced, when the blank cursor cannot be created.
  virtual bool ReplaceWithBlank() = 0;
  // Reloads the user's cursor scheme.
  virtual void Restore() = 0;
};

class CursorHider : public CursorHiding {
 public:
  // `debugLog` is told when hiding cannot work.
  CursorHider(TimerHost& timers, SystemCursors& cursors, CursorWakeHook& hook, const Settings& settings,
              TextView& debugLog);
  CursorHider(const CursorHider&) = delete;
  CursorHider& operator=(const CursorHider&) = delete;

  void StartWaitErase() override;
  void StopWaitEraseAndShow() override;

  void HideCursor();
  void ShowCursorAgain();
  void OnHideDelay();

  // What an idle turn looks at.
  struct IdleState {
    bool editorVisible = false;
    bool environmentVisible = false;
    bool mouseMode = false;
  };
  // An idle turn of the application.
  void ApplicationIdle(const IdleState& now);
  // Corvid ends: the cursor is shown for good (after the icon is gone and
  // pending input is dropped).
  void StopHiding();

  // False once the blank cursor could not be made: no more hiding this run.
  bool Available() const { return available_; }

  static constexpr uint32_t kWaitMs = 4000;
  Timer hideDelayTimer;
  bool CursorVisible = false;  // false until the first restore

 private:
  SystemCursors& cursors_;
  CursorWakeHook& hook_;
  const Settings& settings_;
  TextView& debugLog_;
  bool available_ = true;
};

}  // namespace corvid
