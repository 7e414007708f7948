#include "app/crash_release_win32.h"

#include <windows.h>

#include <cstdlib>
#include <exception>

#include "actions/cursor_hider_win32.h"
#include "app/corvid_app.h"

namespace corvid {
namespace {

CorvidApp* g_app = nullptr;
LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;
std::terminate_handler g_previousTerminate = nullptr;

// Best effort in a broken process: a second fault here must not hide the first.
void LetGo() {
  CorvidApp* app = g_app;
  g_app = nullptr;
  if (app) {
    try {
      app->Engine().ReleaseEverything();
    } catch (...) {
    }
  }
  RestoreSystemCursors();
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
  LetGo();
  return g_previousFilter ? g_previousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
}

[[noreturn]] void OnTerminate() {
  LetGo();
  if (g_previousTerminate) g_previousTerminate();
  std::abort();
}

}  // namespace

void InstallCrashRelease() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  g_previousFilter = SetUnhandledExceptionFilter(OnUnhandledException);
  g_previousTerminate = std::set_terminate(OnTerminate);
}

ReleaseOnCrash::ReleaseOnCrash(CorvidApp& app) {
  InstallCrashRelease();
  g_app = &app;
}

ReleaseOnCrash::~ReleaseOnCrash() { g_app = nullptr; }

}  // namespace corvid
