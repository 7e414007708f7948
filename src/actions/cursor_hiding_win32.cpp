#include "actions/cursor_hiding_win32.h"

#include <windows.h>

#include <exception>

namespace corvid {
namespace {

constexpr DWORD kCursorIds[] = {32512, 32513, 32514, 32515, 32516, 32642, 32643, 32644, 32645, 32646};

LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;
std::terminate_handler g_previousTerminate = nullptr;

LONG WINAPI RestoreOnException(EXCEPTION_POINTERS* info) {
  RestoreSystemCursors();
  return g_previousFilter ? g_previousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
}

[[noreturn]] void RestoreOnTerminate() {
  RestoreSystemCursors();
  if (g_previousTerminate) g_previousTerminate();
  std::abort();
}

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

void InstallCursorRestoreOnCrash() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  g_previousFilter = SetUnhandledExceptionFilter(RestoreOnException);
  g_previousTerminate = std::set_terminate(RestoreOnTerminate);
}

}  // namespace corvid
