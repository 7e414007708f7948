// The installer as a user meets it: a silent install into Program Files with
// its start-menu shortcut, Corvid started from that shortcut's folder writing
// its settings, help found from another folder, and a silent uninstall that
// takes the program and its shortcuts but leaves the settings.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <gtest/gtest.h>

#include <cstdio>
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
// The uninstaller runs on from a copy of itself; the start menu goes last.
bool Uninstalled() { return !Exists(g_installDir) && !Exists(g_menuDir); }

HWND HelpViewer() { return FindWindowW(L"HH Parent", L"Corvid Help"); }

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

  DWORD code = 1;
  ASSERT_TRUE(WaitExit(Start(installer, L"/S"), 60000, &code));
  ASSERT_EQ(code, 0u);
  const DWORD installed = GetTickCount();
  for (const wchar_t* f : {L"Corvid.exe", L"Corvid.CHM", L"README.txt", L"LICENSE.txt", L"Uninstall.exe"})
    EXPECT_TRUE(Exists(dir + L"\\" + f)) << Utf8(f);
  EXPECT_FALSE(Exists(startup)) << "starting at sign-in is off unless chosen";

  const Shortcut shortcut = ReadShortcut(menu + L"\\Corvid.lnk");
  EXPECT_EQ(shortcut.target, dir + L"\\Corvid.exe");
  EXPECT_EQ(shortcut.folder, dir);

  HANDLE corvid = Start(shortcut.target, L"", shortcut.folder);
  ASSERT_NE(corvid, nullptr);
  ASSERT_NE(WaitForWindow(MainWindowOfCorvid, 10000), nullptr);
  const DWORD end = GetTickCount() + 10000;
  while (!Exists(ini) && static_cast<LONG>(end - GetTickCount()) > 0) Pump(50);
  EXPECT_NE(ReadAll(ini).find("[Items-0]"), std::string::npos) << "a first start writes the settings";
  EXPECT_TRUE(QuitCorvid(corvid));

  // As at sign-in: the current folder holds no help file.
  corvid = Start(dir + L"\\Corvid.exe", L"", FreshFolder(L"elsewhere"));
  ASSERT_NE(WaitForWindow(MainWindowOfCorvid, 10000), nullptr);
  PostMessageW(MainWindowOfCorvid(), WM_COMMAND, corvid::MenuCommandId(corvid::MenuItem::H1), 0);
  HWND viewer = WaitForWindow(HelpViewer, 10000);
  EXPECT_NE(viewer, nullptr) << "the help file in Corvid.exe's folder opens";
  EXPECT_TRUE(QuitCorvid(corvid));

  const std::string settings = ReadAll(ini);
  const DWORD uninstallStart = GetTickCount();
  // Wine's viewer, without a browser engine, does not answer WM_CLOSE (the
  // uninstaller sends one); the user closes it, and it lets go of the file.
  if (viewer) {
    DWORD pid = 0;
    GetWindowThreadProcessId(viewer, &pid);
    if (HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
      TerminateProcess(p, 0);
      WaitForSingleObject(p, 5000);
      CloseHandle(p);
    }
  }
  ASSERT_TRUE(WaitExit(Start(dir + L"\\Uninstall.exe", L"/S"), 30000, &code));
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
