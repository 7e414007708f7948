#include "app/main_window_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "app/text_win32.h"

namespace corvid {
namespace {

constexpr UINT_PTR kReplayTimer = 1;
constexpr UINT kMenuBase = 1000;

}  // namespace

MainWindowWin32::MainWindowWin32(HINSTANCE instance, TForm1& form, Win32TimerHost& timers, Win32Queue& queue)
    : instance_(instance), form_(form), timers_(timers), queue_(queue) {}

MainWindowWin32::~MainWindowWin32() {
  if (window_) DestroyWindow(window_);
}

bool MainWindowWin32::Create() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = reinterpret_cast<WNDPROC>(&MainWindowWin32::WindowProc);
  wc.hInstance = instance_;
  wc.lpszClassName = kMainWindowClass;
  wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(1));
  RegisterClassW(&wc);
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kMainWindowClass, L"Corvid", WS_POPUP, 0, 0, 0, 0, nullptr,
                            nullptr, instance_, this);
  if (!window_) return false;
  timers_.Attach(window_);
  queue_.Attach(window_);
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  AddIcon();
  return true;
}

void MainWindowWin32::AddIcon() {
  NOTIFYICONDATAA nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = window_;
  nid.uID = kTrayIconId;
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = kTrayCallbackMessage;
  nid.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(1));
  if (!nid.hIcon) nid.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  std::strncpy(nid.szTip, kTrayTip, sizeof nid.szTip - 1);
  iconAdded_ = Shell_NotifyIconA(NIM_ADD, &nid) != FALSE;
}

void MainWindowWin32::RemoveIcon() {
  NOTIFYICONDATAA nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = window_;
  nid.uID = kTrayIconId;
  Shell_NotifyIconA(NIM_DELETE, &nid);
  iconAdded_ = false;
}

intptr_t __stdcall MainWindowWin32::WindowProc(HWND w, unsigned msg, uintptr_t wp, intptr_t lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<MainWindowWin32*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (self && self->window_ == w) return self->Handle(msg, wp, lp);
  return DefWindowProcW(w, msg, wp, lp);
}

intptr_t MainWindowWin32::Handle(unsigned msg, uintptr_t wp, intptr_t lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kReplayTimer) {
        KillTimer(window_, kReplayTimer);
        ReplayStep();
      } else if (timers_.Owns(wp)) {
        Win32TimerHost::OnTimerMessage(wp);
      }
      return 0;
    case WM_COMMAND: {
      const unsigned id = LOWORD(wp);
      if (id >= kMenuBase && id < kMenuBase + 8) Run(menu_.Click(static_cast<MenuItem>(id - kMenuBase)));
      return 0;
    }
    case WM_CLOSE:
      FormClose();
      DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  if (msg == kTrayCallbackMessage) {
    Run(TrayMenu::OnTrayMessage(static_cast<uint32_t>(lp)));
    return DefWindowProcW(window_, msg, wp, lp);
  }
  if (taskbarCreated_ && msg == taskbarCreated_) {
    // The shell restarted: without the icon the user could not reach Corvid.
    AddIcon();
    return 0;
  }
  return DefWindowProcW(window_, msg, wp, lp);
}

void MainWindowWin32::OpenMenu() {
  menu_.PopupMenu1Popup(editorVisible(), launchSettingsVisible());
  HMENU menu = CreatePopupMenu();
  for (const MenuEntry& e : menu_.Entries()) {
    if (e.caption == "-") {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (e.checked ? MF_CHECKED : 0) | (e.enabled ? 0 : MF_GRAYED);
    AppendMenuW(menu, flags, kMenuBase + static_cast<UINT>(e.item), Widen(e.caption).c_str());
  }
  POINT pt;
  GetCursorPos(&pt);
  SetForegroundWindow(window_);
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, pt.x, pt.y, 0, window_, nullptr);
  PostMessageW(window_, WM_NULL, 0, 0);
  DestroyMenu(menu);
}

void MainWindowWin32::Run(TrayCommand command) {
  switch (command) {
    case TrayCommand::None: return;
    case TrayCommand::OpenMenu: OpenMenu(); return;
    case TrayCommand::Quit: Quit(); return;
    case TrayCommand::OpenHelp:
      ShellExecuteA(window_, "open", kHelpFile, nullptr, nullptr, 10);
      return;
    case TrayCommand::ShowKeyMapEditorBasic:
      form_.CurrentAppMap = 0;
      break;
    default:
      break;
  }
  if (onCommand) onCommand(command);
}

void MainWindowWin32::Quit() {
  if (onCommand) onCommand(TrayCommand::Quit);  // the dialogs close first
  PostMessageW(window_, WM_CLOSE, 0, 0);
}

void MainWindowWin32::FormClose() {
  if (closed_) return;
  closed_ = true;
  KillTimer(window_, kReplayTimer);
  // Nothing Corvid pressed may stay down after it has gone.
  form_.ReleaseEverything();
  if (onClose) onClose();
  RemoveIcon();
  queue_.RemovePendingMouseMessages();
  queue_.RemovePendingKeyboardMessages();
}

void MainWindowWin32::StartReplay(RecordedSession session, bool quitAfter) {
  replay_ = std::move(session);
  replayNext_ = 0;
  replayQuit_ = quitAfter;
  SetTimer(window_, kReplayTimer, 10, nullptr);
}

void MainWindowWin32::ReplayStep() {
  while (replayNext_ < replay_.steps.size()) {
    const SessionStep& step = replay_.steps[replayNext_++];
    if (step.kind == SessionStep::Kind::Wait) {
      if (step.waitMs == 0) continue;
      SetTimer(window_, kReplayTimer, step.waitMs, nullptr);
      return;
    }
    if (!step.bytes.empty())
      form_.JvHidDeviceController1DeviceData(step.bytes[0], step.bytes.data() + 1, step.bytes.size() - 1);
  }
  if (replayQuit_) Quit();
}

}  // namespace corvid
