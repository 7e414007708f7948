// WinMain: the single-instance check, then the program on the Win32
// platform and its message loop.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "actions/cursor_hider_win32.h"
#include "app/corvid_app.h"
#include "base/system_library_win32.h"
#include "app/crash_release_win32.h"
#include "app/platform_win32.h"
#include "app/trace.h"
#include "base/text_win32.h"
#include "base/texts.h"
#include "remote/recorded_session.h"

using namespace corvid;

namespace {

// The exit code of a `--replay` run that found Corvid already running.
constexpr int kReplayNotRun = 3;

struct Options {
  std::wstring replay;
  std::wstring trace;
  bool quitAfterReplay = false;
  bool ok = true;
  std::wstring problem;
};

Options ParseOptions() {
  Options o;
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; argv && i < argc; ++i) {
    std::wstring a = argv[i];
    if (a == L"--replay" && i + 1 < argc) {
      o.replay = argv[++i];
    } else if (a == L"--trace" && i + 1 < argc) {
      o.trace = argv[++i];
    } else if (a == L"--quit-after-replay") {
      o.quitAfterReplay = true;
    } else {
      o.ok = false;
      o.problem = L"Unknown option: " + a +
                  L"\n\nCorvid.exe [--replay SESSION.txt [--quit-after-replay]] [--trace FILE]"
                  L"\n\nA replay while Corvid already runs ends with exit code 3.";
    }
  }
  LocalFree(argv);
  return o;
}

bool ReadFile(const std::wstring& path, std::string& out) {
  std::ifstream in(path.c_str(), std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  out = ss.str();
  return !in.bad();
}

}  // namespace

static int RunCorvid() {
  LimitLibrarySearchToSystem();
  const Options options = ParseOptions();
  if (!options.ok) {
    MessageBoxW(nullptr, options.problem.c_str(), L"Corvid", MB_OK | MB_ICONWARNING);
    return 2;
  }

  // Until the settings are read, Corvid speaks the display language.
  UseLanguage(ChooseLanguage("auto", GetUserDefaultUILanguage()));
  // One Corvid per user; the mutex lives as long as the process.
  CreateMutexW(nullptr, FALSE, L"Corvid");
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    MessageBoxW(nullptr, Widen(Text(TextId::AlreadyRunning)).c_str(),
                L"Alreadey Corvid Running.", MB_OK);
    // A session asked to be replayed was not: whoever started it is told so.
    return options.replay.empty() ? 0 : kReplayNotRun;
  }
  // An earlier Corvid may have ended while the cursors were blank; and if
  // this one crashes, the user gets the pointer back all the same.
  RestoreSystemCursors();
  InstallCrashRelease();

  // The trace file outlives the program, which may still write to it as it ends.
  std::unique_ptr<FILE, int (*)(FILE*)> trace(nullptr, &std::fclose);
  if (!options.trace.empty()) trace.reset(_wfopen(options.trace.c_str(), L"wb"));
  Win32Platform platform;
  CorvidApp app(platform);
  ReleaseOnCrash releaseOnCrash(app);
  if (trace) {
    AttachTrace(app, [trace = trace.get()](std::string_view kind, std::string_view text) {
      std::fprintf(trace, "%.*s  %.*s\n", int(kind.size()), kind.data(), int(text.size()), text.data());
      std::fflush(trace);
    });
  }
  if (!app.StartUp()) return 0;

  // A recorded session takes the place of the remote.
  if (options.replay.empty()) {
    app.StartRemote();
  } else {
    std::string text;
    if (ReadFile(options.replay, text))
      app.StartReplay(ParseRecordedSession(text), options.quitAfterReplay);
    else
      app.ReplayUnavailable("Cannot read the session file " + Narrow(options.replay), options.quitAfterReplay);
  }
  platform.RunMessageLoop(app);
  return 0;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // An error that escapes start-up or the message loop is shown, and Corvid
  // ends normally; the destructors on the way out have let go of every key.
  try {
    return RunCorvid();
  } catch (const std::exception& e) {
    RestoreSystemCursors();
    MessageBoxW(nullptr, Widen(e.what()).c_str(), L"Corvid", MB_OK | MB_ICONERROR);
  } catch (...) {
    RestoreSystemCursors();
    MessageBoxW(nullptr, L"Unexpected error", L"Corvid", MB_OK | MB_ICONERROR);
  }
  return 0;
}
