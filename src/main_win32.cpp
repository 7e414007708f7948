// WinMain: the only place that wires the Win32 implementations together.
#include <windows.h>
#include <shellapi.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "actions/cursor_hider.h"
#include "actions/cursor_hiding_win32.h"
#include "actions/input_sink_win32.h"
#include "actions/mouse_motion.h"
#include "actions/mouse_motion_win32.h"
#include "app/hooks.h"
#include "app/hooks_win32.h"
#include "app/idle_trim.h"
#include "app/main_window_win32.h"
#include "app/platform_win32.h"
#include "app/tform1.h"
#include "app/text_win32.h"
#include "config/ansi_codec_win32.h"
#include "config/config_folder_win32.h"
#include "config/encoded_file_store.h"
#include "config/file_store.h"
#include "config/settings_store.h"
#include "osd/glyphs_win32.h"
#include "osd/osd_message.h"
#include "osd/osd_window_win32.h"
#include "remote/device_connection.h"
#include "remote/hid_layer_win32.h"
#include "remote/recorded_session.h"

using namespace corvid;

namespace {

struct NoPrograms : AppActions, PowerActions {
  void RunAppAction(int32_t) override {}
  void DisableExecTimer() override {}
  void SuspendSystem(bool) override {}
  void ExitSystem(int32_t) override {}
};

struct Options {
  std::wstring replay;
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
    } else if (a == L"--quit-after-replay") {
      o.quitAfterReplay = true;
    } else {
      o.ok = false;
      o.problem = L"Unknown option: " + a +
                  L"\n\nCorvid.exe [--replay SESSION.txt [--quit-after-replay]]";
    }
  }
  LocalFree(argv);
  return o;
}

bool ReadSession(const std::wstring& path, RecordedSession& out, std::string& problems) {
  std::ifstream in(path.c_str(), std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  out = ParseRecordedSession(ss.str());
  for (const SessionProblem& p : out.problems)
    problems += "line " + std::to_string(p.line) + ": " + p.text + "\n";
  return true;
}

}  // namespace

static int RunCorvid(HINSTANCE instance) {
  const Options options = ParseOptions();
  if (!options.ok) {
    MessageBoxW(nullptr, options.problem.c_str(), L"Corvid", MB_OK | MB_ICONWARNING);
    return 2;
  }

  // One Corvid per user; the mutex lives as long as the process.
  CreateMutexW(nullptr, FALSE, L"Corvid");
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    MessageBoxW(nullptr, Widen("すでにCorvid稼動中です。ﾀｽｸﾊﾞｰを確認して下さい。").c_str(),
                L"Alreadey Corvid Running.", MB_OK);
    return 0;
  }
  // An earlier Corvid may have ended while the cursors were blank; and if
  // this one crashes, the user gets the pointer back all the same.
  RestoreSystemCursors();
  InstallCursorRestoreOnCrash();

  Win32InputSink input;
  Win32TimerHost timers;
  Win32Clock clock;
  Win32Queue queue;
  Win32MessageBoxes boxes;
  // The message display comes before the form that shows messages; its
  // window only after the main window, which owns it.
  Win32ScreenSize screen;
  GdiGlyphRenderer glyphs;
  OsdWindowWin32 osdWindow;
  OsdMessage osd(timers, glyphs, osdWindow, screen, boxes);
  NoPrograms programs;
  LineView receiveLog, codeMonitor, debugLog;
  Services services{input, timers, clock, osd, queue, boxes, programs, programs,
                    receiveLog, codeMonitor, debugLog};

  auto form = std::make_unique<TForm1>(services);
  osd.Bind(form->settings, form->Decoder().BatteryLevel);
  DiskFileStore disk;
  AnsiCodecWin32 codec;
  EncodedFileStore files(disk, codec);
  const std::string folder = FindConfigFolder();
  StartUpSettings(*form, folder, files, boxes, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));

  MainWindowWin32 window(instance, *form, timers, queue);
  if (!window.Create()) return 0;
  if (!osdWindow.Create(window.Handle(), osd))
    debugLog.Append("The message window could not be created; messages are not shown.");

  // Mouse mode, the global hooks and cursor hiding attach to the form.
  Win32OwnWindows ownWindows;
  ownWindows.Add(window.Handle());
  MouseMotion motion(*form, screen, ownWindows);
  Win32HookPlatform hookPlatform(instance);
  GlobalHooks hooks(*form, hookPlatform);
  hookPlatform.Attach(&hooks);
  Win32SystemCursors systemCursors;
  CursorHider hider(*form, systemCursors, hooks);

  // Start-up completion: the initial mode.
  if (form->MouseMode) form->SwitchToMouseMode(); else form->SwitchToKeyboardMode();

  // A recorded session takes the place of the remote.
  HidControllerWin32 hid(instance);
  std::unique_ptr<DeviceConnection> connection;
  if (options.replay.empty()) {
    connection = std::make_unique<DeviceConnection>(*form, hid);
    hid.Create();
  } else {
    RecordedSession session;
    std::string problems;
    if (!ReadSession(options.replay, session, problems)) {
      boxes.Show("Cannot read the session file " + Narrow(options.replay), "Corvid", MessageBoxes::kOk);
    } else {
      if (!problems.empty()) receiveLog.Append(problems);
      window.StartReplay(std::move(session), options.quitAfterReplay);
    }
  }

  IdleTrim trim;
  MSG msg;
  for (;;) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        // The icon is gone and pending input dropped (WM_CLOSE); now the cursors.
        hider.FormClose();
        return 0;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    hider.ApplicationIdle(window.editorVisible(), false);  // no environment settings window yet
    if (trim.OnIdle(form->Busy())) SetProcessWorkingSetSize(GetCurrentProcess(), SIZE_MAX, SIZE_MAX);
    WaitMessage();
  }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // An error that escapes start-up or the message loop is shown, and Corvid
  // ends normally; the destructors on the way out have let go of every key.
  try {
    return RunCorvid(instance);
  } catch (const std::exception& e) {
    RestoreSystemCursors();
    MessageBoxW(nullptr, Widen(e.what()).c_str(), L"Corvid", MB_OK | MB_ICONERROR);
  } catch (...) {
    RestoreSystemCursors();
    MessageBoxW(nullptr, L"Unexpected error", L"Corvid", MB_OK | MB_ICONERROR);
  }
  return 0;
}
