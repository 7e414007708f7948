#pragma once
// Starting and watching Corvid.exe from a Windows test program.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace corvid_test {

inline std::wstring W(const char* s) {
  std::wstring out;
  for (; *s; ++s) out += static_cast<wchar_t>(static_cast<unsigned char>(*s));
  return out;
}

// A path as ctest passes it (a Unix path under Wine) as a Windows path.
inline std::wstring WinPath(const char* s) {
  std::wstring out = W(s);
  if (!out.empty() && out[0] == L'/') out = L"Z:" + out;
  for (wchar_t& c : out)
    if (c == L'/') c = L'\\';
  return out;
}

// Starts `exe` with `args`; the handle is 0 when it could not be started.
inline HANDLE Start(const std::wstring& exe, const std::wstring& args) {
  std::wstring cmd = L"\"" + exe + L"\" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return nullptr;
  CloseHandle(pi.hThread);
  return pi.hProcess;
}

// Pumps this thread's messages until the process ends or `ms` pass.
inline bool WaitExit(HANDLE process, unsigned ms, DWORD* code = nullptr) {
  const DWORD end = GetTickCount() + ms;
  for (;;) {
    const DWORD left = static_cast<LONG>(end - GetTickCount()) > 0 ? end - GetTickCount() : 0;
    const DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, left, QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) {
      if (code) GetExitCodeProcess(process, code);
      return true;
    }
    if (r == WAIT_TIMEOUT) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

inline std::vector<HWND> WindowsOfClass(const wchar_t* cls) {
  struct Ctx {
    const wchar_t* cls;
    std::vector<HWND> found;
  } ctx{cls, {}};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Ctx*>(lp);
        wchar_t name[64];
        if (GetClassNameW(w, name, 64) && lstrcmpW(name, c->cls) == 0) c->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&ctx));
  return ctx.found;
}

// Waits (pumping) until `find` returns a window, up to `ms`.
template <typename Find>
HWND WaitForWindow(Find find, unsigned ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    if (HWND w = find()) return w;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(20);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
  return nullptr;
}

inline HWND MainWindowOfCorvid() {
  auto all = WindowsOfClass(L"TForm1");
  return all.empty() ? nullptr : all.front();
}

inline bool TrayIconExists(HWND owner) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = owner;
  nid.uID = 100;
  nid.uFlags = NIF_TIP;
  lstrcpyW(nid.szTip, L" Corvid 0.997");
  return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

inline constexpr WPARAM kQuitCommand = 1007;  // the menu's "quit" item

}  // namespace corvid_test
