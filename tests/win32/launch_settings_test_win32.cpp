// Corvid.exe's launch-program settings on a real desktop, with Wine's
// notepad as the program (their other pictures are taken with the others').
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "ui/launch_settings_win32.h"
#include "win32/wine_support_win32.h"

using namespace wine_test;
using C = corvid::LaunchControl;
using corvid::LaunchCheck;
using corvid::LaunchField;
using corvid::LaunchRadio;

namespace {

HWND Dialog() { return VisibleWindowOfClass(L"LaunchSettings"); }
HWND DebugWindow() { return VisibleWindowOfClass(L"DebugWindow"); }
HWND EditorWindow() { return VisibleWindowOfClass(L"KeyMapEditor"); }
HWND Notepad() { return FindWindowW(L"Notepad", nullptr); }
// The open-file dialog, owned by the settings.
HWND OpenDialog() {
  return FindWhere(
      [](HWND w) { return IsWindowVisible(w) && GetWindow(w, GW_OWNER) == Dialog() && ClassOf(w) == L"#32770"; });
}
HWND Item(int id) { return GetDlgItem(Dialog(), id); }
HWND Field(LaunchField f) { return Item(C::Field(f)); }

// Corvid.exe, notepad and the settings end with the test, whatever happened.
class LaunchSettings : public ::testing::Test {
 protected:
  void TearDown() override {
    if (process && !QuitCorvid(process)) TerminateProcess(process.Get(), 1);
    EndProgramsOfClass(L"Notepad");
    DeleteFileW(CorvidIniPath().c_str());
  }
  corvid::UniqueHandle process;
};

TEST_F(LaunchSettings, NotepadRegisteredTestedAndSavedThroughTheDialog) {
  ASSERT_FALSE(NotepadPath().empty());
  ASSERT_TRUE(WriteAll(CorvidIniPath(), "[System]\r\nHideStart=1\r\nLanguage=ja\r\n"));
  process = Start(CorvidExe(), L"");
  ASSERT_NE(WaitForWindow(MainWindowOfCorvid, 15000), nullptr);
  WaitForInputIdle(process.Get(), 10000);  // the start-up complete
  SendTrayCommand(corvid::MenuItem::LaunchSettings);
  HWND dialog = WaitForWindow(Dialog, 5000);
  ASSERT_NE(dialog, nullptr);
  Pump(300);
  // The first entry shown, without class or program: only "通常", no own map.
  EXPECT_FALSE(IsWindowEnabled(Item(C::Radio(LaunchRadio::Maximised))));
  EXPECT_FALSE(IsWindowEnabled(Item(C::Check(LaunchCheck::OwnKeyMap))));

  // " ．．": the open-file dialog, the file name typed into combo box cmb13.
  ClickOn(Item(C::kBrowse));
  HWND open = WaitForWindow(OpenDialog, 5000);
  ASSERT_NE(open, nullptr);
  const HWND name = ChildWindow(GetDlgItem(open, 0x47C), L"Edit");
  ASSERT_NE(name, nullptr);
  SetWindowTextW(name, NotepadPath().c_str());
  PostMessageW(open, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([] { return WindowText(Field(LaunchField::ProgramFile)) == Utf8(NotepadPath()); }, 5000));
  const std::wstring path = NotepadPath();
  EXPECT_EQ(WindowText(Field(LaunchField::Folder)), Utf8(path.substr(0, path.rfind(L'\\') + 1)));
  SetWindowTextW(Field(LaunchField::Message), L"Notepad");

  // "実行試験" starts it; then "Find" can pick its window.
  EXPECT_FALSE(IsWindowEnabled(Item(C::kFind)));
  ClickOn(Item(C::kTest));
  ASSERT_TRUE(WaitUntil([] { return Notepad() != nullptr && GetForegroundWindow() == Notepad(); }, 10000));
  EXPECT_TRUE(WaitUntil([] { return IsWindowEnabled(Item(C::kFind)) != FALSE; }, 3000));
  HWND notepad = Notepad();
  // Its title bar under the fading message: the click goes through to it.
  SetWindowPos(notepad, nullptr, 880, 0, 390, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  Pump(100);
  ClickOn(Item(C::kFind));
  RECT box;
  GetWindowRect(Field(LaunchField::TargetClass), &box);
  EXPECT_EQ(CaptureScreen(box).At(6, 6), 0xFFFF00u);  // yellow while it waits
  RECT frame;
  GetWindowRect(notepad, &frame);
  const POINT caption{frame.left + 40, frame.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 3};
  ASSERT_EQ(WindowFromPoint(caption), notepad);
  ClickAt(caption);
  EXPECT_TRUE(WaitUntil([] { return WindowText(Field(LaunchField::TargetClass)) == "Notepad"; }, 3000));
  EXPECT_TRUE(IsWindowEnabled(Item(C::Radio(LaunchRadio::Maximised))));
  EXPECT_EQ(GetForegroundWindow(), notepad);  // the click reached it too

  // Pressed again, it brings notepad back.
  ShowWindow(notepad, SW_MINIMIZE);
  Pump(200);
  ClickOn(Item(C::kTest));
  EXPECT_TRUE(WaitUntil([] { return Notepad() && !IsIconic(Notepad()) && GetForegroundWindow() == Notepad(); }, 5000));
  // Off the dialog, which is drawn inactive (notepad was last in front).
  SetWindowPos(notepad, nullptr, 880, 140, 390, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  Pump(200);
  EXPECT_TRUE(CaptureWindow(dialog, L"launch_96.png"));

  // "ハンドル取得情報": the search's trace on the dialog's left.
  ClickOn(Item(C::Check(LaunchCheck::DebugWindow)));
  HWND debug = WaitForWindow(DebugWindow, 3000);
  ASSERT_NE(debug, nullptr);
  std::string trace;
  for (HWND e = nullptr; (e = FindWindowExW(debug, e, L"Edit", nullptr));) trace += WindowText(e);
  EXPECT_NE(trace.find("Class >Notepad"), std::string::npos) << trace;
  ClickOn(Item(C::Check(LaunchCheck::DebugWindow)));
  EXPECT_TRUE(WaitUntil([] { return DebugWindow() == nullptr; }, 3000));

  // Its own map: ">" puts the editor beside the dialog, its buttons left clear.
  ClickOn(Item(C::Check(LaunchCheck::OwnKeyMap)));
  ASSERT_TRUE(WaitUntil([] { return IsWindowEnabled(Item(C::kEditor)) != FALSE; }, 3000));
  ClickOn(Item(C::kEditor));
  HWND editor = WaitForWindow(EditorWindow, 5000);
  ASSERT_NE(editor, nullptr);
  Pump(100);
  RECT e, l, b, overlap;
  GetWindowRect(editor, &e);
  GetWindowRect(dialog, &l);
  EXPECT_EQ(e.top, l.top);
  for (int id : {C::kCancel, C::kSave, C::kTest}) {
    GetWindowRect(Item(id), &b);
    EXPECT_FALSE(IntersectRect(&overlap, &e, &b)) << "button " << id;
  }
  ClickOn(Item(C::Check(LaunchCheck::OwnKeyMap)));  // untick: the editor goes
  EXPECT_TRUE(WaitUntil([] { return EditorWindow() == nullptr; }, 3000));

  // Held past the long-press time, it quits notepad.
  GetWindowRect(Item(C::kTest), &b);
  ClickAt({(b.left + b.right) / 2, (b.top + b.bottom) / 2}, 1400);
  EXPECT_TRUE(WaitUntil([] { return Notepad() == nullptr; }, 5000));

  // A change to the message, then Enter: "保存", the default.
  const auto typeAtEnd = [](WORD key, const char* becomes) {
    ClickOn(Field(LaunchField::Message));
    ASSERT_TRUE(Until([] { return FocusOf(Dialog()) == Field(LaunchField::Message); }, 5000));
    PressKey(VK_END);
    PressKey(key);
    ASSERT_TRUE(Until([&] { return WindowText(Field(LaunchField::Message)) == becomes; }, 5000));
  };
  typeAtEnd('X', "Notepadx");
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitUntil([] { return Dialog() == nullptr; }, 5000));
  std::string file;
  EXPECT_TRUE(Until([&] { return (file = ReadAll(CorvidIniPath())).find("Class=Notepad") != file.npos; }, 3000));
  EXPECT_NE(file.find("AppProg=" + Utf8(path) + "\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("Message=Notepadx\r\nClass=Notepad\r\n"), std::string::npos);
  EXPECT_NE(file.find("AppSetConst=1,2,1,0,0,1,0,1,0,0,"), std::string::npos);
  // Another change, then Esc: closed as by its close box, the change kept in memory and not in the file.
  const auto reopen = [] {
    SendTrayCommand(corvid::MenuItem::LaunchSettings);
    const bool shown = WaitForWindow(Dialog, 5000) != nullptr;
    Pump(200);
    return shown;
  };
  ASSERT_TRUE(reopen());
  typeAtEnd('Y', "Notepadxy");
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([] { return Dialog() == nullptr; }, 3000));
  EXPECT_EQ(ReadAll(CorvidIniPath()), file);
  ASSERT_TRUE(reopen());
  EXPECT_EQ(WindowText(Field(LaunchField::Message)), "Notepadxy");
  EXPECT_TRUE(QuitCorvid(process));
}

}  // namespace
