// The launch-program settings of Corvid.exe on a real desktop: Wine's
// notepad registered through the dialog (the open-file dialog given a typed
// path), its class picked with "Find" by clicking its window, "実行試験"
// pressed to start it, again to bring it back and held to quit it, then
// "保存" and the file it writes; and pictures at 96 and 144 DPI.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/tray_menu.h"
#include "base/text_win32.h"
#include "ui/launch_settings_win32.h"
#include "win32/wine_support_win32.h"

using namespace wine_test;
using C = corvid::LaunchControl;

namespace {

HWND Dialog() { return VisibleWindowOfClass(L"LaunchSettings"); }
HWND DebugWindow() { return VisibleWindowOfClass(L"DebugWindow"); }
HWND EditorWindow() { return VisibleWindowOfClass(L"KeyMapEditor"); }
HWND Notepad() { return FindWindowW(L"Notepad", nullptr); }
// The open-file dialog, owned by the settings.
HWND OpenDialog() {
  for (HWND w : WindowsOfClass(L"#32770"))
    if (IsWindowVisible(w) && GetWindow(w, GW_OWNER) == Dialog()) return w;
  return nullptr;
}
HWND Item(int id) { return GetDlgItem(Dialog(), id); }

POINT Centre(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void SetText(HWND w, const std::wstring& text) { SendMessageW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); }

// Notepad opens over the dialog; the screen has room on its right.
void MoveAside(HWND w) {
  SetWindowPos(w, nullptr, 880, 140, 390, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  Pump(100);
}

// Corvid.exe with its settings dialog open; it ends with the test, and so
// do notepad and the settings, whatever happened.
struct CorvidWithDialog {
  explicit CorvidWithDialog(const std::string& settings) {
    const std::wstring ini = CorvidIniPath();
    CreateDirectoryW(ini.substr(0, ini.rfind(L'\\')).c_str(), nullptr);
    EXPECT_TRUE(WriteAll(ini, settings));
    process = Start(CorvidExe(), L"");
    if (process && WaitForWindow(MainWindowOfCorvid, 15000)) {
      WaitForInputIdle(process.Get(), 10000);  // the start-up complete
      PostMessageW(MainWindowOfCorvid(), WM_COMMAND, corvid::MenuCommandId(corvid::MenuItem::LaunchSettings), 0);
    }
    const DWORD asked = GetTickCount();
    if (WaitForWindow(Dialog, 5000))
      std::printf("the tray's command to the launch-program settings shown: %lu ms\n", GetTickCount() - asked);
    Pump(300);
  }
  bool Quit() {
    const corvid::UniqueHandle p = std::move(process);
    return p && QuitCorvid(p);
  }
  ~CorvidWithDialog() {
    if (process && !WaitExit(process.Get(), 0)) {
      PostMessageW(MainWindowOfCorvid(), WM_COMMAND, corvid::MenuCommandId(corvid::MenuItem::Quit), 0);
      if (!WaitExit(process.Get(), 5000)) TerminateProcess(process.Get(), 1);
    }
    if (HWND n = Notepad()) {
      SendMessageW(FindWindowExW(n, nullptr, L"Edit", nullptr), EM_SETMODIFY, FALSE, 0);
      PostMessageW(n, WM_CLOSE, 0, 0);
    }
    DeleteFileW(CorvidIniPath().c_str());
  }
  corvid::UniqueHandle process;
};

TEST(LaunchSettings, NotepadRegisteredTestedAndSavedThroughTheDialog) {
  ASSERT_FALSE(NotepadPath().empty());
  CorvidWithDialog corvid("[System]\r\nHideStart=1\r\nLanguage=ja\r\n");
  ASSERT_TRUE(corvid.process);
  HWND dialog = Dialog();
  ASSERT_NE(dialog, nullptr);
  // The first entry shown, without class or program: only "通常", no own map.
  EXPECT_FALSE(IsWindowEnabled(Item(C::Radio(corvid::LaunchRadio::Maximised))));
  EXPECT_FALSE(IsWindowEnabled(Item(C::Check(corvid::LaunchCheck::OwnKeyMap))));

  // " ．．": the open-file dialog, its file name typed.
  ClickOn(Item(C::kBrowse));
  HWND open = WaitForWindow(OpenDialog, 5000);
  ASSERT_NE(open, nullptr);
  // The file name box: an edit inside the combo box cmb13.
  HWND name = nullptr;
  EnumChildWindows(
      GetDlgItem(open, 0x47C),
      [](HWND w, LPARAM found) -> BOOL {
        wchar_t c[16];
        GetClassNameW(w, c, 16);
        if (lstrcmpiW(c, L"Edit") == 0) *reinterpret_cast<HWND*>(found) = w;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&name));
  ASSERT_NE(name, nullptr);
  SetText(name, NotepadPath());
  PostMessageW(open, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([] { return WindowText(Item(C::Field(corvid::LaunchField::ProgramFile))) == Utf8(NotepadPath()); }, 5000));
  const std::wstring path = NotepadPath();
  EXPECT_EQ(WindowText(Item(C::Field(corvid::LaunchField::Folder))), Utf8(path.substr(0, path.rfind(L'\\') + 1)));
  SetText(Item(C::Field(corvid::LaunchField::Message)), L"Notepad");

  // "実行試験" starts it; then "Find" can pick its window.
  EXPECT_FALSE(IsWindowEnabled(Item(C::kFind)));
  DWORD pressed = GetTickCount();
  ClickOn(Item(C::kTest));
  ASSERT_TRUE(WaitUntil([] { return Notepad() != nullptr && GetForegroundWindow() == Notepad(); }, 10000));
  std::printf("\"実行試験\" to notepad started and in front: %lu ms\n", GetTickCount() - pressed);
  EXPECT_TRUE(WaitUntil([] { return IsWindowEnabled(Item(C::kFind)) != FALSE; }, 3000));
  HWND notepad = Notepad();
  // Its title bar in the top tenth of the screen, where the message shows
  // (the test run's "Notepad" may still be fading there): the pick and the
  // click go through the message to notepad.
  SetWindowPos(notepad, nullptr, 880, 0, 390, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  Pump(100);
  ClickOn(Item(C::kFind));
  RECT box;
  GetWindowRect(Item(C::Field(corvid::LaunchField::TargetClass)), &box);
  EXPECT_EQ(CaptureScreen(box).At(6, 6), 0xFFFF00u);  // yellow while it waits
  RECT frame;
  GetWindowRect(notepad, &frame);
  const POINT caption{frame.left + 40, frame.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 3};
  ASSERT_EQ(WindowFromPoint(caption), notepad);
  ClickAt(caption);
  EXPECT_TRUE(WaitUntil([] { return WindowText(Item(C::Field(corvid::LaunchField::TargetClass))) == "Notepad"; }, 3000));
  EXPECT_TRUE(IsWindowEnabled(Item(C::Radio(corvid::LaunchRadio::Maximised))));
  EXPECT_EQ(GetForegroundWindow(), notepad);  // the click reached it too

  // Pressed again, it brings notepad back.
  ShowWindow(notepad, SW_MINIMIZE);
  Pump(200);
  pressed = GetTickCount();
  ClickOn(Item(C::kTest));
  EXPECT_TRUE(WaitUntil([] { return Notepad() && !IsIconic(Notepad()) && GetForegroundWindow() == Notepad(); }, 5000));
  std::printf("\"実行試験\" to notepad restored and in front: %lu ms\n", GetTickCount() - pressed);
  MoveAside(notepad);

  // Drawn inactive: notepad was last in front (a click does not give Wine's
  // own frames, without a window manager, the active colour back).
  Pump(100);
  EXPECT_TRUE(CaptureWindow(dialog, L"launch_96.png"));

  // "ハンドル取得情報": the search's trace on the dialog's left.
  ClickOn(Item(C::Check(corvid::LaunchCheck::DebugWindow)));
  HWND debug = WaitForWindow(DebugWindow, 3000);
  ASSERT_NE(debug, nullptr);
  RECT d, l;
  GetWindowRect(debug, &d);
  GetWindowRect(dialog, &l);
  EXPECT_EQ(d.right, l.left);
  std::string trace;
  for (HWND e = nullptr; (e = FindWindowExW(debug, e, L"Edit", nullptr));) trace += WindowText(e);
  EXPECT_NE(trace.find("Class >Notepad"), std::string::npos) << trace;

  ClickOn(Item(C::Check(corvid::LaunchCheck::DebugWindow)));
  EXPECT_TRUE(WaitUntil([] { return DebugWindow() == nullptr; }, 3000));

  // Its own map: ">" puts the editor beside the dialog at its top, the
  // dialog's buttons left clear on a screen without room on either side.
  ClickOn(Item(C::Check(corvid::LaunchCheck::OwnKeyMap)));
  ASSERT_TRUE(WaitUntil([] { return IsWindowEnabled(Item(C::kEditor)) != FALSE; }, 3000));
  ClickOn(Item(C::kEditor));
  HWND editor = WaitForWindow(EditorWindow, 5000);
  ASSERT_NE(editor, nullptr);
  Pump(100);
  RECT e, b, overlap;
  GetWindowRect(editor, &e);
  GetWindowRect(dialog, &l);
  EXPECT_EQ(e.top, l.top);
  for (int id : {C::kCancel, C::kSave, C::kTest}) {
    GetWindowRect(Item(id), &b);
    EXPECT_FALSE(IntersectRect(&overlap, &e, &b)) << "button " << id;
  }
  ClickOn(Item(C::Check(corvid::LaunchCheck::OwnKeyMap)));  // untick: the editor goes
  EXPECT_TRUE(WaitUntil([] { return EditorWindow() == nullptr; }, 3000));

  // Held past the long-press time, it quits notepad.
  ClickAt(Centre(Item(C::kTest)), 1400);
  EXPECT_TRUE(WaitUntil([] { return Notepad() == nullptr; }, 5000));

  // A change to the message, then Enter: "保存", the default.
  ClickOn(Item(C::Field(corvid::LaunchField::Message)));
  ASSERT_TRUE(Until([] { return FocusOf(Dialog()) == Item(C::Field(corvid::LaunchField::Message)); }, 5000));
  PressKey(VK_END);
  PressKey('X');
  ASSERT_TRUE(Until([] { return WindowText(Item(C::Field(corvid::LaunchField::Message))) == "Notepadx"; }, 5000));
  PressKey(VK_RETURN);
  const DWORD saved = GetTickCount();
  EXPECT_TRUE(WaitUntil([] { return Dialog() == nullptr; }, 5000));
  std::printf("\"保存\" to the dialog gone: %lu ms\n", GetTickCount() - saved);
  std::string file;
  for (int i = 0; i < 100 && file.find("Class=Notepad") == std::string::npos; ++i) {
    Pump(30);
    file = ReadAll(CorvidIniPath());
  }
  EXPECT_NE(file.find("AppProg=" + Utf8(path) + "\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("Message=Notepadx\r\nClass=Notepad\r\n"), std::string::npos);
  EXPECT_NE(file.find("AppSetConst=1,2,1,0,0,1,0,1,0,0,"), std::string::npos);

  // Another change, then Esc: closed as by its close box, the change kept
  // in memory and not in the file.
  PostMessageW(MainWindowOfCorvid(), WM_COMMAND, corvid::MenuCommandId(corvid::MenuItem::LaunchSettings), 0);
  ASSERT_TRUE(WaitUntil([] { return Dialog() != nullptr; }, 5000));
  Pump(200);
  ClickOn(Item(C::Field(corvid::LaunchField::Message)));
  ASSERT_TRUE(Until([] { return FocusOf(Dialog()) == Item(C::Field(corvid::LaunchField::Message)); }, 5000));
  PressKey(VK_END);
  PressKey('Y');
  ASSERT_TRUE(Until([] { return WindowText(Item(C::Field(corvid::LaunchField::Message))) == "Notepadxy"; }, 5000));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([] { return Dialog() == nullptr; }, 3000));
  EXPECT_EQ(ReadAll(CorvidIniPath()), file);
  PostMessageW(MainWindowOfCorvid(), WM_COMMAND, corvid::MenuCommandId(corvid::MenuItem::LaunchSettings), 0);
  ASSERT_TRUE(WaitUntil([] { return Dialog() != nullptr; }, 5000));
  Pump(200);
  EXPECT_EQ(WindowText(Item(C::Field(corvid::LaunchField::Message))), "Notepadxy");
  EXPECT_TRUE(corvid.Quit());
}

// The dialog in both languages at 144 DPI and in English at 96 (the
// Japanese one at 96 is taken where it is tried).
TEST(LaunchSettings, PicturesInBothLanguages) {
  struct Case {
    DWORD dpi;
    const char* language;
    const wchar_t* suffix;
  };
  for (const Case& c : {Case{144, "ja", L"_144"}, Case{144, "en", L"_144_en"}, Case{96, "en", L"_96_en"}}) {
    SetDpi(c.dpi);
    CorvidWithDialog corvid(std::string("[System]\r\nHideStart=1\r\nLanguage=") + c.language +
                            "\r\n[App-1]\r\nAppProg=" + Utf8(NotepadPath()) +
                            "\r\nAppPath=C:\\windows\\\r\nMessage=Notepad\r\nClass=Notepad\r\n"
                            "AppSetConst=8,2,1,1,0,1,1,1,0,1,40,30,840,630,20,10,1200,1500\r\n");
    SetDpi(96);  // each program reads it as it starts
    ASSERT_TRUE(corvid.process);
    HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    RECT r;
    GetWindowRect(dialog, &r);
    if (c.dpi == 144) EXPECT_GT(r.right - r.left, 600);  // 440 pixels at 96 DPI, scaled
    EXPECT_EQ(WindowText(Item(C::Field(corvid::LaunchField::ActivateDelay))), "1200");
    EXPECT_TRUE(CaptureWindow(dialog, (std::wstring(L"launch") + c.suffix + L".png").c_str()));

    // A lone minus sign keeps the last value and says so beside the boxes;
    // no message box opens.
    SetText(Item(C::Field(corvid::LaunchField::RectLeft)), L"-");
    SetText(Item(C::Field(corvid::LaunchField::ClickY)), L"-");
    Pump(100);
    for (int note : {C::kRectNote, C::kClickNote}) EXPECT_TRUE(IsWindowVisible(Item(note)));
    for (HWND w : WindowsOfClass(L"#32770")) EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_TRUE(CaptureWindow(dialog, (std::wstring(L"launch_invalid") + c.suffix + L".png").c_str()));
    SetText(Item(C::Field(corvid::LaunchField::RectLeft)), L"40");
    Pump(100);
    EXPECT_FALSE(IsWindowVisible(Item(C::kRectNote)));
    EXPECT_TRUE(corvid.Quit());
  }
}

}  // namespace
