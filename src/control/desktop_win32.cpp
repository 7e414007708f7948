#include "control/desktop_win32.h"

#include <windows.h>
#include <tlhelp32.h>

#include "base/handles_win32.h"
#include "base/text_win32.h"

namespace corvid {
namespace {

HWND Hwnd(WindowHandle w) { return reinterpret_cast<HWND>(w); }

// UTF-16 to UTF-8 into a string that keeps its buffer.
void ToUtf8(const wchar_t* text, int length, std::string& out) {
  out.clear();
  if (length <= 0) return;
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return;
  out.resize(static_cast<size_t>(n));
  WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
}

struct Collection {
  DWORD pid;
  std::vector<WindowHandle>* windows;
};

BOOL CALLBACK CollectWindow(HWND w, LPARAM lp) {
  reinterpret_cast<std::vector<WindowHandle>*>(lp)->push_back(reinterpret_cast<WindowHandle>(w));
  return TRUE;
}

BOOL CALLBACK CollectWindowOfProcess(HWND w, LPARAM lp) {
  auto* c = reinterpret_cast<Collection*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == c->pid) c->windows->push_back(reinterpret_cast<WindowHandle>(w));
  return TRUE;
}

// The threads of a process, from a snapshot of the system's; false when no
// snapshot could be taken.
bool ThreadsOfProcess(DWORD pid, std::vector<uint32_t>& out) {
  out.clear();
  const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot) return false;
  THREADENTRY32 t{};
  t.dwSize = sizeof t;
  for (BOOL more = Thread32First(snapshot.Get(), &t); more; more = Thread32Next(snapshot.Get(), &t))
    if (t.th32OwnerProcessID == pid) out.push_back(t.th32ThreadID);
  return true;
}

bool IsFolder(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool Win32DesktopQuery::Processes(std::vector<ProcessEntry>& out) {
  const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  PROCESSENTRY32W p{};
  p.dwSize = sizeof p;
  for (BOOL more = Process32FirstW(snapshot.Get(), &p); more; more = Process32NextW(snapshot.Get(), &p))
    out.push_back({p.th32ProcessID, p.th32ParentProcessID, Narrow(p.szExeFile)});
  return true;
}

void Win32DesktopQuery::ForEachWindowOfProcess(uint32_t pid, const std::function<void(const WindowEntry&)>& visit) {
  if (pid == 0) return;
  WindowsOfProcess(pid);
  for (WindowHandle handle : windows_) Describe(handle, pid, visit);  // one unreadable window never ends a pass
}

void Win32DesktopQuery::Describe(WindowHandle handle, uint32_t pid,
                                 const std::function<void(const WindowEntry&)>& visit) {
  const HWND w = Hwnd(handle);
  // Titles as a 255-character buffer holds them.
  wchar_t title[256], cls[256];
  const int titleLength = GetWindowTextW(w, title, 255);
  const int classLength = GetClassNameW(w, cls, 255);
  ToUtf8(title, titleLength, title_);
  ToUtf8(cls, classLength, class_);
  WindowEntry entry;
  entry.handle = handle;
  entry.style = static_cast<uint32_t>(GetWindowLongW(w, GWL_STYLE));
  entry.pid = pid;
  entry.title = title_;
  entry.className = class_;
  visit(entry);
}

WindowHandle Win32DesktopQuery::ForegroundWindow() { return reinterpret_cast<WindowHandle>(GetForegroundWindow()); }

bool Win32DesktopQuery::DescribeWindow(WindowHandle w, const std::function<void(const WindowEntry&)>& visit) {
  DWORD pid = 0;
  if (w == 0 || !GetWindowThreadProcessId(Hwnd(w), &pid)) return false;
  Describe(w, pid, visit);
  return true;
}

uint32_t Win32DesktopQuery::OwnProcessId() { return GetCurrentProcessId(); }

// The top-level windows of a process, in Z order. Asking each window of the
// desktop whose it is costs a call to the system per window (under Wine a
// round trip to its server); asking each thread of the process for its
// windows costs one call per thread, and gives them in Z order. Only when
// several threads have windows does the desktop's list tell their order.
// The snapshot of the threads costs more than a small desktop's windows, so
// it serves the passes of half a second: a search makes many in a row.
void Win32DesktopQuery::WindowsOfProcess(uint32_t pid) {
  windows_.clear();
  const uint64_t now = GetTickCount64();
  if (pid != threadsPid_ || now - threadsTakenMs_ >= kThreadsKeptMs) {
    threadsPid_ = ThreadsOfProcess(pid, threads_) ? pid : 0;
    threadsTakenMs_ = now;
  }
  int threadsWithWindows = 0;
  for (uint32_t thread : threads_) {
    const size_t before = windows_.size();
    EnumThreadWindows(thread, CollectWindow, reinterpret_cast<LPARAM>(&windows_));
    threadsWithWindows += windows_.size() > before;
  }
  if (threadsPid_ == pid && threadsWithWindows <= 1) return;
  windows_.clear();
  Collection c{pid, &windows_};
  EnumWindows(CollectWindowOfProcess, reinterpret_cast<LPARAM>(&c));
}

InputIdleState Win32DesktopQuery::InputIdle(uint32_t pid) {
  const UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid));
  if (!process) return InputIdleState::Unknown;
  // Asked without waiting: the caller waits in sleeps that keep serving the
  // hooks of this thread.
  const DWORD r = WaitForInputIdle(process.Get(), 0);
  return r == 0 ? InputIdleState::Idle : r == WAIT_TIMEOUT ? InputIdleState::Busy : InputIdleState::Unknown;
}

std::string Win32DesktopQuery::ProcessImagePath(uint32_t pid) {
  const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process) return {};
  wchar_t path[MAX_PATH * 2];
  DWORD size = MAX_PATH * 2;
  const bool ok = QueryFullProcessImageNameW(process.Get(), 0, path, &size) != FALSE;
  return ok ? Narrow(std::wstring_view(path, size)) : std::string();
}

std::string Win32DesktopQuery::BrowserVersion() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Internet Explorer", 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return {};
  wchar_t value[256] = {};
  DWORD type = 0, size = sizeof value - sizeof(wchar_t);
  const LONG r = RegQueryValueExW(key, L"Version", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
  return Narrow(value);
}

bool Win32DesktopQuery::IsHung(WindowHandle w) { return IsHungAppWindow(Hwnd(w)) != FALSE; }

bool Win32DesktopControl::ProgramFileExists(const std::string& path) {
  const DWORD a = GetFileAttributesW(Widen(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

uint32_t Win32DesktopControl::StartProgram(const std::string& file, const std::string& commandLine,
                                           const std::string& folder) {
  const std::wstring program = Widen(file);
  std::wstring line = Widen(commandLine);
  // The program's folder is given to the program; Corvid's own stays.
  const std::wstring workFolder = Widen(folder);
  const bool useFolder = !workFolder.empty() && IsFolder(workFolder);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      useFolder ? workFolder.c_str() : nullptr, &si, &pi))
    return 0;
  const UniqueHandle thread(pi.hThread), process(pi.hProcess);  // not waited on
  return pi.dwProcessId;
}

void Win32DesktopControl::PostClose(WindowHandle w) { PostMessageW(Hwnd(w), WM_CLOSE, 0, 0); }

// Posted, not sent: a sent command waits for the program to carry it out.
void Win32DesktopControl::PostSysCommand(WindowHandle w, uint32_t command) {
  PostMessageW(Hwnd(w), WM_SYSCOMMAND, command, 0);
}

// ShowWindow and a plain SetWindowPos on another thread's window wait until
// that thread has handled them.
void Win32DesktopControl::ShowNormal(WindowHandle w) { ShowWindowAsync(Hwnd(w), SW_SHOWNORMAL); }

void Win32DesktopControl::SetPosition(WindowHandle w, WindowHandle insertAfter, int32_t x, int32_t y, int32_t width,
                                      int32_t height, uint32_t flags) {
  SetWindowPos(Hwnd(w), insertAfter == kInsertTopMost ? HWND_TOPMOST : HWND_TOP, x, y, width, height,
               flags | SWP_ASYNCWINDOWPOS);
}

// The activation is handed to the window's thread without waiting for it;
// the callers leave a hung window alone before this.
void Win32DesktopControl::SetForeground(WindowHandle w) { SetForegroundWindow(Hwnd(w)); }

bool Win32DesktopControl::IsMinimized(WindowHandle w) { return IsIconic(Hwnd(w)) != FALSE; }

bool Win32DesktopControl::IsMaximized(WindowHandle w) { return IsZoomed(Hwnd(w)) != FALSE; }

bool Win32DesktopControl::WindowRect(WindowHandle w, ScreenRect& r) {
  RECT rc;
  if (!GetWindowRect(Hwnd(w), &rc)) return false;
  r = {rc.left, rc.top, rc.right, rc.bottom};
  return true;
}

WindowHandle Win32DesktopControl::RootOwner(WindowHandle w) {
  return reinterpret_cast<WindowHandle>(GetAncestor(Hwnd(w), GA_ROOTOWNER));
}

bool Win32DesktopControl::CursorPosition(int32_t& x, int32_t& y) {
  POINT p;
  if (!GetCursorPos(&p)) return false;
  x = p.x;
  y = p.y;
  return true;
}

void Win32DesktopControl::SetCursorPosition(int32_t x, int32_t y) { SetCursorPos(x, y); }

void Win32DesktopControl::LeftClick() {
  INPUT in[2] = {};
  for (INPUT& i : in) {
    i.type = INPUT_MOUSE;
    i.mi.dwExtraInfo = GetMessageExtraInfo();
  }
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof(INPUT));
}

}  // namespace corvid
