// Corvid.exe resident: one instance with its box, the tray icon and menu, quitting, a replayed session
// typing into the window in front as corvid-replay prints it, and the ends of a run.
#include <windows.h>

#include <sstream>
#include <utility>

#include <gtest/gtest.h>

#include "app/tray_menu.h"
#include "base/text_win32.h"
#include "base/texts.h"
#include "win32/wine_support_win32.h"

using namespace wine_test;

namespace {

const wchar_t kBusyCaption[] = L"Alreadey Corvid Running.";

std::vector<std::pair<UINT, WPARAM>> g_keys;

LRESULT CALLBACK TargetProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  const bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
  if (!down && msg != WM_KEYUP && msg != WM_SYSKEYUP) return DefWindowProcW(w, msg, wp, lp);
  g_keys.push_back({down ? WM_KEYDOWN : WM_KEYUP, wp});
  return 0;
}

// Ink of a window as the screen shows it, below its top `skip` rows: pixels that differ from its first one.
int Ink(HWND w, int skip = 0) {
  RECT r{};
  GetWindowRect(w, &r);
  r.top += skip;
  const Capture c = CaptureScreen(r);
  int n = 0;
  for (uint32_t p : c.pixels) n += p != c.pixels.front();
  return n;
}

// The characters of `text` that the system's font for boxes or for menus has no glyphs for.
std::wstring DrawnAsBoxes(LOGFONTW NONCLIENTMETRICSW::*font, const std::wstring& text) {
  NONCLIENTMETRICSW m{};
  m.cbSize = sizeof m;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
  const corvid::GdiObject<HFONT> f(CreateFontIndirectW(&(m.*font)));
  return corvid::CharactersDrawnAsBoxes(f.Get(), text);
}

// A portable Corvid.exe with a hid.dll planted beside it, never loaded: libraries come from the system folder.
TEST(Resident, OneInstanceWithItsBoxLoadsNoPlantedLibraryAndEndsWithTheSession) {
  const std::wstring ini = CorvidIniPath(), folder = FreshFolder(L"portable");
  ASSERT_TRUE(CopyFileW(CorvidExe().c_str(), (folder + L"Corvid.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(BuildFile(L"planted\\hid.dll").c_str(), (folder + L"hid.dll").c_str(), FALSE));
  DeleteFileW(ini.c_str());
  const corvid::UniqueHandle first = Start(folder + L"Corvid.exe", L"", folder);
  HWND main = WaitForWindow(MainWindowOfCorvid, 15000);
  ASSERT_NE(main, nullptr);
  // The icon is added just after the window is made.
  EXPECT_TRUE(WaitUntil([] { return TrayIconExists(MainWindowOfCorvid()); }, 5000));
  // The first start wrote the factory settings (their content is the core's) under the documents folder.
  EXPECT_NE(ReadAll(ini).find("BD0B=0000,0D,RETURN\r\n"), std::string::npos);

  // A second start says so in a box and ends without a window of its own.
  const corvid::UniqueHandle second = Start(CorvidExe(), L"");
  HWND box = WaitForWindow([] { return FindBoxTitled(kBusyCaption); }, 15000);
  ASSERT_NE(box, nullptr);
  // Drawn: the text and the button below the caption, not the caption alone.
  EXPECT_TRUE(Until([&] { return Ink(box, GetSystemMetrics(SM_CYCAPTION) + 4) > 500; }, 5000));
  EXPECT_TRUE(CaptureWindow(box, L"single_instance_box.png"));
  EXPECT_EQ(DrawnAsBoxes(&NONCLIENTMETRICSW::lfMessageFont, L"すでにCorvid稼動中です。ﾀｽｸﾊﾞｰを確認して下さい。"), L"");
  EXPECT_EQ(WindowsOfClass(corvid::kMainWindowClass).size(), 1u);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  DWORD code = 99;
  EXPECT_TRUE(WaitExit(second.Get(), 15000, &code));
  EXPECT_EQ(code, 0u);
  // A session to replay while Corvid runs is not played: its own exit code.
  const corvid::UniqueHandle replay = Start(CorvidExe(), L"--replay nothing.txt --quit-after-replay");
  box = WaitForWindow([] { return FindBoxTitled(kBusyCaption); }, 15000);
  ASSERT_NE(box, nullptr);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitExit(replay.Get(), 15000, &code));
  EXPECT_EQ(code, 3u);

  // The end of the session ends it at once, as the quit command does
  // (before, it stayed, iconless); a busy machine may take a second.
  SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
  EXPECT_TRUE(WaitExit(first.Get(), 5000));
  if (WaitForSingleObject(first.Get(), 0) != WAIT_OBJECT_0) TerminateProcess(first.Get(), 1);
  EXPECT_FALSE(TrayIconExists(main));
  EXPECT_TRUE(WindowsOfClass(corvid::kMainWindowClass).empty());
  EXPECT_EQ(GetFileAttributesW((folder + L"planted-library-ran").c_str()), INVALID_FILE_ATTRIBUTES);

  // A session that cannot be read ends a run that was to quit after it.
  const corvid::UniqueHandle unread =
      Start(CorvidExe(), L"--replay \"" + BuildFile(L"no-such-session.txt") + L"\" --quit-after-replay");
  box = WaitForWindow([] { return FindBoxTitled(L"Corvid"); }, 15000);
  ASSERT_NE(box, nullptr);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitExit(unread.Get(), 15000));
}

// The icon's menu in the language the settings choose (both pictures looked at); the Japanese captions
// have glyphs in the menu font.
TEST(Resident, TrayMenuSpeaksTheChosenLanguage) {
  const std::wstring ini = CorvidIniPath();
  CreateDirectoryW(ini.substr(0, ini.rfind(L'\\')).c_str(), nullptr);
  std::wstring texts;  // the Japanese captions
  corvid::TrayMenu tray;
  tray.BeforePopup(false, false);
  for (const corvid::MenuEntry& e : tray.Entries()) texts += corvid::Widen(e.caption);
  EXPECT_EQ(DrawnAsBoxes(&NONCLIENTMETRICSW::lfMenuFont, texts), L"");
  for (const auto& [language, picture] : {std::pair{"en", L"tray_menu_en.png"}, std::pair{"ja", L"tray_menu.png"}}) {
    ASSERT_TRUE(WriteAll(ini, std::string("[System]\r\nHideStart=1\r\nLanguage=") + language + "\r\n"));
    const corvid::UniqueHandle corvid = Start(CorvidExe(), L"");
    HWND main = WaitForWindow(MainWindowOfCorvid, 15000);
    ASSERT_NE(main, nullptr);
    PostMessageW(main, corvid::kTrayCallbackMessage, corvid::kTrayIconId, WM_RBUTTONUP);
    HWND menu = WaitForWindow([] { return VisibleWindowOfClass(L"#32768"); }, 5000);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(Until([&] { return Ink(menu) > 500; }, 3000));  // drawn
    EXPECT_TRUE(CaptureWindow(menu, picture));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([] { return VisibleWindowOfClass(L"#32768") == nullptr; }, 3000));
    EXPECT_TRUE(QuitCorvid(corvid));
  }
  DeleteFileW(ini.c_str());
}

// What Explorer shows of Corvid.exe; the manifest asks for the common controls and each monitor's DPI.
TEST(Resident, ExecutableCarriesItsVersionAndManifest) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(CorvidExe().c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(CorvidExe().c_str(), 0, size, info.data()));
  auto text = [&](const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT length = 0;
    VerQueryValueW(info.data(), (L"\\StringFileInfo\\040904B0\\" + std::wstring(name)).c_str(),
                   reinterpret_cast<void**>(&value), &length);
    return std::wstring(value ? value : L"");
  };
  EXPECT_EQ(text(L"ProductName"), L"Corvid");
  EXPECT_EQ(text(L"ProductVersion"), corvid::Widen(corvid::kVersion));
  EXPECT_FALSE(text(L"FileDescription").empty());

  HMODULE exe = LoadLibraryExW(CorvidExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  HRSRC res = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(res, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(exe, res))), SizeofResource(exe, res));
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
  EXPECT_EQ(manifest.find("<activeCodePage"), std::string::npos);  // the settings file needs the ANSI one
  FreeLibrary(exe);
}

// A left button held by the remote across an empty entry and a mode change is let go; a drag of the message
// (a loop of the system's) under way when Corvid is told to quit does not keep it alive.
TEST(Resident, NothingStaysDownAndNoDragOutlivesTheQuit) {
  DeleteFileW(CorvidIniPath().c_str());
  const std::wstring session = BuildFile(L"held-button.txt");
  ASSERT_TRUE(WriteAll(session,
                       "01 08 00 00 53 FF FF FF FF 00 00 05\n01 00 00 00 FF FF FF FF FF 00 00 05\nwait 50\n"
                       "01 00 80 00 5F FF FF FF FF 00 00 05\nwait 50\n"   // SQUARE: the left button
                       "01 00 80 00 00 FF FF FF FF 00 00 05\nwait 50\n"   // + NUM1, empty in mouse mode
                       "01 01 80 00 50 FF FF FF FF 00 00 05\nwait 50\n"   // + SELECT: keyboard mode
                       "01 00 00 00 FF FF FF FF FF 00 00 05\nwait 400\n"  // all up
                       "01 08 00 00 53 FF FF FF FF 00 00 05\n01 00 00 00 FF FF FF FF FF 00 00 05\n"
                       "wait 60000\n"));
  // The clicks land in a window of this test, below the message's band.
  HWND target = MakeFrontWindow(L"CorvidClickCatcher", DefWindowProcW, 0, WS_POPUP, {0, 200, 1280, 800});
  SetCursorPos(640, 600);
  const corvid::UniqueHandle p = Start(CorvidExe(), L"--replay \"" + session + L"\"");
  ASSERT_NE(WaitForWindow(MainWindowOfCorvid, 15000), nullptr);
  Pump(1500);
  EXPECT_FALSE(GetAsyncKeyState(VK_LBUTTON) & 0x8000);

  // "With MOUSE Mode" is up for a second: the user takes it by a letter.
  POINT letter{-1, -1};
  for (int tries = 0; tries < 100 && letter.x < 0; ++tries) {
    const Capture c = CaptureScreen({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) / 10});
    for (int y = 0; y < c.height && letter.x < 0; ++y)
      for (int x = 0; x < c.width && letter.x < 0; ++x)
        if ((c.At(x, y) & 0xFF) > 200 && ((c.At(x, y) >> 8) & 0xFF) > 200) letter = {x, y};
    if (letter.x < 0) Pump(20);
  }
  ASSERT_GE(letter.x, 0);
  MouseTo(letter.x, letter.y, MOUSEEVENTF_LEFTDOWN);
  Pump(300);
  PostMessageW(MainWindowOfCorvid(), WM_COMMAND, corvid::MenuCommandId(corvid::MenuItem::Quit), 0);
  EXPECT_TRUE(WaitExit(p.Get(), 8000));
  MouseTo(letter.x, letter.y, MOUSEEVENTF_LEFTUP);
  if (WaitForSingleObject(p.Get(), 0) != WAIT_OBJECT_0) TerminateProcess(p.Get(), 1);
  DestroyWindow(target);
  Pump(100);
}

// The lines both programs write ("log", "mon", "osd"), without corvid-replay's time in front.
std::vector<std::string> Said(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // a console program's text output
    const size_t ms = line.find(" ms  ");
    if (ms != std::string::npos) line.erase(0, ms + 5);
    if (!line.empty() && line.rfind("dbg  ", 0) != 0 && line.rfind("hit  ", 0) != 0 && line.rfind("== ", 0) != 0)
      out.push_back(line);
  }
  return out;
}

// Corvid.exe types the session into the window in front and writes what corvid-replay prints for it
// (examples/expected), on the user's maps with StartMouse on (once taken by corvid-replay for the start mode).
TEST(Resident, ReplayTypesIntoTheWindowInFrontAsCorvidReplayPrintsIt) {
  HWND target = MakeFrontWindow(L"CorvidResidentTarget", TargetProc, 0, WS_OVERLAPPEDWINDOW, {50, 50, 300, 200});
  ASSERT_EQ(GetForegroundWindow(), target);
  std::string settings = ReadAll(SourceFile(L"examples\\digits.ini"));
  const size_t at = settings.find("StartMouse=0");
  ASSERT_NE(at, std::string::npos);
  settings.replace(at, 12, "StartMouse=1\r\nLanguage=ja");
  const std::wstring ini = BuildFile(L"agreement.ini"), trace = BuildFile(L"agreement-trace.txt");
  ASSERT_TRUE(WriteAll(ini, settings));
  ASSERT_TRUE(WriteAll(CorvidIniPath(), settings));
  const std::wstring session = SourceFile(L"examples\\e2e-keys.txt");
  g_keys.clear();
  const corvid::UniqueHandle p =
      Start(CorvidExe(), L"--replay \"" + session + L"\" --quit-after-replay --trace \"" + trace + L"\"");
  EXPECT_TRUE(WaitExit(p.Get(), 20000));
  Pump(200);
  const std::vector<std::pair<UINT, WPARAM>> want = {
      {WM_KEYDOWN, '1'},       {WM_KEYUP, '1'},       {WM_KEYDOWN, '2'},        {WM_KEYUP, '2'},
      {WM_KEYDOWN, VK_UP},     {WM_KEYUP, VK_UP},     {WM_KEYDOWN, VK_DOWN},    {WM_KEYUP, VK_DOWN},
      {WM_KEYDOWN, VK_RETURN}, {WM_KEYUP, VK_RETURN}, {WM_KEYDOWN, VK_CONTROL}, {WM_KEYDOWN, VK_SHIFT},
      {WM_KEYDOWN, VK_RIGHT},  {WM_KEYUP, VK_RIGHT},  {WM_KEYUP, VK_SHIFT},     {WM_KEYUP, VK_CONTROL}};
  EXPECT_EQ(g_keys, want);
  for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN}) EXPECT_FALSE(GetAsyncKeyState(vk) & 0x8000) << vk;
  DestroyWindow(target);

  const std::vector<std::string> expected = Said(ReadAll(SourceFile(L"examples\\expected\\e2e-keys.out")));
  EXPECT_GT(expected.size(), 20u);
  EXPECT_EQ(Said(ReadAll(trace)), expected);
  const std::wstring printed = BuildFile(L"agreement-replay.txt");
  DWORD code = 99;
  ASSERT_TRUE(RunToFile(BuildFile(L"corvid-replay.exe"), L"--config \"" + ini + L"\" \"" + session + L"\"", printed,
                        20000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(Said(ReadAll(printed)), expected);
  DeleteFileW(CorvidIniPath().c_str());
}

}  // namespace
