// The installer as a user meets it: its pages (pictured) installing into
// Program Files with a start-menu shortcut and running Corvid from the last
// page, Corvid started from that shortcut's folder writing its settings,
// help found from another folder, and an uninstall whose first page says
// that a running Corvid is quit and the settings stay, which takes the
// program and its shortcuts but leaves the settings.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <initializer_list>
#include <string>

#include "app/tray_menu.h"
#include "base/version.h"
#include "win32/wine_support_win32.h"

using namespace wine_test;

namespace {

std::wstring Folder(int csidl) {
  wchar_t path[MAX_PATH];
  return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, 0, path)) ? path : L"";
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

struct Shortcut {
  std::wstring target, folder;
};

Shortcut ReadShortcut(const std::wstring& lnk) {
  Shortcut s;
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return s;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    if (SUCCEEDED(file->Load(lnk.c_str(), STGM_READ))) {
      wchar_t text[MAX_PATH] = L"";
      if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0))) s.target = text;
      if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) s.folder = text;
    }
    file->Release();
  }
  link->Release();
  return s;
}

std::wstring g_installDir, g_menuDir;
HWND g_setup = nullptr;
// The uninstaller runs on from a copy of itself; the start menu goes last.
bool Uninstalled() { return !Exists(g_installDir) && !Exists(g_menuDir); }

HWND HelpViewer() { return FindWindowW(L"HH Parent", L"Corvid Help"); }

// A top-level window of the installer (or the uninstaller) whose title
// begins with "Corvid " and the version.
HWND SetupWindow() {
  HWND found = nullptr;
  EnumWindows(
      [](HWND w, LPARAM out) -> BOOL {
        wchar_t t[128] = L"";
        GetWindowTextW(w, t, 128);
        if (IsWindowVisible(w) && wcsncmp(t, L"Corvid " CORVID_VERSION_TEXT L" ", 13) == 0) {
          *reinterpret_cast<HWND*>(out) = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// A visible control anywhere in `w` (the pages are children of children)
// whose text is one of `texts`.
HWND ControlWithText(HWND w, std::initializer_list<const wchar_t*> texts) {
  struct Find {
    std::initializer_list<const wchar_t*> texts;
    HWND found = nullptr;
  } f{texts};
  EnumChildWindows(
      w,
      [](HWND c, LPARAM lp) -> BOOL {
        auto* f = reinterpret_cast<Find*>(lp);
        wchar_t t[512] = L"";
        GetWindowTextW(c, t, 512);
        for (const wchar_t* want : f->texts)
          if (IsWindowVisible(c) && wcsstr(t, want)) {
            f->found = c;
            return FALSE;
          }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// The page shown, pictured, and left with its "Next" (id 1) button.
void NextPage(HWND setup, const wchar_t* picture) {
  Pump(400);
  const std::string title = WindowText(setup);
  EXPECT_NE(title.back(), ' ') << "\"" << title << "\"";
  EXPECT_TRUE(CaptureWindow(setup, picture));
  SendMessageW(GetDlgItem(setup, 1), BM_CLICK, 0, 0);
}

TEST(Installer, InstallsStartsFindsItsHelpAndUninstallsKeepingTheSettings) {
  CoInitialize(nullptr);
  const DWORD started = GetTickCount();
  const std::wstring installer = BuildFile(L"packages\\Corvid-" CORVID_VERSION_TEXT L"-win64.exe");
  ASSERT_TRUE(Exists(installer)) << "cpack makes it (the test package.installer)";
  const std::wstring dir = g_installDir = Folder(CSIDL_PROGRAM_FILES) + L"\\Corvid";
  const std::wstring menu = g_menuDir = Folder(CSIDL_COMMON_PROGRAMS) + L"\\Corvid";
  const std::wstring startup = Folder(CSIDL_STARTUP) + L"\\Corvid.lnk";
  const std::wstring ini = CorvidIniPath();
  const std::string before = ReadAll(ini);  // the other tests' settings, put back at the end
  DeleteFileW(ini.c_str());

  // As a user installs: the pages pictured, each "Next" taken, and Corvid
  // run from the last page (its box ticked from the start).
  const corvid::UniqueHandle setupProcess = Start(installer, L"");
  ASSERT_TRUE(setupProcess);
  HWND setup = WaitForWindow(SetupWindow, 20000);
  ASSERT_NE(setup, nullptr);
  NextPage(setup, L"installer_1_welcome.png");
  NextPage(setup, L"installer_2_license.png");
  NextPage(setup, L"installer_3_components.png");
  NextPage(setup, L"installer_4_folder.png");
  g_setup = setup;
  ASSERT_TRUE(WaitUntil([] { return ControlWithText(g_setup, {L"Run Corvid", L"Corvid を起動する"}) != nullptr; }, 60000));
  HWND run = ControlWithText(setup, {L"Run Corvid", L"Corvid を起動する"});
  EXPECT_EQ(SendMessageW(run, BM_GETCHECK, 0, 0), BST_CHECKED);
  NextPage(setup, L"installer_5_finish.png");
  DWORD code = 1;
  ASSERT_TRUE(WaitExit(setupProcess.Get(), 20000, &code));
  ASSERT_EQ(code, 0u);
  corvid::UniqueHandle ran;
  ASSERT_NE(WaitForWindow(MainWindowOfCorvid, 10000), nullptr) << "the finish page runs Corvid";
  {
    DWORD pid = 0;
    GetWindowThreadProcessId(MainWindowOfCorvid(), &pid);
    ran.Reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, pid));
  }
  EXPECT_TRUE(QuitCorvid(ran));
  DeleteFileW(ini.c_str());
  const DWORD installed = GetTickCount();
  for (const wchar_t* f : {L"Corvid.exe", L"Corvid.CHM", L"README.txt", L"LICENSE.txt", L"Uninstall.exe"})
    EXPECT_TRUE(Exists(dir + L"\\" + f)) << Utf8(f);
  EXPECT_FALSE(Exists(startup)) << "starting at sign-in is off unless chosen";

  const Shortcut shortcut = ReadShortcut(menu + L"\\Corvid.lnk");
  EXPECT_EQ(shortcut.target, dir + L"\\Corvid.exe");
  EXPECT_EQ(shortcut.folder, dir);

  corvid::UniqueHandle corvid = Start(shortcut.target, L"", shortcut.folder);
  ASSERT_TRUE(corvid);
  ASSERT_NE(WaitForWindow(MainWindowOfCorvid, 10000), nullptr);
  const DWORD end = GetTickCount() + 10000;
  while (!Exists(ini) && static_cast<LONG>(end - GetTickCount()) > 0) Pump(50);
  EXPECT_NE(ReadAll(ini).find("[Items-0]"), std::string::npos) << "a first start writes the settings";
  EXPECT_TRUE(QuitCorvid(corvid));

  // As at sign-in: the current folder holds no help file.
  corvid = Start(dir + L"\\Corvid.exe", L"", FreshFolder(L"elsewhere"));
  ASSERT_NE(WaitForWindow(MainWindowOfCorvid, 10000), nullptr);
  PostMessageW(MainWindowOfCorvid(), WM_COMMAND, corvid::MenuCommandId(corvid::MenuItem::Help), 0);
  HWND viewer = WaitForWindow(HelpViewer, 10000);
  EXPECT_NE(viewer, nullptr) << "the help file in Corvid.exe's folder opens";
  EXPECT_TRUE(QuitCorvid(corvid));

  const std::string settings = ReadAll(ini);
  const DWORD uninstallStart = GetTickCount();
  // Wine's viewer, without a browser engine, does not answer WM_CLOSE (the
  // uninstaller sends one); the user closes it, and it lets go of the file.
  if (viewer) EndProcessOfWindow(viewer);
  // The uninstaller's first page says what becomes of a running Corvid
  // and of the settings.
  const corvid::UniqueHandle uninstaller = Start(dir + L"\\Uninstall.exe", L"");
  HWND confirm = WaitForWindow(SetupWindow, 20000);
  ASSERT_NE(confirm, nullptr);
  EXPECT_NE(ControlWithText(confirm, {L"is quit first", L"終了します"}), nullptr);
  NextPage(confirm, L"uninstaller_1_confirm.png");
  g_setup = confirm;
  // "Close" is there, greyed, while it works; taken once it has done.
  EXPECT_TRUE(WaitUntil(
      [] { return !IsWindow(g_setup) || (IsWindowEnabled(GetDlgItem(g_setup, 1)) && ControlWithText(g_setup, {L"Close", L"閉じる"})); },
      30000));
  if (IsWindow(confirm)) SendMessageW(GetDlgItem(confirm, 1), BM_CLICK, 0, 0);
  WaitExit(uninstaller.Get(), 10000);
  EXPECT_TRUE(WaitUntil([] { return SetupWindow() == nullptr; }, 10000)) << WindowText(SetupWindow());
  if (!WaitUntil(Uninstalled, 15000)) {
    std::wstring left;
    WIN32_FIND_DATAW f;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &f);
    for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileW(h, &f)) left += L" " + std::wstring(f.cFileName);
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
    ADD_FAILURE() << "not all removed; the program folder holds:" << Utf8(left)
                  << (MainWindowOfCorvid() ? "; a Corvid runs" : "");
  }
  EXPECT_FALSE(Exists(menu)) << "and the start-menu folder";
  EXPECT_EQ(ReadAll(ini), settings) << "the settings are the user's";
  std::printf("[ figures ] install %lu ms, uninstall %lu ms, whole test %lu ms\n", installed - started,
              GetTickCount() - uninstallStart, GetTickCount() - started);

  if (!before.empty()) WriteAll(ini, before);
  CoUninitialize();
}

}  // namespace
