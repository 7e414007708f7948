// The installer and the uninstaller as a user meets them, their pages pictured.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "base/text_win32.h"
#include "base/version.h"
#include "win32/wine_support_win32.h"

using namespace wine_test;

namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

struct Shortcut {
  std::wstring target, folder;
};

Shortcut ReadShortcut(const std::wstring& lnk) {
  Shortcut s;
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  wchar_t text[MAX_PATH] = L"";
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_PPV_ARGS(&file))) && SUCCEEDED(file->Load(lnk.c_str(), STGM_READ))) {
    if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0))) s.target = text;
    if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) s.folder = text;
  }
  if (file) file->Release();
  if (link) link->Release();
  return s;
}

// A visible control in `parent` whose text holds one of `texts`.
HWND Showing(HWND parent, std::initializer_list<const wchar_t*> texts) {
  return FindWhere(
      [&](HWND w) {
        const std::wstring t = corvid::Widen(WindowText(w));
        for (const wchar_t* want : texts)
          if (IsWindowVisible(w) && t.find(want) != t.npos) return true;
        return false;
      },
      parent);
}

// The installer (or the uninstaller): its title begins with "Corvid " and the version.
HWND SetupWindow() {
  return FindWhere(
      [](HWND w) { return IsWindowVisible(w) && WindowText(w).rfind("Corvid " CORVID_VERSION_TEXT " ", 0) == 0; });
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
  const std::wstring installer = BuildFile(L"packages\\Corvid-" CORVID_VERSION_TEXT L"-win64.exe");
  ASSERT_TRUE(Exists(installer)) << "cpack makes it (the test package.installer)";
  const std::wstring dir = KnownFolder(CSIDL_PROGRAM_FILES) + L"\\Corvid";
  const std::wstring menu = KnownFolder(CSIDL_COMMON_PROGRAMS) + L"\\Corvid";
  const std::wstring ini = CorvidIniPath();
  const std::string before = ReadAll(ini);  // the other tests' settings, put back at the end
  DeleteFileW(ini.c_str());

  // Each "Next" taken; the last page runs Corvid (its box ticked from the start).
  const corvid::UniqueHandle setupProcess = Start(installer, L"");
  HWND setup = WaitForWindow(SetupWindow, 20000);
  ASSERT_NE(setup, nullptr);
  for (const wchar_t* page : {L"installer_1_welcome.png", L"installer_2_license.png", L"installer_3_components.png",
                              L"installer_4_folder.png"})
    NextPage(setup, page);
  HWND run = nullptr;
  ASSERT_TRUE(Until([&] { return (run = Showing(setup, {L"Run Corvid", L"Corvid を起動する"})) != nullptr; }, 60000));
  EXPECT_EQ(SendMessageW(run, BM_GETCHECK, 0, 0), BST_CHECKED);
  NextPage(setup, L"installer_5_finish.png");
  DWORD code = 1;
  ASSERT_TRUE(WaitExit(setupProcess.Get(), 20000, &code));
  ASSERT_EQ(code, 0u);
  ASSERT_NE(WaitForWindow(MainWindowOfCorvid, 10000), nullptr) << "the finish page runs Corvid";
  EndProcessOfWindow(MainWindowOfCorvid());
  DeleteFileW(ini.c_str());
  for (const wchar_t* f : {L"Corvid.exe", L"Corvid.CHM", L"README.txt", L"LICENSE.txt", L"Uninstall.exe"})
    EXPECT_TRUE(Exists(dir + L"\\" + f)) << Utf8(f);
  EXPECT_FALSE(Exists(KnownFolder(CSIDL_STARTUP) + L"\\Corvid.lnk")) << "starting at sign-in is off unless chosen";

  const Shortcut shortcut = ReadShortcut(menu + L"\\Corvid.lnk");
  EXPECT_EQ(shortcut.target, dir + L"\\Corvid.exe");
  EXPECT_EQ(shortcut.folder, dir);

  corvid::UniqueHandle corvid = Start(shortcut.target, L"", shortcut.folder);
  ASSERT_NE(WaitForWindow(MainWindowOfCorvid, 10000), nullptr);
  Until([&] { return Exists(ini); }, 10000);
  EXPECT_NE(ReadAll(ini).find("[Items-0]"), std::string::npos) << "a first start writes the settings";
  EXPECT_TRUE(QuitCorvid(corvid));

  // As at sign-in: the current folder holds no help file.
  corvid = Start(dir + L"\\Corvid.exe", L"", FreshFolder(L"elsewhere"));
  ASSERT_NE(WaitForWindow(MainWindowOfCorvid, 10000), nullptr);
  SendTrayCommand(corvid::MenuItem::Help);
  HWND viewer = WaitForWindow([] { return FindWindowW(L"HH Parent", L"Corvid Help"); }, 10000);
  EXPECT_NE(viewer, nullptr) << "the help file in Corvid.exe's folder opens";
  EXPECT_TRUE(QuitCorvid(corvid));

  const std::string settings = ReadAll(ini);
  // Wine's viewer does not answer the uninstaller's WM_CLOSE: the user closes it.
  if (viewer) EndProcessOfWindow(viewer);
  // Its first page says a running Corvid is quit and the settings stay.
  const corvid::UniqueHandle uninstaller = Start(dir + L"\\Uninstall.exe", L"");
  HWND confirm = WaitForWindow(SetupWindow, 20000);
  ASSERT_NE(confirm, nullptr);
  EXPECT_NE(Showing(confirm, {L"is quit first", L"終了します"}), nullptr);
  NextPage(confirm, L"uninstaller_1_confirm.png");
  // "Close" is there, greyed, while it works; taken once it has done.
  EXPECT_TRUE(Until(
      [&] {
        return !IsWindow(confirm) ||
               (IsWindowEnabled(GetDlgItem(confirm, 1)) && Showing(confirm, {L"Close", L"閉じる"}));
      },
      30000));
  if (IsWindow(confirm)) SendMessageW(GetDlgItem(confirm, 1), BM_CLICK, 0, 0);
  WaitExit(uninstaller.Get(), 10000);
  EXPECT_TRUE(WaitUntil([] { return SetupWindow() == nullptr; }, 10000)) << WindowText(SetupWindow());
  // The uninstaller runs on from a copy of itself; the start menu goes last.
  EXPECT_TRUE(Until([&] { return !Exists(dir) && !Exists(menu); }, 15000))
      << "the program folder and the start-menu folder go" << (MainWindowOfCorvid() ? "; a Corvid runs" : "");
  EXPECT_EQ(ReadAll(ini), settings) << "the settings are the user's";

  if (!before.empty()) WriteAll(ini, before);
  CoUninitialize();
}

}  // namespace
