// Corvid.exe's settings dialogs as a user waits on them: the tray's command
// to the launch-program settings shown, "実行試験" to notepad started and in
// front, "保存" to the dialog gone, and the environment settings' vertical bar
// to the preview at its new place on the screen. Printed, never judged.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/environment_dialog_win32.h"
#include "ui/launch_settings_win32.h"
#include "win32/wine_support_win32.h"

using namespace wine_test;

namespace {

double MsSince(double from) { return MillisecondsNow() - from; }

HWND LaunchDialog() { return VisibleWindowOfClass(L"LaunchSettings"); }
HWND EnvironmentDialog() { return VisibleWindowOfClass(L"EnvironmentDialog"); }
HWND Notepad() { return FindWindowW(L"Notepad", nullptr); }

// White pixels of the message band at `top` that were not in `before`.
int WhiteIn(const Capture& before, int top) {
  const Capture c = CaptureScreen({0, top, before.width, top + GetSystemMetrics(SM_CYSCREEN) / 10});
  int count = 0;
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const uint32_t p = c.At(x, y);
      count += (p & 0xFF) >= 200 && ((p >> 8) & 0xFF) >= 200 && ((p >> 16) & 0xFF) >= 200 && p != before.At(x, top + y);
    }
  return count;
}

void LaunchSettings() {
  using C = corvid::LaunchControl;
  WriteAll(CorvidIniPath(), "[System]\r\nHideStart=1\r\nLanguage=ja\r\n[App-1]\r\nAppProg=" + Utf8(NotepadPath()) +
                                "\r\nAppPath=C:\\windows\\\r\nMessage=Notepad\r\nClass=Notepad\r\n");
  const corvid::UniqueHandle p = Start(CorvidExe(), L"");
  if (!WaitForWindow(MainWindowOfCorvid, 15000)) return;
  WaitForInputIdle(p.Get(), 10000);
  double t = MillisecondsNow();
  SendTrayCommand(corvid::MenuItem::LaunchSettings);
  if (!WaitForWindow(LaunchDialog, 5000)) return;
  std::printf("the tray's command to the launch-program settings shown: %.0f ms\n", MsSince(t));
  Pump(300);
  t = MillisecondsNow();
  ClickOn(GetDlgItem(LaunchDialog(), C::kTest));
  if (WaitUntil([] { return Notepad() && GetForegroundWindow() == Notepad(); }, 10000))
    std::printf("\"実行試験\" to notepad started and in front: %.0f ms\n", MsSince(t));
  EndProgramsOfClass(L"Notepad");
  t = MillisecondsNow();
  SendMessageW(LaunchDialog(), WM_COMMAND, C::kSave, 0);
  if (WaitUntil([] { return LaunchDialog() == nullptr; }, 5000))
    std::printf("\"保存\" to the dialog gone: %.0f ms\n", MsSince(t));
  if (!QuitCorvid(p)) TerminateProcess(p.Get(), 1);
}

// From the message that moves the bar to the first screen capture that holds
// the preview there, ten times, above and below the dialog.
void PreviewDelay() {
  WriteAll(CorvidIniPath(), "[System]\r\nHideStart=1\r\nLanguage=ja\r\n");
  const corvid::UniqueHandle p = Start(CorvidExe(), L"");
  if (!WaitForWindow(MainWindowOfCorvid, 15000))
    return (void)std::printf("environment settings: Corvid did not start\n");
  WaitForInputIdle(p.Get(), 10000);
  Pump(1800);  // the start's message faded
  const Capture before = CaptureScreen();
  SendTrayCommand(corvid::MenuItem::Environment);
  const HWND dialog = WaitForWindow(EnvironmentDialog, 5000);
  if (!dialog) return (void)std::printf("environment settings: not shown\n");
  Pump(300);
  const LPARAM bar = reinterpret_cast<LPARAM>(GetDlgItem(dialog, corvid::EnvironmentDialogWin32::ControlId("MesPosy")));
  std::vector<double> handled, shown;
  double capture = 0;
  for (int k = 0; k < 10; ++k) {
    const int to = k % 2 ? 860 : 20;
    const double t0 = MillisecondsNow();
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, to), bar);
    handled.push_back(MsSince(t0));
    while (WhiteIn(before, to) < 300 && MsSince(t0) < 1000) {
    }
    shown.push_back(MsSince(t0));
    const double c0 = MillisecondsNow();
    WhiteIn(before, to);
    capture = std::max(capture, MsSince(c0));
    Pump(50);
  }
  std::sort(handled.begin(), handled.end());
  std::sort(shown.begin(), shown.end());
  std::printf(
      "environment settings: bar change to preview on screen, median %.1f ms, max %.1f ms; "
      "the change handler (drawing and pushing the message) median %.1f ms "
      "(10 changes; screen polled by captures of up to %.1f ms)\n",
      shown[shown.size() / 2], shown.back(), handled[handled.size() / 2], capture);
  SendMessageW(dialog, WM_CLOSE, 0, 0);
  if (!QuitCorvid(p)) TerminateProcess(p.Get(), 1);
}

}  // namespace

int main(int argc, char** argv) {
  SetPaths(argc, argv);
  LaunchSettings();
  PreviewDelay();
  DeleteFileW(CorvidIniPath().c_str());
  return 0;
}
