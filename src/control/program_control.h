#pragma once
// What the dispatcher asks of program control (the launch-program actions
// and the power actions), and what the launch-program actions ask of the
// rest of the program.
#include <cstdint>

#include "control/power.h"

namespace corvid {

class AppActions {
 public:
  virtual ~AppActions() = default;
  // At the release of an App button (index 0..7, or 255 for quit all).
  virtual void RunAppAction(int32_t index) = 0;
  // The long-press timer of an App button has expired (and is stopped).
  virtual void OnLongPress() = 0;
  // At start-up: the programs recorded to start with Corvid.
  virtual void StartRecordedPrograms() = 0;
};

// The mode a key map switch asks for; an entry's "StartMap" stores it as
// its number.
enum class ModeRequest : int32_t { Keep = 0, Keyboard = 1, Mouse = 2, Home = 3 };
// A stored number out of range asks for no change.
inline ModeRequest StartMode(int32_t stored) {
  return stored >= 0 && stored <= 3 ? static_cast<ModeRequest>(stored) : ModeRequest::Keep;
}

// The action engine's side of an App action: the active key map and the
// press that armed the action.
class AppActionHost {
 public:
  virtual ~AppActionHost() = default;
  virtual void SetCurrentAppMap(int32_t n) = 0;
  // N 0..8: the basic map or App-N's own.
  virtual void SelectKeyMap(int32_t n, ModeRequest mode) = 0;
  virtual int32_t ArmedAppIndex() const = 0;
  // The armed button was held past its long-press time.
  virtual bool LongPressed() const = 0;
  virtual void SetLongPressed(bool reached) = 0;
};

// The "AutoStart" marks of the settings file (the file only: the marks in
// memory stay as they were loaded).
class AutoStartMarks {
 public:
  virtual ~AutoStartMarks() = default;
  // Writes the mark of every entry whose bit is set in `entries` (bit k:
  // App index k), set where its bit in `on` is; false when the file refused it.
  virtual bool SaveAutoStartMarks(uint32_t entries, uint32_t on) = 0;
};

// The "Find" button of the launch-program settings: usable while a started
// program's window is known.
class FindButton {
 public:
  virtual ~FindButton() = default;
  virtual void SetFindEnabled(bool enabled) = 0;
};

}  // namespace corvid
