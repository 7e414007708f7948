#pragma once
// The system cursors on the Win32 API, and the restores that keep a Corvid
// that ended badly from leaving the user without a pointer.
#include "actions/cursor_hider.h"

namespace corvid {

class Win32SystemCursors : public SystemCursors {
 public:
  bool ReplaceWithBlank() override;
  void Restore() override;
};

// Reloads the user's cursor scheme. Call at start-up: an earlier Corvid may
// have been ended while the cursors were blank.
void RestoreSystemCursors();

}  // namespace corvid
