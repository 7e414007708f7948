#include "app/foreground_follower.h"

#include <gtest/gtest.h>

#include "fakes/headless_app.h"

namespace corvid {
namespace {

constexpr uint8_t kNum1 = 0x00;
const std::string kNotepad = "C:\\windows\\notepad.exe";

// App-1 notepad with its own map (NUM1 types B, the basic map A), the
// setting on; notepad running beside another program.
class FollowTest : public ::testing::Test {
 protected:
  explicit FollowTest(const std::string& app1 = "Class=Notepad\r\n", bool follow = true) : hl(false, nullptr, &desk) {
    notepadPid = desk.AddProcess("notepad.exe", 0, kNotepad);
    otherPid = desk.AddProcess("other.exe", 0, "C:\\other.exe");
    notepad = desk.AddWindow(notepadPid, "無題 - メモ帳", "Notepad");
    other = desk.AddWindow(otherPid, "Other", "OtherClass");
    desk.foreground = notepad;
    hl.p.memoryFiles.files["/corvid/.corvid/Corvid.ini"] =
        std::string("[System]\r\nHideStart=1\r\nDispChange=1\r\nFollowForeground=") + (follow ? "1" : "0") +
        "\r\n[App-1]\r\nAppProg=" + kNotepad + "\r\nMessage=Notepad\r\n" + app1 +
        "AppSetConst=1,1,0,0,0,1,0,0,0,1,0,0,0,0,0,0,0,800\r\n"
        "[Items-0]\r\nBD00=0000,41,A\r\nBM00=0000,43,C\r\n[Items-1]\r\nBD00=0000,42,B\r\nBM00=0000,44,D\r\n";
    hl.app.StartUp();
  }
  uint16_t Num1() { return hl.engine.ActiveMap()[kNum1].Key; }
  bool Front(WindowHandle w) {
    hl.messages.clear();
    return hl.app.Follower().ForegroundChanged(w);
  }

  FakeDesktop desk;
  HeadlessApp hl;
  uint32_t notepadPid = 0, otherPid = 0;
  WindowHandle notepad = 0, other = 0;
};

TEST_F(FollowTest, TheProgramsOwnMapWhileItIsInFrontTheBasicMapOtherwiseOwnWindowsAside) {
  // Looked at once at the start: notepad is in front.
  EXPECT_TRUE(hl.p.watchingForeground);
  EXPECT_EQ(Num1(), 0x42);
  EXPECT_EQ(hl.engine.CurrentAppMap(), 1);
  EXPECT_TRUE(Front(other));
  EXPECT_EQ(Num1(), 0x41);
  EXPECT_EQ(hl.engine.CurrentAppMap(), 0);
  EXPECT_EQ(hl.messages, Lines{"Basic Map"});
  EXPECT_TRUE(Front(notepad));
  EXPECT_EQ(hl.messages, Lines{"Notepad"});
  // Corvid's own windows, a vanished window and none at all change nothing.
  const WindowHandle own = desk.AddWindow(desk.ownPid, "BD Mon.", "CodeMonitor");
  EXPECT_FALSE(Front(own));
  EXPECT_FALSE(Front(0x9999));
  EXPECT_FALSE(Front(0));
  EXPECT_FALSE(Front(notepad));  // already its map: nothing shown again
  EXPECT_EQ(Num1(), 0x42);
  EXPECT_TRUE(hl.messages.empty());
  // Closing a settings dialog names the basic map, notepad's stays active:
  // the next program's window still brings the basic map.
  hl.engine.SetCurrentAppMap(0);
  EXPECT_TRUE(Front(other));
  EXPECT_EQ(Num1(), 0x41);
  Front(notepad);
  // A dialog of notepad's belongs to it.
  Front(other);
  const WindowHandle save = desk.AddWindow(notepadPid, "名前を付けて保存", "#32770");
  desk.Find(save)->owner = notepad;
  EXPECT_TRUE(Front(save));
  EXPECT_EQ(Num1(), 0x42);
}

TEST_F(FollowTest, AHeldButtonIsReleasedFirstAndTheModeIsKept) {
  Front(other);
  hl.engine.SwitchToKeyboardMode();
  hl.Forget();
  hl.Report(kNum1);
  EXPECT_EQ(hl.Monitor(), Lines{" 0x41"});
  Front(notepad);
  EXPECT_EQ(hl.Monitor(), (Lines{" 0x41", "-0x41"}));
  EXPECT_FALSE(hl.engine.HoldsInput());
  hl.p.clock.Advance(2000);  // no repeat left running
  hl.Release();
  EXPECT_EQ(hl.Monitor().size(), 2u);

  hl.engine.SwitchToMouseMode();
  EXPECT_EQ(Num1(), 0x44);
  Front(other);
  EXPECT_TRUE(hl.engine.MouseMode());
  EXPECT_EQ(Num1(), 0x43);
}

TEST_F(FollowTest, WhileTheEditorIsOpenTheMapItEditsStays) {
  hl.app.RunTrayCommand(TrayCommand::ShowKeyMapEditor);
  EXPECT_FALSE(Front(other));
  EXPECT_EQ(hl.engine.CurrentAppMap(), 1);
}

// Which entry a window belongs to: its program by full path, then the
// entry's class and caption as the target search takes them.
struct CaptionOnly : FollowTest {
  CaptionOnly() : FollowTest("Caption=メモ帳\r\n") {}
};
TEST_F(CaptionOnly, MatchesByCaptionAndByProgramPath) {
  const WindowHandle untitled = desk.AddWindow(notepadPid, "", "Notepad");
  EXPECT_EQ(hl.app.Follower().MapFor(untitled), 0);
  const WindowHandle help = desk.AddWindow(notepadPid, "ヘルプ", "Notepad");
  EXPECT_EQ(hl.app.Follower().MapFor(help), 0);
  EXPECT_EQ(hl.app.Follower().MapFor(notepad), 1);
  // The same file name in another folder is another program.
  const uint32_t copy = desk.AddProcess("notepad.exe", 0, "D:\\tools\\notepad.exe");
  EXPECT_EQ(hl.app.Follower().MapFor(desk.AddWindow(copy, "メモ帳", "Notepad")), 0);
  // Where the path cannot be read, the file name decides.
  const uint32_t unreadable = desk.AddProcess("NOTEPAD.EXE");
  EXPECT_EQ(hl.app.Follower().MapFor(desk.AddWindow(unreadable, "メモ帳", "Notepad")), 1);
}

struct NoClassNoCaption : FollowTest {
  NoClassNoCaption() : FollowTest("") {}
};
TEST_F(NoClassNoCaption, AnyTitledWindowOfTheProgram) {
  EXPECT_EQ(hl.app.Follower().MapFor(desk.AddWindow(notepadPid, "検索", "#32770")), 1);
  EXPECT_EQ(hl.app.Follower().MapFor(other), 0);
}

struct SettingOff : FollowTest {
  SettingOff() : FollowTest("Class=Notepad\r\n", false) {}
};
TEST_F(SettingOff, NothingFollowsUntilItIsTurnedOn) {
  EXPECT_FALSE(hl.p.watchingForeground);
  EXPECT_EQ(hl.engine.CurrentAppMap(), 0);
  EXPECT_FALSE(Front(notepad));
  EXPECT_EQ(Num1(), 0x41);
  hl.data.settings.FollowForeground = true;  // the environment dialog's box
  hl.app.OnIdle();
  EXPECT_TRUE(hl.p.watchingForeground);
  EXPECT_EQ(Num1(), 0x42);
  hl.data.settings.FollowForeground = false;
  hl.app.OnIdle();
  EXPECT_FALSE(hl.p.watchingForeground);
}

}  // namespace
}  // namespace corvid
