// Corvid.exe's settings windows on a real desktop, driven by real keys and clicks (with
// Wine's notepad as the program to launch), and their pictures at 96 and 144 DPI.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ui/environment_dialog_win32.h"
#include "ui/launch_settings_win32.h"
#include "win32/wine_support_win32.h"

using namespace wine_test;
using corvid::EnvironmentDialogWin32;
using corvid::LaunchCheck;
using corvid::LaunchField;
using corvid::LaunchRadio;
using C = corvid::LaunchControl;
using corvid::MenuItem;

namespace {

HWND EditorWindow() { return VisibleWindowOfClass(L"KeyMapEditor"); }
HWND MonitorWindow() { return VisibleWindowOfClass(L"CodeMonitor"); }
HWND EnvironmentWindow() { return VisibleWindowOfClass(L"EnvironmentDialog"); }
HWND LaunchWindow() { return VisibleWindowOfClass(L"LaunchSettings"); }
HWND DebugWindow() { return VisibleWindowOfClass(L"DebugWindow"); }
HWND Notepad() { return FindWindowW(L"Notepad", nullptr); }
// The open-file dialog, owned by the launch settings.
HWND OpenDialog() {
  return FindWhere(
      [](HWND w) { return IsWindowVisible(w) && GetWindow(w, GW_OWNER) == LaunchWindow() && ClassOf(w) == L"#32770"; });
}
HWND Item(int id) { return GetDlgItem(LaunchWindow(), id); }
HWND Field(LaunchField f) { return Item(C::Field(f)); }
HWND EnvControl(HWND dialog, const char* key) { return GetDlgItem(dialog, EnvironmentDialogWin32::ControlId(key)); }
std::string ValueBox(HWND dialog, const char* key) {
  return WindowText(GetDlgItem(dialog, EnvironmentDialogWin32::ValueBoxId(key)));
}
HWND OpenMenu() { return VisibleWindowOfClass(L"#32768"); }

// The DPI the programs started after this read.
void SetDpi(DWORD dpi) {
  RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
}

// The start's on-screen message, over the windows until it has faded.
void WaitForMessageToFade() { Pump(1800); }

// "保存", or "Save" where Corvid speaks English.
HWND SaveButton(HWND window) {
  const HWND japanese = ChildWindow(window, L"BUTTON", L"保存");
  return japanese ? japanese : ChildWindow(window, L"BUTTON", L"Save");
}

void TrayDoubleClick() {
  PostMessageW(MainWindowOfCorvid(), corvid::kTrayCallbackMessage, corvid::kTrayIconId, WM_LBUTTONDBLCLK);
}

// The pixels of the message band (a tenth of the screen from `top`) that
// match `is` and were not in `before`. Wine's tray window, on the left, is
// drawn anew as the focus moves.
Changed InkIn(const Capture& before, int top, bool (*is)(uint32_t)) {
  return ChangedPixels(before, CaptureScreen(), {before.width / 6, top, before.width, top + before.height / 10}, is);
}
bool Red(uint32_t p) { return ((p >> 16) & 0xFF) >= 200 && ((p >> 8) & 0xFF) < 80 && (p & 0xFF) < 80; }

class SettingsWindows : public ::testing::Test {
 protected:
  void SetUp() override { DeleteFileW(CorvidIniPath().c_str()); }
  void TearDown() override {
    EndProgramsOfClass(corvid::kMainWindowClass);  // a failed test's Corvid would take the next one's start
    EndProgramsOfClass(L"Notepad");
    DeleteFileW(CorvidIniPath().c_str());
  }
};

// The monitor shows a replayed session. Then, by keyboard: Tab binds nothing,
// a key is bound only after a click, Enter and Esc never lose work.
TEST_F(SettingsWindows, TheKeyboardNeverThrowsWorkAwayNorTrapsAndTheMessageIsTried) {
  const std::wstring session = BuildFile(L"monitor-session.txt");
  ASSERT_TRUE(WriteAll(session,
                       "wait 2500\n01 10 00 00 54 FF FF FF FF 00 00 05\nwait 50\n"
                       "01 00 00 00 FF FF FF FF FF 00 00 05\nwait 60000\n"));
  WriteFactorySettings(CorvidIniPath(), "ja");
  const corvid::UniqueHandle p = Start(CorvidExe(), L"--replay \"" + session + L"\"");
  ASSERT_TRUE(p);
  HWND editor = WaitForWindow(EditorWindow, 15000);
  ASSERT_NE(editor, nullptr);
  SendTrayCommand(MenuItem::CodeMonitor);
  HWND monitor = WaitForWindow(MonitorWindow, 5000);
  ASSERT_NE(monitor, nullptr);
  const std::string factory = ReadAll(CorvidIniPath());
  const HWND sent = ChildWindow(monitor, L"EDIT");
  EXPECT_TRUE(Until([&] { return WindowText(sent) == " 0x26\r\n-0x26"; }, 10000)) << WindowText(sent);
  // Pictured below the message band at once: five seconds after the start the monitor is cleared.
  RECT e;
  GetWindowRect(editor, &e);
  SetWindowPos(monitor, HWND_TOP, e.right, 120, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  Pump(300);
  EXPECT_TRUE(CaptureWindow(monitor, L"monitor_96.png"));
  WaitForMessageToFade();
  EXPECT_TRUE(CaptureWindow(editor, L"editor_96.png"));
  // Esc is the monitor's close box too.
  SetForegroundWindow(monitor);
  ASSERT_TRUE(Until([&] { return GetForegroundWindow() == monitor; }, 5000));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(Until([&] { return !IsWindowVisible(monitor); }, 5000));

  // The memo, then the fields Index, Code and SendCode.
  std::vector<HWND> edits;
  for (HWND e = nullptr; (e = FindWindowExW(editor, e, L"Edit", nullptr));) edits.push_back(e);
  ASSERT_EQ(edits.size(), 4u);
  const HWND code = edits[2], sendCode = edits[3];
  SetForegroundWindow(editor);
  Pump(200);
  PressKey(VK_TAB, 70);  // every box and button, and round again
  EXPECT_TRUE(IsWindowVisible(editor));
  // A click on a box, then a key (the hook in between).
  const auto bind = [&](const wchar_t* box, WORD key, WORD modifier, const char* shown) {
    const HWND b = ChildWindow(editor, L"CorvidKeyBox", box);
    ClickOn(b);
    ASSERT_TRUE(Until([&] { return FocusOf(editor) == b; }, 5000));
    PressKey(key, 1, modifier);
    EXPECT_TRUE(Until([&] { return WindowText(code) == shown; }, 5000)) << WindowText(code);
    EXPECT_TRUE(IsWindowVisible(editor));
  };
  bind(L"AUDIO", 'A', VK_SHIFT, "0100-41");
  ClickOn(sendCode);
  ASSERT_TRUE(Until([&] { return FocusOf(editor) == sendCode; }, 5000));
  PressKey(VK_END);
  PressKey('X');
  PressKey(VK_RETURN);
  EXPECT_TRUE(IsWindowVisible(editor));
  EXPECT_EQ(WindowText(sendCode), "Shift.Ax");
  bind(L"NUM1", VK_ESCAPE, 0, "0000-1B");
  bind(L"NUM2", VK_TAB, 0, "0000-09");
  // A box's menu: Esc closes it, and nothing is chosen; then Media, Next.
  const HWND time = ChildWindow(editor, L"CorvidKeyBox", L"TIME");
  ClickOn(time, true);
  ASSERT_TRUE(WaitUntil([] { return OpenMenu() != nullptr; }, 3000));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([] { return OpenMenu() == nullptr; }, 3000));
  EXPECT_TRUE(IsWindowVisible(editor));
  EXPECT_EQ(WindowText(code), "0000-00");
  ClickOn(time, true);
  ASSERT_TRUE(WaitUntil([] { return OpenMenu() != nullptr; }, 3000));
  PressKey('M');
  PressKey('N');
  EXPECT_TRUE(Until([&] { return WindowText(code) == "0000-B0"; }, 5000)) << WindowText(code);
  // Esc now is the close box: the editor goes, its changes stay in memory.
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(Until([&] { return !IsWindowVisible(editor); }, 5000));
  TrayDoubleClick();
  EXPECT_TRUE(Until([&] { return IsWindowVisible(editor) != FALSE; }, 5000));
  ShowWindow(editor, SW_MINIMIZE);
  Pump(200);
  TrayDoubleClick();
  EXPECT_TRUE(Until([&] { return !IsIconic(editor); }, 5000));
  Pump(200);
  ClickOn(SaveButton(editor));
  EXPECT_FALSE(IsWindowVisible(editor));
  std::string file;
  EXPECT_TRUE(Until([&] { return (file = ReadAll(CorvidIniPath())).find("BD64=0100") != std::string::npos; }, 5000));
  // The basic map as it was but for the keys bound.
  const auto items = [](std::string f) {
    f += "[";  // the section may be the last
    const size_t at = f.find("[Items-0]");
    return f.substr(at, f.find("\r\n[", at) - at);
  };
  std::string expected = items(factory);
  for (const std::string bound :
       {"BD64=0100,41,Shift.Ax", "BD00=0000,1B,ESC", "BD01=0000,09,TAB", "BD28=0000,B0,NEXT"}) {
    const size_t at = expected.find("\r\n" + bound.substr(0, 5)) + 2;
    expected.replace(at, expected.find("\r\n", at) - at, bound);
  }
  EXPECT_EQ(items(file), expected);

  // The environment settings tried on the message: its preview centred in
  // the top tenth, moved by the vertical bar, coloured by the system's
  // chooser; a tick and Enter save them.
  WaitForMessageToFade();  // "保存"'s
  const Capture before = CaptureScreen();
  SendTrayCommand(MenuItem::Environment);
  HWND dialog = WaitForWindow(EnvironmentWindow, 5000);
  ASSERT_NE(dialog, nullptr);
  SetWindowPos(dialog, nullptr, 456, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // clear of the preview's places
  Pump(300);
  EXPECT_EQ(ValueBox(dialog, "MesPosy"), "60");  // the vertical place shows 60 more
  const Changed opened = InkIn(before, 0, Bright);
  EXPECT_GT(opened.count, 300);
  EXPECT_LE(std::abs((opened.box.left + opened.box.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 6);
  SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) - 1);
  Pump(100);
  EXPECT_TRUE(CaptureWindow(dialog, L"environment_96.png"));
  constexpr int kLow = 860;  // below the dialog
  SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, kLow),
               reinterpret_cast<LPARAM>(EnvControl(dialog, "MesPosy")));
  Pump(200);
  EXPECT_EQ(ValueBox(dialog, "MesPosy"), "920");
  EXPECT_EQ(InkIn(before, 0, Bright).count, 0);
  const RECT moved = InkIn(before, kLow, Bright).box;
  EXPECT_EQ(std::pair(moved.left, moved.top), std::pair(opened.box.left, opened.box.top + kLow));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(EnvironmentDialogWin32::ControlId("MesColorFg"), STN_CLICKED),
               reinterpret_cast<LPARAM>(EnvControl(dialog, "MesColorFg")));
  // Once shown it has filled its boxes with the colour in use; then they are typed over.
  const auto shown = [&](HWND w) { return IsWindowVisible(w) && GetWindow(w, GW_OWNER) == dialog; };
  HWND chooser = nullptr;
  ASSERT_TRUE(Until([&] { return (chooser = FindWhere(shown)) != nullptr; }, 5000));
  SetWindowTextW(GetDlgItem(chooser, 706), L"255");  // red, green, blue
  SetWindowTextW(GetDlgItem(chooser, 707), L"0");
  SetWindowTextW(GetDlgItem(chooser, 708), L"0");
  SendMessageW(GetDlgItem(chooser, IDOK), BM_CLICK, 0, 0);
  EXPECT_TRUE(Until([&] { return InkIn(before, kLow, Red).count > 300; }, 5000));
  const HWND hideStart = EnvControl(dialog, "HideStart");
  ClickOn(hideStart);
  ASSERT_TRUE(Until(
      [&] { return SendMessageW(hideStart, BM_GETCHECK, 0, 0) == BST_CHECKED && FocusOf(dialog) == hideStart; }, 5000));
  PressKey(VK_RETURN);
  EXPECT_TRUE(Until([&] { return !IsWindowVisible(dialog); }, 5000));
  EXPECT_EQ(InkIn(before, kLow, Red).count, 0);  // the preview goes with the dialog
  file = ReadAll(CorvidIniPath());
  for (const char* saved : {"HideStart=1\r\n", "MesPosy=860\r\n", "MesColorFg=0x0000FF\r\n"})
    EXPECT_NE(file.find(saved), std::string::npos) << saved;
  EXPECT_TRUE(QuitCorvid(p));
}

// A file unread at start is never saved over with the factory maps.
TEST_F(SettingsWindows, AFileLeftAloneAtStartIsNeverSavedOver) {
  const std::string own = "[System]\r\nHideStart=1\r\n[Items-0]\r\nBD0B=0000,0D,MY-ENTER\r\nBD0C=zz\r\n";
  ASSERT_TRUE(WriteAll(CorvidIniPath(), own));
  // Held open without sharing, it cannot be read while Corvid starts.
  corvid::UniqueHandle lock(CreateFileW(CorvidIniPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(lock);
  const corvid::UniqueHandle p = Start(CorvidExe(), L"");
  ASSERT_TRUE(p);
  HWND box = WaitForWindow([] { return FindBoxTitled(L"Corvid Info"); }, 15000);
  lock.Reset();
  ASSERT_NE(box, nullptr);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_NE(WaitForWindow(MainWindowOfCorvid, 15000), nullptr);
  SendTrayCommand(MenuItem::KeyMapEditor);
  HWND editor = WaitForWindow(EditorWindow, 5000);
  ASSERT_NE(editor, nullptr);
  ClickOn(SaveButton(editor));
  box = WaitForWindow([] { return FindBoxTitled(L"Corvid"); }, 5000);
  ASSERT_NE(box, nullptr);
  std::string said;
  for (HWND c = nullptr; (c = FindWindowExW(box, c, L"Static", nullptr));) said += WindowText(c);
  // The file unread, Corvid speaks the display language.
  EXPECT_TRUE(said.find("保存しませんでした") != said.npos || said.find("Nothing was saved") != said.npos) << said;
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  Pump(200);
  EXPECT_EQ(ReadAll(CorvidIniPath()), own);
  EXPECT_TRUE(QuitCorvid(p));
}

// The windows in both languages at 144 DPI and in English at 96.
TEST_F(SettingsWindows, PicturesInBothLanguages) {
  for (const auto& [dpi, language, suffix] :
       {std::tuple{144, "ja", L"_144"}, std::tuple{144, "en", L"_144_en"}, std::tuple{96, "en", L"_96_en"}}) {
    WriteFactorySettings(CorvidIniPath(), language);
    ASSERT_TRUE(WriteAll(CorvidIniPath(), ReadAll(CorvidIniPath()) + "[App-1]\r\nAppProg=" + Utf8(NotepadPath()) +
                                              "\r\nAppPath=C:\\windows\\\r\nMessage=Notepad\r\nClass=Notepad\r\n"
                                              "AppSetConst=8,2,1,1,0,1,1,1,0,1,40,30,840,630,20,10,1200,1500\r\n"));
    SetDpi(dpi);
    const corvid::UniqueHandle p = Start(CorvidExe(), L"");
    ASSERT_TRUE(p);
    HWND editor = WaitForWindow(EditorWindow, 15000);
    SetDpi(96);  // each program reads it as it starts
    ASSERT_NE(editor, nullptr);
    const auto name = [&](const wchar_t* window) { return std::wstring(window) + suffix + L".png"; };
    RECT r, m;
    GetWindowRect(editor, &r);
    if (dpi == 144) EXPECT_GT(r.right - r.left, 900);  // 640 client pixels at 96 DPI, scaled
    // Moved to the left, the editor leaves the monitor room on its right.
    SetWindowPos(editor, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendTrayCommand(MenuItem::CodeMonitor);
    HWND monitor = WaitForWindow(MonitorWindow, 5000);
    ASSERT_NE(monitor, nullptr);
    WaitForMessageToFade();
    GetWindowRect(monitor, &m);
    EXPECT_EQ(m.left, r.right - r.left);
    EXPECT_GT(m.right - m.left, 200 * static_cast<LONG>(dpi) / 144);
    EXPECT_TRUE(CaptureWindow(editor, name(L"editor").c_str()));
    EXPECT_TRUE(CaptureWindow(monitor, name(L"monitor").c_str()));
    SendTrayCommand(MenuItem::Environment);
    HWND environment = WaitForWindow(EnvironmentWindow, 5000);
    ASSERT_NE(environment, nullptr);
    GetWindowRect(environment, &r);
    // 368 wide at 96 DPI, scaled (the frame has its own size at each DPI).
    if (dpi == 144) EXPECT_NEAR(r.right - r.left, 552, 6);
    // Centred, its caption would lie under the preview in the top tenth.
    SetWindowPos(environment, nullptr, r.left, GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) - 1);  // no control drawn as hovered
    Pump(300);
    EXPECT_TRUE(CaptureWindow(environment, name(L"environment").c_str()));
    PostMessageW(environment, WM_CLOSE, 0, 0);
    SendTrayCommand(MenuItem::LaunchSettings);
    HWND launch = WaitForWindow(LaunchWindow, 5000);
    ASSERT_NE(launch, nullptr);
    Pump(300);
    GetWindowRect(launch, &r);
    if (dpi == 144) EXPECT_GT(r.right - r.left, 600);  // 440 pixels at 96 DPI, scaled
    EXPECT_EQ(WindowText(Field(LaunchField::ActivateDelay)), "1200");
    EXPECT_TRUE(CaptureWindow(launch, name(L"launch").c_str()));
    // A lone minus sign is said beside the boxes, without a message box.
    SetWindowTextW(Field(LaunchField::RectLeft), L"-");
    SetWindowTextW(Field(LaunchField::ClickY), L"-");
    Pump(100);
    for (int note : {C::kRectNote, C::kClickNote}) EXPECT_TRUE(IsWindowVisible(Item(note)));
    for (HWND w : WindowsOfClass(L"#32770")) EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_TRUE(CaptureWindow(launch, name(L"launch_invalid").c_str()));
    SetWindowTextW(Field(LaunchField::RectLeft), L"40");
    Pump(100);
    EXPECT_FALSE(IsWindowVisible(Item(C::kRectNote)));
    EXPECT_TRUE(QuitCorvid(p));
  }
}

TEST_F(SettingsWindows, NotepadRegisteredTestedAndSavedThroughTheDialog) {
  ASSERT_FALSE(NotepadPath().empty());
  ASSERT_TRUE(WriteAll(CorvidIniPath(), "[System]\r\nHideStart=1\r\nLanguage=ja\r\n"));
  const corvid::UniqueHandle process = Start(CorvidExe(), L"");
  ASSERT_NE(WaitForWindow(MainWindowOfCorvid, 15000), nullptr);
  WaitForInputIdle(process.Get(), 10000);  // the start-up complete
  SendTrayCommand(MenuItem::LaunchSettings);
  HWND dialog = WaitForWindow(LaunchWindow, 5000);
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
  RECT box, frame;
  GetWindowRect(Field(LaunchField::TargetClass), &box);
  EXPECT_EQ(CaptureScreen(box).At(6, 6), 0xFFFF00u);  // yellow while it waits
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
    ASSERT_TRUE(Until([] { return FocusOf(LaunchWindow()) == Field(LaunchField::Message); }, 5000));
    PressKey(VK_END);
    PressKey(key);
    ASSERT_TRUE(Until([&] { return WindowText(Field(LaunchField::Message)) == becomes; }, 5000));
  };
  typeAtEnd('X', "Notepadx");
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitUntil([] { return LaunchWindow() == nullptr; }, 5000));
  std::string file;
  EXPECT_TRUE(Until([&] { return (file = ReadAll(CorvidIniPath())).find("Class=Notepad") != file.npos; }, 3000));
  EXPECT_NE(file.find("AppProg=" + Utf8(path) + "\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("Message=Notepadx\r\nClass=Notepad\r\nCaption=\r\nAppSetConst=1,2,1,0,0,1,0,1,0,0,"), file.npos);
  // Another change, then Esc: closed as by its close box, the change kept in memory and not in the file.
  const auto reopen = [] {
    SendTrayCommand(MenuItem::LaunchSettings);
    const bool shown = WaitForWindow(LaunchWindow, 5000) != nullptr;
    Pump(200);
    return shown;
  };
  ASSERT_TRUE(reopen());
  typeAtEnd('Y', "Notepadxy");
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([] { return LaunchWindow() == nullptr; }, 3000));
  EXPECT_EQ(ReadAll(CorvidIniPath()), file);
  ASSERT_TRUE(reopen());
  EXPECT_EQ(WindowText(Field(LaunchField::Message)), "Notepadxy");
  EXPECT_TRUE(QuitCorvid(process));
}

}  // namespace
