#include "app/foreground_follower.h"

#include <gtest/gtest.h>

#include "fakes/headless_app.h"

namespace corvid {
namespace {

constexpr uint8_t kNum1 = 0x00;
const std::string kNotepad = "C:\\windows\\notepad.exe";

// App-1 notepad with its own map (NUM1 types B, the basic map A) beside another program.
class FollowTest : public ::testing::Test {
 protected:
  explicit FollowTest(bool follow = true) : hl(false, nullptr, &desk) {
    notepadPid = desk.AddProcess("notepad.exe", 0, kNotepad);
    notepad = desk.AddWindow(notepadPid, "無題 - メモ帳", "Notepad");
    other = desk.AddWindow(desk.AddProcess("other.exe", 0, "C:\\other.exe"), "Other", "OtherClass");
    desk.foreground = notepad;
    hl.p.memoryFiles.files["/corvid/.corvid/Corvid.ini"] =
        std::string("[System]\r\nHideStart=1\r\nDispChange=1\r\nFollowForeground=") + (follow ? "1" : "0") +
        "\r\n[App-1]\r\nAppProg=" + kNotepad + "\r\nMessage=Notepad\r\nClass=Notepad\r\n" +
        "AppSetConst=1,1,0,0,0,1,0,0,0,1,0,0,0,0,0,0,0,800\r\n"
        "[Items-0]\r\nBD00=0000,41,A\r\nBM00=0000,43,C\r\n[Items-1]\r\nBD00=0000,42,B\r\nBM00=0000,44,D\r\n";
    hl.app.StartUp();
  }
  uint16_t Num1() { return hl.engine.ActiveMap()[kNum1].Key; }
  // Whether the window in front changed the map, the map and NUM1's key then, what was shown.
  std::string Front(WindowHandle w) {
    hl.messages.clear();
    const bool changed = hl.app.Follower().ForegroundChanged(w);
    std::string out = (changed ? "changed " : "kept ") + std::to_string(hl.engine.CurrentAppMap()) + " " + char(Num1());
    for (const std::string& m : hl.messages) out += " " + m;
    return out;
  }
  int32_t MapFor(uint32_t pid, const std::string& title, const std::string& cls) {
    return hl.app.Follower().MapFor(desk.AddWindow(pid, title, cls));
  }

  FakeDesktop desk;
  HeadlessApp hl;
  uint32_t notepadPid = 0;
  WindowHandle notepad = 0, other = 0;
};

TEST_F(FollowTest, TheProgramsOwnMapWhileItIsInFrontTheBasicMapOtherwiseOwnWindowsAside) {
  EXPECT_TRUE(hl.p.watchingForeground);
  EXPECT_EQ(Front(notepad), "kept 1 B");  // looked at once at the start
  EXPECT_EQ(Front(other), "changed 0 A Basic Map");
  EXPECT_EQ(Front(notepad), "changed 1 B Notepad");
  // Corvid's own windows, a vanished window, none at all and notepad again (its map already) change nothing.
  for (WindowHandle w :
       {desk.AddWindow(desk.ownPid, "BD Mon.", "CodeMonitor"), WindowHandle{0x9999}, WindowHandle{0}, notepad})
    EXPECT_EQ(Front(w), "kept 1 B") << w;
  // A closed settings dialog names the basic map while notepad's stays active.
  hl.engine.SetCurrentAppMap(0);
  EXPECT_EQ(Front(other), "changed 0 A Basic Map");
  const WindowHandle save = desk.AddWindow(notepadPid, "名前を付けて保存", "#32770");
  desk.Find(save)->owner = notepad;
  EXPECT_EQ(Front(save), "changed 1 B Notepad");
}

TEST_F(FollowTest, AHeldButtonIsReleasedFirstAndTheModeIsKept) {
  Front(other);
  hl.engine.SwitchToKeyboardMode();
  hl.Forget();
  hl.Report(kNum1);
  Front(notepad);
  EXPECT_EQ(hl.Monitor(), (Lines{" 0x41", "-0x41"}));
  hl.p.clock.Advance(2000);  // no repeat left running
  hl.Release();
  EXPECT_EQ(hl.Monitor().size(), 2u);

  hl.engine.SwitchToMouseMode();
  EXPECT_EQ(Front(other), "changed 0 C Basic Map");
  // While the editor is open the map it edits stays.
  Front(notepad);
  hl.app.RunTrayCommand(TrayCommand::ShowKeyMapEditor);
  EXPECT_EQ(Front(other), "kept 1 D");
}

TEST_F(FollowTest, MatchesByProgramPathClassAndCaption) {
  AppEntry& e = hl.data.Apps[0];
  EXPECT_EQ(MapFor(notepadPid, "検索", "#32770"), 0);
  e.Class = "";
  EXPECT_EQ(MapFor(notepadPid, "検索", "#32770"), 1);  // no class nor caption: any titled window
  EXPECT_EQ(hl.app.Follower().MapFor(other), 0);
  e.Caption = "メモ帳";
  EXPECT_EQ(MapFor(notepadPid, "ヘルプ", "Notepad"), 0);
  EXPECT_EQ(hl.app.Follower().MapFor(notepad), 1);
  // Another folder is another program; where the path cannot be read, the name decides.
  EXPECT_EQ(MapFor(desk.AddProcess("notepad.exe", 0, "D:\\tools\\notepad.exe"), "メモ帳", "Notepad"), 0);
  EXPECT_EQ(MapFor(desk.AddProcess("NOTEPAD.EXE"), "メモ帳", "Notepad"), 1);
  e.OwnKeyMap = false;  // an entry without its own map has none to follow
  EXPECT_EQ(hl.app.Follower().MapFor(notepad), 0);
}

struct SettingOff : FollowTest {
  SettingOff() : FollowTest(false) {}
};
TEST_F(SettingOff, NothingFollowsUntilItIsTurnedOn) {
  EXPECT_FALSE(hl.p.watchingForeground);
  EXPECT_EQ(Front(notepad), "kept 0 A");
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
