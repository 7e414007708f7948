// The settings windows of Corvid.exe on a real desktop: the key map editor
// opened from the tray's command, a chord typed into a box with real keys
// (the key-capture hook turning Tab into itself), an action picked from a
// box's popup menu, "保存" and the file it writes; the code monitor showing
// what a replayed session sends; and pictures of both at 96 and 144 DPI.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tray_menu.h"
#include "base/text_win32.h"
#include "win32/wine_support_win32.h"

using namespace wine_test;

namespace {

HWND EditorWindow() {
  for (HWND w : WindowsOfClass(L"TForm2"))
    if (IsWindowVisible(w)) return w;
  return nullptr;
}
HWND MonitorWindow() {
  for (HWND w : WindowsOfClass(L"TForm3"))
    if (IsWindowVisible(w)) return w;
  return nullptr;
}

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text) {
  struct Find {
    const wchar_t *cls, *text;
    HWND found = nullptr;
  } f{cls, text};
  EnumChildWindows(
      parent,
      [](HWND w, LPARAM lp) -> BOOL {
        auto* f = reinterpret_cast<Find*>(lp);
        wchar_t c[64], t[128];
        GetClassNameW(w, c, 64);
        GetWindowTextW(w, t, 128);
        if (lstrcmpiW(c, f->cls) == 0 && (!f->text || lstrcmpW(t, f->text) == 0)) {
          f->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.found;
}

void Keys(std::vector<std::pair<WORD, bool>> keys) {
  for (auto [vk, up] : keys) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
    Pump(30);
  }
  Pump(200);
}

// The on-screen message holds for a second, then fades in some 25 steps;
// pictures taken before that show it over the windows.
void WaitForMessageToFade() { Pump(1800); }

class SettingsWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteFileW(CorvidIniPath().c_str());
    const std::wstring ini = CorvidIniPath();
    CreateDirectoryW(ini.substr(0, ini.rfind(L'\\')).c_str(), nullptr);
  }
  void TearDown() override { DeleteFileW(CorvidIniPath().c_str()); }
};

TEST_F(SettingsWindows, EditorBindsKeysAndMenuActionsAndSavesThem) {
  ASSERT_TRUE(WriteAll(CorvidIniPath(), "[System]\r\nHideStart=1\r\n[Items-0]\r\nBD0B=0000,0D,RETURN\r\n"));
  HANDLE p = Start(CorvidExe(), L"");
  ASSERT_NE(p, nullptr);
  ASSERT_NE(WaitForWindow(MainWindowOfCorvid, 15000), nullptr);
  EXPECT_EQ(EditorWindow(), nullptr);  // HideStart
  PostMessageW(MainWindowOfCorvid(), WM_COMMAND, corvid::MenuCommandId(corvid::MenuItem::C1), 0);
  HWND editor = WaitForWindow(EditorWindow, 5000);
  ASSERT_NE(editor, nullptr);
  Pump(300);

  // Shift+A into EJECT, Tab into NUM1: real keys, the hook in between.
  HWND eject = Child(editor, L"CorvidKeyBox", L"EJECT");
  ASSERT_NE(eject, nullptr);
  ClickOn(eject);
  Keys({{VK_SHIFT, false}, {'A', false}, {'A', true}, {VK_SHIFT, true}});
  ClickOn(Child(editor, L"CorvidKeyBox", L"NUM1"));
  Keys({{VK_TAB, false}, {VK_TAB, true}});
  // TIME gets "Next" from its menu: Media, then Next.
  ClickOn(Child(editor, L"CorvidKeyBox", L"TIME"), true);
  Keys({{'M', false}, {'M', true}, {'N', false}, {'N', true}});
  ClickOn(Child(editor, L"BUTTON", L"保存"));
  EXPECT_FALSE(IsWindowVisible(editor));
  std::string file;
  for (int i = 0; i < 100 && file.find("BD16=0100") == std::string::npos; ++i) {
    Pump(30);
    file = ReadAll(CorvidIniPath());
  }
  EXPECT_NE(file.find("BD16=0100,41,Shift.A\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("BD00=0000,09,TAB\r\n"), std::string::npos);
  EXPECT_NE(file.find("BD28=0000,B0,NEXT\r\n"), std::string::npos);
  EXPECT_TRUE(QuitCorvid(p));
}

TEST_F(SettingsWindows, MonitorShowsWhatAReplayedSessionSends) {
  const std::wstring session = BuildFile(L"monitor-session.txt");
  ASSERT_TRUE(WriteAll(session,
                       "wait 2500\n01 10 00 00 54 FF FF FF FF 00 00 05\nwait 50\n"
                       "01 00 00 00 FF FF FF FF FF 00 00 05\nwait 60000\n"));
  HANDLE p = Start(CorvidExe(), L"--replay \"" + session + L"\"");
  ASSERT_NE(p, nullptr);
  ASSERT_NE(WaitForWindow(EditorWindow, 15000), nullptr);
  PostMessageW(MainWindowOfCorvid(), WM_COMMAND, corvid::MenuCommandId(corvid::MenuItem::M1), 0);
  HWND monitor = WaitForWindow(MonitorWindow, 5000);
  ASSERT_NE(monitor, nullptr);
  HWND memo = Child(monitor, L"EDIT", nullptr);
  std::string lines;
  for (int i = 0; i < 100 && lines.find("-0x26") == std::string::npos; ++i) {
    Pump(30);
    lines = WindowText(memo);
  }
  EXPECT_EQ(lines, " 0x26\r\n-0x26");
  WaitForMessageToFade();
  EXPECT_TRUE(CaptureWindow(EditorWindow(), L"editor_96.png"));
  EXPECT_TRUE(CaptureWindow(monitor, L"monitor_96.png"));
  EXPECT_TRUE(QuitCorvid(p));
}

TEST_F(SettingsWindows, PicturesAt144Dpi) {
  SetDpi(144);
  HANDLE p = Start(CorvidExe(), L"");
  ASSERT_NE(p, nullptr);
  HWND editor = WaitForWindow(EditorWindow, 15000);
  SetDpi(96);  // each program reads it as it starts
  ASSERT_NE(editor, nullptr);
  RECT r;
  GetWindowRect(editor, &r);
  EXPECT_GT(r.right - r.left, 900);  // 640 client pixels at 96 DPI, scaled
  // Moved to the left, as a user would on this small screen, the monitor
  // finds room on its right.
  SetWindowPos(editor, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  PostMessageW(MainWindowOfCorvid(), WM_COMMAND, corvid::MenuCommandId(corvid::MenuItem::M1), 0);
  HWND monitor = WaitForWindow(MonitorWindow, 5000);
  ASSERT_NE(monitor, nullptr);
  WaitForMessageToFade();
  RECT m;
  GetWindowRect(monitor, &m);
  EXPECT_EQ(m.left, r.right - r.left);
  EXPECT_GT(m.right - m.left, 200);
  EXPECT_TRUE(CaptureWindow(editor, L"editor_144.png"));
  EXPECT_TRUE(CaptureWindow(monitor, L"monitor_144.png"));
  EXPECT_TRUE(QuitCorvid(p));
}

}  // namespace
