// Corvid.exe as a resident program: one instance per user, the tray icon,
// quitting from the menu, and a replayed session typing into the foreground
// window.
#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <sstream>

#include <string>
#include <utility>
#include <vector>

#include "win32/corvid_process.h"
#include "win32/wine_check_win32.h"

using namespace corvid_test;

namespace {

std::vector<std::pair<UINT, WPARAM>> g_keys;

LRESULT CALLBACK TargetProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP) {
    g_keys.push_back({msg == WM_SYSKEYDOWN ? WM_KEYDOWN : msg == WM_SYSKEYUP ? WM_KEYUP : msg, wp});
    return 0;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

HWND MakeTarget() {
  return wine_check::MakeFrontWindow(L"CorvidResidentTarget", TargetProc, 0, WS_OVERLAPPEDWINDOW, {50, 50, 300, 200});
}

std::wstring SettingsFile() {
  wchar_t docs[MAX_PATH];
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, docs))) return L"";
  return std::wstring(docs) + L"\\.corvid\\Corvid.ini";
}

std::string ReadAll(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void SecondInstanceAndQuit(const std::wstring& exe) {
  const std::wstring ini = SettingsFile();
  WCHECK(!ini.empty());
  WCHECK(GetFileAttributesW(ini.c_str()) == INVALID_FILE_ATTRIBUTES);  // a fresh prefix
  HANDLE first = Start(exe, L"");
  WCHECK(first != nullptr);
  HWND main = WaitForWindow(MainWindowOfCorvid, 15000);
  WCHECK(main != nullptr);
  if (!main) return;
  WCHECK(TrayIconExists(main));
  // The first start wrote the factory settings under the documents folder.
  const std::string written = ReadAll(ini);
  WCHECK(written.find("BD0B=0000,0D,RETURN\r\n") != std::string::npos);
  WCHECK(written.find("[App-8]") != std::string::npos);
  WCHECK(written.find("[Items-1]") == std::string::npos);

  HANDLE second = Start(exe, L"");
  HWND box = WaitForWindow([] { return FindWindowW(nullptr, L"Alreadey Corvid Running."); }, 15000);
  WCHECK(box != nullptr);
  WCHECK_EQ(WindowsOfClass(L"TForm1").size(), 1u);  // no second main window
  if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
  DWORD code = 99;
  WCHECK(WaitExit(second, 15000, &code));
  WCHECK_EQ(code, 0u);

  // The quit command ends the process and takes the icon away.
  PostMessageW(main, WM_COMMAND, kQuitCommand, 0);
  WCHECK(WaitExit(first, 15000, &code));
  WCHECK(!TrayIconExists(main));
  WCHECK(WindowsOfClass(L"TForm1").empty());
  CloseHandle(first);
  CloseHandle(second);
}

void ReplayTypesIntoTheForegroundWindow(const std::wstring& exe, const std::wstring& src) {
  HWND target = MakeTarget();
  WCHECK(GetForegroundWindow() == target);
  // The user's own maps: the number buttons type digits.
  WCHECK(CopyFileW((src + L"\\examples\\digits.ini").c_str(), SettingsFile().c_str(), FALSE));
  g_keys.clear();
  HANDLE p = Start(exe, L"--replay \"" + src + L"\\examples\\e2e-keys.txt\" --quit-after-replay");
  WCHECK(p != nullptr);
  DWORD code = 99;
  WCHECK(WaitExit(p, 20000, &code));
  wine_check::Pump(200);
  const std::vector<std::pair<UINT, WPARAM>> want = {
      {WM_KEYDOWN, '1'},        {WM_KEYUP, '1'},           {WM_KEYDOWN, '2'},        {WM_KEYUP, '2'},
      {WM_KEYDOWN, VK_UP},      {WM_KEYUP, VK_UP},         {WM_KEYDOWN, VK_DOWN},    {WM_KEYUP, VK_DOWN},
      {WM_KEYDOWN, VK_RETURN},  {WM_KEYUP, VK_RETURN},     {WM_KEYDOWN, VK_CONTROL}, {WM_KEYDOWN, VK_SHIFT},
      {WM_KEYDOWN, VK_RIGHT},   {WM_KEYUP, VK_RIGHT},      {WM_KEYUP, VK_SHIFT},     {WM_KEYUP, VK_CONTROL}};
  WCHECK_EQ(g_keys.size(), want.size());
  for (size_t i = 0; i < g_keys.size() && i < want.size(); ++i) {
    if (g_keys[i] != want[i]) {
      std::printf("key %zu: got msg %u vk 0x%02X, want msg %u vk 0x%02X\n", i, g_keys[i].first,
                  unsigned(g_keys[i].second), want[i].first, unsigned(want[i].second));
      WCHECK(false);
    }
  }
  for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN}) WCHECK(!(GetAsyncKeyState(vk) & 0x8000));
  DestroyWindow(target);
  CloseHandle(p);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::wstring exe = WinPath(argv[1]);
  const std::wstring src = WinPath(argv[2]);
  SecondInstanceAndQuit(exe);
  ReplayTypesIntoTheForegroundWindow(exe, src);
  return WineCheckResult("resident");
}
