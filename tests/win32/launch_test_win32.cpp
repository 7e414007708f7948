// Launch actions on a real desktop with Wine's notepad; the power unit refusing what it cannot do.
#include <windows.h>

#include <algorithm>
#include <utility>

#include <gtest/gtest.h>

#include "app/main_window_win32.h"
#include "base/text_win32.h"
#include "control/power_win32.h"
#include "remote/recorded_session.h"
#include "win32/wine_support_win32.h"

using namespace corvid;
using namespace wine_test;

namespace {

constexpr uint8_t kBlue = 0x80, kRed = 0x81, kGreen = 0x82, kNum1 = 0x00;

// BLUE: App-1 notepad (maximised, recorded for the next start, its own map types "a" on NUM1);
// RED: App-2, a plain window that lets notepad run beside it; GREEN: All Quit.
std::string Settings(const std::string& notepadClass) {
  return "[App-1]\r\nAppProg=" + Narrow(NotepadPath()) +
         "\r\nAppName=Notepad\r\nMessage=Notepad\r\nClass=" + notepadClass +
         "\r\nAppSetConst=2,2,0,1,0,1,0,1,1,1,0,0,0,0,0,0,0,800\r\n[App-2]\r\nAppProg=" +
         Narrow(BuildFile(L"corvid-window.exe")) +
         "\r\nMessage=Window\r\nClass=CorvidWindow\r\nAppSetConst=1,1,1,0,0,1,0,0,0,0,100,100,500,400,0,0,0,1000\r\n"
         "[Items-0]\r\nBD80=0000,07,App-1\r\nBD81=0001,07,App-2\r\nBD82=00FF,07,QuitAll\r\n"
         "[Items-1]\r\nBD00=0000,41,A\r\n";
}

struct Corvid : InProcessCorvid {
  Corvid(const std::wstring& folderName, const std::string& settings) : InProcessCorvid(folderName, settings) {
    app->Osd().onShow = [this](std::string_view t) { shown.emplace_back(t); };
  }
  void Play(const std::string& session) {
    app->StartReplay(ParseRecordedSession(session), false);
    while (app->ReplayRunning()) {  // as the message loop's idle step does
      Pump(20);
      app->FollowState();
    }
    Pump(200);
  }
  std::string IniText() { return ReadAll(Widen(app->Settings().Path())); }
  std::vector<std::string> shown;
};

HWND Notepad() { return FindWindowW(L"Notepad", nullptr); }
HWND PlainWindow() { return FindWindowW(L"CorvidWindow", nullptr); }
HWND Regedit() { return FindWindowW(L"RegEdit_RegEdit", nullptr); }
HWND NotepadEdit() { return FindWindowExW(Notepad(), nullptr, L"Edit", nullptr); }

std::string EditText() { return WindowText(NotepadEdit()); }

struct EndStartedPrograms {
  ~EndStartedPrograms() {
    for (const wchar_t* cls : {L"Notepad", L"CorvidWindow", L"RegEdit_RegEdit"}) EndProgramsOfClass(cls);
  }
};

bool Contains(const std::vector<std::string>& v, const std::string& s) {
  return std::find(v.begin(), v.end(), s) != v.end();
}

TEST(Launch, NotepadStartsInFrontTypesRestoresQuitsAndStartsAgainWithCorvid) {
  ASSERT_FALSE(NotepadPath().empty());
  EndStartedPrograms cleanup;
  ASSERT_EQ(Notepad(), nullptr);
  std::string marked;  // the settings file as the first start left it
  {
    Corvid c(L"launch-notepad", Settings("Notepad"));
    c.Play(ButtonPress(kBlue));
    HWND notepad = Notepad();
    ASSERT_NE(notepad, nullptr);
    EXPECT_EQ(GetForegroundWindow(), notepad);
    EXPECT_TRUE(IsZoomed(notepad));
    marked = c.IniText();
    EXPECT_NE(marked.find("AutoStart=1"), std::string::npos);
    c.Play(ButtonPress(kNum1));
    EXPECT_TRUE(WaitUntil([] { return EditText() == "a"; }, 3000)) << EditText();

    // A short press brings it back from the task bar, maximised as it was.
    ShowWindow(notepad, SW_MINIMIZE);
    Pump(200);
    c.Play(ButtonPress(kBlue));
    EXPECT_TRUE(IsZoomed(notepad));  // never while on the task bar
    EXPECT_EQ(GetForegroundWindow(), notepad);

    // App-2 lets notepad run beside it, out of view above the screen.
    c.Play(ButtonPress(kRed));
    HWND plain = PlainWindow();
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(GetForegroundWindow(), plain);
    RECT r{};
    GetWindowRect(notepad, &r);
    EXPECT_EQ(std::pair(r.left, r.top), std::pair(100L, 100L - GetSystemMetrics(SM_CYSCREEN)));

    // A long press quits notepad (its text needs no saving) and brings the
    // other program back; All Quit closes that one.
    SendMessageW(NotepadEdit(), EM_SETMODIFY, FALSE, 0);
    c.Play(ButtonPress(kBlue, 1200));
    EXPECT_TRUE(WaitUntil([] { return Notepad() == nullptr; }, 5000));
    EXPECT_EQ(GetForegroundWindow(), plain);
    c.Play(ButtonPress(kGreen));
    EXPECT_TRUE(WaitUntil([] { return PlainWindow() == nullptr; }, 5000));
    for (const char* text :
         {"Notepad Exec", "Notepad Restore", "Window Exec", "Notepad Quit", "Window Restore", "All Quit"})
      EXPECT_TRUE(Contains(c.shown, text)) << text;
    EXPECT_EQ(c.IniText().find("AutoStart=1"), std::string::npos);
  }

  // Corvid.exe started with the mark starts notepad again, maximised.
  const std::wstring ini = CorvidIniPath();
  ASSERT_TRUE(WriteAll(ini, marked));
  const std::wstring session = BuildFile(L"launch-wait.txt");
  ASSERT_TRUE(WriteAll(session, "wait 100\n"));
  const corvid::UniqueHandle p = Start(CorvidExe(), L"--replay \"" + session + L"\" --quit-after-replay");
  EXPECT_TRUE(WaitExit(p.Get(), 30000));
  HWND again = Notepad();
  EXPECT_TRUE(again && IsZoomed(again));
  if (again) PostMessageW(again, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([] { return Notepad() == nullptr; }, 5000));
  DeleteFileW(ini.c_str());
}

// App-1 notepad with its own map (NUM1 types "b"; the basic map "a"), following the front or not.
std::string FollowSettings(bool follow) {
  return std::string("[System]\r\nHideStart=1\r\nDispChange=1\r\nLanguage=ja\r\nFollowForeground=") +
         (follow ? "1" : "0") + "\r\n[App-1]\r\nAppProg=" + Narrow(NotepadPath()) +
         "\r\nMessage=Notepad\r\nClass=Notepad\r\nAppSetConst=1,1,0,0,0,1,0,0,0,1,0,0,0,0,0,0,0,800\r\n"
         "[Items-0]\r\nBD00=0000,41,A\r\n[Items-1]\r\nBD00=0000,42,B\r\n";
}

// `w` to the front (asked again while the system refuses it), the idle step until the key map is `map`.
bool FrontThenMap(Corvid& c, HWND w, int map) {
  return Until(
      [&] {
        if (GetForegroundWindow() != w) SetForegroundWindow(w);
        return c.app->FollowState(), c.app->Engine().CurrentAppMap() == map;
      },
      5000);
}

TEST(Launch, KeyMapFollowsNotepadStartedOutsideCorvidWhenAsked) {
  ASSERT_FALSE(NotepadPath().empty());
  EndStartedPrograms cleanup;
  ASSERT_TRUE(Start(NotepadPath(), L""));
  ASSERT_NE(WaitForWindow(Notepad, 10000), nullptr);
  // Another program, one whose window takes the keyboard focus.
  ASSERT_TRUE(Start(L"C:\\windows\\regedit.exe", L""));
  ASSERT_NE(WaitForWindow(Regedit, 10000), nullptr);
  // A program that has just started may still take the front itself.
  ASSERT_TRUE(
      WaitUntil([] { return SetForegroundWindow(Notepad()), Pump(100), GetForegroundWindow() == Notepad(); }, 5000));
  {
    Corvid c(L"follow-on", FollowSettings(true));
    ASSERT_TRUE(c.platform->ForegroundHook().Watching());
    // The start may leave the desktop in front (the basic map).
    EXPECT_TRUE(FrontThenMap(c, Notepad(), 1));
    // The tip and the icon, as the shell was given them, with and without a remote.
    c.app->FollowState();
    EXPECT_EQ(Narrow(c.platform->Main()->IconData().szTip), "Corvid  リモコン未接続\nKBD Mode");
    EXPECT_TRUE(c.platform->Main()->IconGreyed());
    c.app->StartReplay(ParseRecordedSession(ButtonPress(kNum1, 300)), false);
    ASSERT_TRUE(WaitUntil([] { return EditText() == "b"; }, 3000)) << EditText();
    c.app->FollowState();
    EXPECT_EQ(Narrow(c.platform->Main()->IconData().szTip), "Corvid  リモコン接続中(5)\nKBD Mode");
    EXPECT_FALSE(c.platform->Main()->IconGreyed());
    while (c.app->ReplayRunning()) Pump(20);
    c.app->FollowState();
    EXPECT_TRUE(c.platform->Main()->IconGreyed());
    // A low battery: the balloon, with the text of the receive log.
    c.Play("01 00 00 00 FF FF FF FF FF 00 00 01\nwait 200\n");
    EXPECT_EQ(Narrow(c.platform->Main()->IconData().szInfo), "バッテリー不足です。");

    // Another program in front and back: the basic map, then notepad's, each named by the message.
    c.shown.clear();
    for (int round = 0; round < 3; ++round) {
      EXPECT_TRUE(FrontThenMap(c, Regedit(), 0)) << round;
      EXPECT_TRUE(FrontThenMap(c, Notepad(), 1)) << round;
    }
    EXPECT_TRUE(Contains(c.shown, "Basic Map") && Contains(c.shown, "Notepad"));
    c.Play(ButtonPress(kNum1));
    EXPECT_TRUE(WaitUntil([] { return EditText() == "bb"; }, 3000)) << EditText();
  }
  // Off: the basic map, whatever is in front.
  SendMessageW(NotepadEdit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  SetForegroundWindow(Notepad());
  Corvid c(L"follow-off", FollowSettings(false));
  EXPECT_FALSE(c.platform->ForegroundHook().Watching());
  c.Play(ButtonPress(kNum1));
  EXPECT_TRUE(WaitUntil([] { return EditText() == "a"; }, 3000)) << EditText();
  SendMessageW(NotepadEdit(), EM_SETMODIFY, FALSE, 0);
}

// The icon in both states at the notification area's sizes at 96 and 144 DPI, as is and enlarged.
TEST(Launch, TrayIconPicturesInBothStates) {
  HMODULE exe = LoadLibraryExW(CorvidExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(exe, nullptr);
  for (int dpi : {96, 144}) {
    const int size = MulDiv(16, dpi, 96), zoom = 4, gap = 8;
    HICON normal = static_cast<HICON>(LoadImageW(exe, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
    ASSERT_NE(normal, nullptr);
    HICON grey = GreyedIcon(normal);
    ASSERT_NE(grey, nullptr);
    Capture c{2 * (size + gap) + 2 * (size * zoom + gap) + gap, size * zoom + 2 * gap, {}};
    BITMAPINFO bi{{sizeof(BITMAPINFOHEADER), c.width, -c.height, 1, 32, BI_RGB}};
    const corvid::MemoryDc dc(CreateCompatibleDC(nullptr));
    corvid::DibSection picture;
    ASSERT_TRUE(picture.Create(dc.Get(), bi));
    RECT all{0, 0, c.width, c.height};
    FillRect(dc.Get(), &all, GetSysColorBrush(COLOR_3DFACE));
    int x = gap;
    for (int scale : {1, zoom})
      for (HICON icon : {normal, grey}) {
        DrawIconEx(dc.Get(), x, gap, icon, size * scale, size * scale, 0, nullptr, DI_NORMAL);
        x += size * scale + gap;
      }
    GdiFlush();
    const auto* bits = static_cast<const uint32_t*>(picture.Bits());
    for (size_t i = 0; i < size_t(c.width) * c.height; ++i) c.pixels.push_back(bits[i] & 0xFFFFFF);
    // The greyed icon has no colour left and is not the same picture.
    const int at = gap + size / 2;
    const uint32_t n = c.At(at, at), g = c.At(at + size + gap, at);
    EXPECT_NE(n, g);
    EXPECT_TRUE((g & 0xFF) == ((g >> 8) & 0xFF) && (g & 0xFF) == (g >> 16)) << std::hex << g;
    EXPECT_TRUE(WritePng(BuildFile(dpi == 96 ? L"tray_icons_96.png" : L"tray_icons_144.png"), c));
    DestroyIcon(grey);
    DestroyIcon(normal);
  }
  FreeLibrary(exe);
}

// Moves injected from another thread return once the hook chain ran: their time is the hook's answer time.
TEST(Launch, MouseHookAnswersWhileAStartWaitsForAWindowThatNeverComes) {
  EndStartedPrograms cleanup;
  Corvid c(L"launch-hook", Settings("NoSuchClass"));
  c.app->Hooks().InstallCursorWakeHook();
  ASSERT_TRUE(c.app->Hooks().Installed(HookKind::CursorWake));
  MoveProbe probe;
  c.shown.clear();
  const double start = MillisecondsNow();
  c.Play(ButtonPress(kBlue));
  const double took = MillisecondsNow() - start;
  const std::vector<double> times = probe.Stop();
  c.app->Hooks().RemoveCursorWakeHook();
  EXPECT_EQ(c.shown, (std::vector<std::string>{"Notepad Exec", "Can't Control target.2"}));
  // A wait that serves the hook only between its slices holds moves up for
  // a slice; 200 ms is within the system's own hook time-out.
  ASSERT_GT(times.size(), 100u);
  EXPECT_LT(times[times.size() / 2], 20.0);
  EXPECT_LT(times.back(), 200.0);
  // 1 s, then 60 rounds of 20 passes with 10 ms pauses and 20 ms between.
  EXPECT_LT(took, 40000.0);
}

// App-1 a program that stops answering, restored by a short press and quit by a long one; NUM1 types "a".
std::string HungSettings() {
  return "[App-1]\r\nAppProg=" + Narrow(BuildFile(L"corvid-window.exe")) +
         "\r\nMessage=Hung\r\nClass=CorvidWindow\r\n"
         "AppSetConst=1,2,0,0,0,1,0,1,0,0,0,0,0,0,0,0,0,800\r\n"
         "[Items-0]\r\nBD80=0000,07,App-1\r\nBD00=0000,41,A\r\n";
}

bool g_keyArrived = false;
LRESULT CALLBACK KeyWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYDOWN && wp == 'A') g_keyArrived = true;
  return DefWindowProcW(w, msg, wp, lp);
}

TEST(Launch, HungProgramNeverHoldsUpTheRemote) {
  EndStartedPrograms cleanup;
  // Hung (5 s without taking messages) through the session; then it answers again.
  const corvid::UniqueHandle hung = Start(BuildFile(L"corvid-window.exe"), L"--hang 12000");
  const HWND window = WaitForWindow(PlainWindow, 5000);
  ASSERT_NE(window, nullptr);
  Corvid c(L"launch-hung", HungSettings());
  MakeFrontWindow(L"CorvidHungTestKeys", KeyWindowProc, 0, WS_OVERLAPPEDWINDOW, {600, 100, 300, 200});
  EXPECT_TRUE(WaitUntil([] { return IsHungAppWindow(PlainWindow()) != FALSE; }, 9000));

  const std::string session = ButtonPress(kBlue) + ButtonPress(kBlue, 1200) + ButtonPress(kNum1);
  double own = 0;  // the session's own waits
  for (size_t at = session.find("wait "); at != std::string::npos; at = session.find("wait ", at + 1))
    own += std::atof(session.c_str() + at + 5);
  c.shown.clear();
  const double start = MillisecondsNow();
  c.app->StartReplay(ParseRecordedSession(session), false);
  while (c.app->ReplayRunning()) Pump(5);
  EXPECT_LT(MillisecondsNow() - start, own + 1000);
  EXPECT_TRUE(IsHungAppWindow(window));
  EXPECT_TRUE(WaitUntil([] { return g_keyArrived; }, 1000));
  for (const char* text : {"Hung Restore", "Hung Quit"}) EXPECT_TRUE(Contains(c.shown, text)) << text;
  EXPECT_EQ(std::count(c.shown.begin(), c.shown.end(), "Hung Not Responding"), 2);
  EXPECT_TRUE(Contains(c.app->DebugLog().Lines(), "NOT RESPONDING > App-1 corvid-window.exe"));
  EXPECT_FALSE(IsIconic(window) || IsZoomed(window));
  // Never ended by Corvid: it closes on the posted request once it answers.
  EXPECT_EQ(WaitForSingleObject(hung.Get(), 0), WAIT_TIMEOUT);
  EXPECT_TRUE(WaitExit(hung.Get(), 15000));
}

// Whether this process's token has the shutdown privilege enabled now.
bool ShutdownPrivilegeOn() {
  corvid::UniqueHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) return false;
  PRIVILEGE_SET set{1, PRIVILEGE_SET_ALL_NECESSARY, {}};
  BOOL on = FALSE;
  if (LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &set.Privilege[0].Luid))
    PrivilegeCheck(token.Get(), &set, &on);
  return on != FALSE;
}

int RecordedFlags = -1;
bool PrivilegeAtRequest = false;

int RecordShutdown(unsigned flags, unsigned long) {
  RecordedFlags = static_cast<int>(flags);
  PrivilegeAtRequest = ShutdownPrivilegeOn();
  return FALSE;  // refused, as a vetoing program would
}

// Never the machine's own shutdown or sleep: a missing library or privilege, the shutdown call stood in for.
TEST(Power, RefusedPathsDoNothingNothingIsForcedAndThePrivilegeIsLentForTheRequest) {
  EXPECT_FALSE(Win32Power({.library = L"NoSuchPowrprof.dll"}).Suspend(false));
  EXPECT_FALSE(Win32Power({.library = L"kernel32.dll"}).Suspend(true));  // no SetSuspendState

  // Without the privilege the request still goes (the system refuses it), nothing forced.
  const Win32Power::ExitSteps s =
      Win32Power({.privilege = L"SeNoSuchPrivilege", .exitWindows = RecordShutdown}).Exit(EWX_REBOOT | EWX_FORCE);
  EXPECT_TRUE(s.tokenOpened && !s.privilegeEnabled && s.requested);
  EXPECT_EQ(RecordedFlags, EWX_REBOOT);
  RecordedFlags = -1;
  EXPECT_FALSE(Win32Power({.exitWindows = RecordShutdown}).Exit(0).requested);  // 0 would log off
  EXPECT_EQ(RecordedFlags, -1);

  // With the privilege: enabled for the request, and for it alone.
  ASSERT_FALSE(ShutdownPrivilegeOn());
  const Win32Power::ExitSteps granted = Win32Power({.exitWindows = RecordShutdown}).Exit(EWX_SHUTDOWN);
  EXPECT_TRUE(granted.privilegeEnabled && PrivilegeAtRequest);
  EXPECT_EQ(RecordedFlags, EWX_SHUTDOWN);
  EXPECT_FALSE(ShutdownPrivilegeOn());
}

}  // namespace
