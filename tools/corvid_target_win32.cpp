// corvid-target: a small window that takes the foreground, starts the program
// on its command line (Corvid.exe replaying a session), and prints every key
// it receives until that program ends. The demo shows with it what a real
// window gets from Corvid.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

DWORD g_start = 0;

std::string KeyName(WPARAM vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, static_cast<char>(vk));
  switch (vk) {
    case VK_RETURN: return "ENTER";
    case VK_CONTROL: return "CTRL";
    case VK_SHIFT: return "SHIFT";
    case VK_MENU: return "ALT";
    case VK_LWIN: return "WIN";
    case VK_UP: return "UP";
    case VK_DOWN: return "DOWN";
    case VK_LEFT: return "LEFT";
    case VK_RIGHT: return "RIGHT";
    case VK_ESCAPE: return "ESC";
    case VK_SPACE: return "SPACE";
    case VK_BACK: return "BACKSPACE";
    case VK_TAB: return "TAB";
  }
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%02X", static_cast<unsigned>(vk));
  return buf;
}

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_KEYUP: case WM_SYSKEYUP: {
      const bool up = msg == WM_KEYUP || msg == WM_SYSKEYUP;
      const bool repeat = !up && (lp & (1 << 30));
      std::printf("%6lu ms  window  %-4s %s%s\n", GetTickCount() - g_start, up ? "up" : "down",
                  KeyName(wp).c_str(), repeat ? "  (repeat)" : "");
      std::fflush(stdout);
      return 0;
    }
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_RBUTTONDOWN: case WM_RBUTTONUP:
      std::printf("%6lu ms  window  %s\n", GetTickCount() - g_start,
                  msg == WM_LBUTTONDOWN ? "left button down" : msg == WM_LBUTTONUP ? "left button up"
                  : msg == WM_RBUTTONDOWN ? "right button down" : "right button up");
      std::fflush(stdout);
      return 0;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

}  // namespace

int main() {
  // Everything after our own name is the command to run.
  std::wstring cmd = GetCommandLineW();
  size_t at = 0;
  if (!cmd.empty() && cmd[0] == L'"') at = cmd.find(L'"', 1) + 1;
  else at = cmd.find(L' ');
  if (at == std::wstring::npos || at >= cmd.size()) {
    std::printf("usage: corvid-target PROGRAM [ARGUMENTS]\n");
    return 2;
  }
  std::wstring child = cmd.substr(at);
  while (!child.empty() && child[0] == L' ') child.erase(0, 1);

  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"CorvidTarget";
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, wc.lpszClassName, L"Corvid target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                           640, 400, nullptr, nullptr, wc.hInstance, nullptr);
  SetForegroundWindow(w);
  SetFocus(w);

  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, child.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::printf("cannot start: error %lu\n", GetLastError());
    return 1;
  }
  g_start = GetTickCount();
  MSG msg;
  DWORD ended = 0;
  for (;;) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (!ended && WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) ended = GetTickCount();
    if (ended && GetTickCount() - ended > 300) break;  // late messages still arrive
    MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 20, QS_ALLINPUT);
  }
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN})
    if (GetAsyncKeyState(vk) & 0x8000) std::printf("still down afterwards: %s\n", KeyName(vk).c_str());
  std::printf("Corvid.exe ended with %lu\n", code);
  return static_cast<int>(code);
}
