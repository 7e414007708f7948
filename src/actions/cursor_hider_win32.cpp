#include "actions/cursor_hider_win32.h"

#include <windows.h>

namespace corvid {
namespace {

constexpr DWORD kCursorIds[] = {32512, 32513, 32514, 32515, 32516, 32642, 32643, 32644, 32645, 32646};

}  // namespace

bool Win32SystemCursors::ReplaceWithBlank() {
  BYTE andMask[128], xorMask[128];
  for (BYTE& b : andMask) b = 0xFF;
  for (BYTE& b : xorMask) b = 0x00;
  HCURSOR blank = CreateCursor(GetModuleHandleW(nullptr), 1, 1, 32, 32, andMask, xorMask);
  if (!blank) return false;
  for (DWORD id : kCursorIds) {
    // The system takes each copy over; the original stays ours.
    if (HCURSOR copy = CopyIcon(blank)) {
      if (!SetSystemCursor(copy, id)) DestroyCursor(copy);
    }
  }
  DestroyCursor(blank);
  return true;
}

void Win32SystemCursors::Restore() { RestoreSystemCursors(); }

void RestoreSystemCursors() { SystemParametersInfoW(SPI_SETCURSORS, 0, nullptr, 0); }

}  // namespace corvid
