#include "control/target_search.h"

#include <gtest/gtest.h>

#include "base/manual_clock.h"
#include "fakes/expected_text.h"
#include "fakes/fake_desktop.h"

namespace corvid {
namespace {

using Lines = std::vector<std::string>;

class TargetSearchTest : public ::testing::Test {
 protected:
  WindowHandle Find(uint32_t pid, const std::string& cls, const std::string& caption) {
    return search.FindTargetWindowOnce(pid, cls, "C:\\x\\prog.exe", caption);
  }
  std::array<AppEntry, kAppCount> apps;
  FakeDesktop desktop;
  ManualClock clock;
  LineView trace;
  TextField field;
  TargetWindowSearch search{apps, desktop, clock, trace, field};
};

TEST_F(TargetSearchTest, ClassIgnoresCaseAndAfxNamesCompareTheirFirst32Characters) {
  const uint32_t pid = desktop.AddProcess("prog.exe");
  const std::string afx = "Afx:00400000:b:00010003:00000006";  // 32 characters
  const WindowHandle w = desktop.AddWindow(pid, "Main", afx + ":0A2F0123");
  EXPECT_EQ(Find(pid, afx + ":FFFFFFFF", ""), w);
  EXPECT_EQ(Find(pid, "Bfx" + afx.substr(3) + ":FFFFFFFF", ""), 0u);
  EXPECT_EQ(Find(pid, "AFX" + afx.substr(3) + ":0a2f0123", ""), w);  // whole, without case
  // Captions keep their case.
  desktop.AddWindow(pid, "notes - editor", "Edit");
  EXPECT_EQ(Find(pid, "", "Editor"), 0u);
  EXPECT_NE(Find(pid, "", "editor"), 0u);
}

TEST_F(TargetSearchTest, LowestMatchWinsButProcessAloneTakesTheTopTitledWindow) {
  const uint32_t pid = desktop.AddProcess("prog.exe");
  const uint32_t other = desktop.AddProcess("other.exe");
  desktop.AddWindow(other, "Doc", "Frame");
  desktop.AddWindow(pid, "", "Frame");  // untitled: never a candidate
  const WindowHandle top = desktop.AddWindow(pid, "Doc 1", "Frame");
  const WindowHandle low = desktop.AddWindow(pid, "Doc 2", "Frame");
  EXPECT_EQ(Find(pid, "frame", ""), low);
  EXPECT_EQ(Find(pid, "", "Doc"), low);
  EXPECT_EQ(Find(pid, "", ""), top);
  EXPECT_EQ(Find(0, "", ""), 0u);  // a program not running has no window
}

TEST_F(TargetSearchTest, DisabledITunesWindowIsPassedOverWhenClassAndCaptionAreGiven) {
  const uint32_t pid = desktop.AddProcess("iTunes.exe");
  const WindowHandle enabled = desktop.AddWindow(pid, "iTunes", "iTunes");
  desktop.AddWindow(pid, "iTunes", "iTunes", 0x08000000);
  EXPECT_EQ(Find(pid, "iTunes", "iTunes"), enabled);
  EXPECT_NE(Find(pid, "iTunes", ""), enabled);  // class alone takes the lowest
}

TEST_F(TargetSearchTest, ProcessSearchTakesTheLastInTheSnapshotAndTheBrowserFrame) {
  apps[0].AppProg = "C:\\Tools\\Prog.EXE";
  apps[1].AppProg = "C:\\Program Files\\Internet Explorer\\iexplore.exe";
  apps[2].AppProg = "";  // unregistered
  desktop.AddProcess("prog.exe");
  const uint32_t second = desktop.AddProcess("PROG.exe");
  const uint32_t frame = desktop.AddProcess("explorer.exe");
  const uint32_t tab = desktop.AddProcess("iexplore.exe", frame);
  desktop.AddProcess("");
  for (const char* version : {"8.0.7600", "9.11.9600"}) {
    desktop.browserVersion = version;
    EXPECT_TRUE(search.RefreshAppProcessIds());
    EXPECT_EQ(apps[0].ProcessId, second);
    EXPECT_EQ(apps[1].ProcessId, frame) << version;
    EXPECT_EQ(apps[2].ProcessId, 0u);
  }
  desktop.browserVersion = "7.0.6000";
  search.RefreshAppProcessIds();
  EXPECT_EQ(apps[1].ProcessId, tab);
  desktop.noSnapshot = true;
  search.RefreshAppProcessIds();
  EXPECT_EQ(apps[0].ProcessId, 0u);
}

TEST_F(TargetSearchTest, TraceWritesTheHeaderOncePerProcessAndTheMatch) {
  desktop.nextPid = 0xBEEF;
  const uint32_t pid = desktop.AddProcess("prog.exe");
  desktop.AddWindow(pid, "First", "Frame");
  const WindowHandle w = desktop.AddWindow(pid, "Second", "Frame");
  search.LastLoggedPid = 0;
  Find(pid, "Frame", "");
  ExpectSameLines(Joined(trace.Lines()), Expected("target_trace.txt"));
  EXPECT_EQ(field.Text(), "CLASS-00000011");
  EXPECT_EQ(w, 0x11u);
  trace.Clear();
  Find(pid, "", "");  // the same process: no header
  EXPECT_EQ(trace.Lines().front(), "       Cap   >First");
  EXPECT_EQ(trace.Lines().at(3), "    ■PID searched    >>>>>>>>>>00000010");
  EXPECT_EQ(field.Text(), "PID-00000010");
  Find(pid, "Frame", "Sec");
  EXPECT_EQ(field.Text(), "BOTH-00000011");
  Find(pid, "", "Fir");
  EXPECT_EQ(field.Text(), "CAPTION-00000010");
}

TEST_F(TargetSearchTest, RetriesTwentyPassesAndWaitsForABusyProgramOnlyOnce) {
  apps[3].AppProg = "C:\\x\\prog.exe";
  apps[3].Class = "Frame";
  apps[3].ProcessId = desktop.AddProcess("prog.exe");
  desktop.busyForever.insert(apps[3].ProcessId);
  EXPECT_EQ(search.FindTargetWindow(3), 0u);
  EXPECT_EQ(desktop.passes, 20);
  // 5 s of waiting for input, once; then 20 pauses of 10 ms.
  EXPECT_EQ(clock.NowMs(), 5000u + 20 * 10);
  search.ForgetSlowProcess();
  desktop.busyForever.clear();
  desktop.AddWindow(apps[3].ProcessId, "Main", "Frame");
  const uint64_t before = clock.NowMs();
  EXPECT_NE(search.FindTargetWindow(3), 0u);
  EXPECT_EQ(desktop.passes, 21);
  EXPECT_EQ(clock.NowMs() - before, 10u);  // found: the pause, then no more passes
}

}  // namespace
}  // namespace corvid
