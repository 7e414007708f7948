#include "control/target_search.h"

#include <gtest/gtest.h>

#include "base/manual_clock.h"
#include "fakes/expected_text.h"
#include "fakes/fake_desktop.h"

namespace corvid {
namespace {

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

TEST_F(TargetSearchTest, LowestMatchWinsButProcessAloneTakesTheTopTitledWindow) {
  const uint32_t pid = desktop.AddProcess("prog.exe"), tunes = desktop.AddProcess("iTunes.exe");
  desktop.AddWindow(desktop.AddProcess("other.exe"), "Doc", "Frame");
  desktop.AddWindow(pid, "", "Frame");  // untitled: never a candidate
  const WindowHandle top = desktop.AddWindow(pid, "Doc 1", "Frame");
  const WindowHandle low = desktop.AddWindow(pid, "Doc 2 - editor", "Frame");
  EXPECT_EQ(Find(0, "", ""), 0u);  // a program not running has no window
  // Captions keep their case.
  for (auto [cls, caption, want] :
       {std::tuple{"frame", "", low}, {"", "Doc", low}, {"", "", top}, {"", "Editor", 0u}, {"", "editor", low}})
    EXPECT_EQ(Find(pid, cls, caption), want) << cls << "|" << caption;
  // "Afx:" class names compare their first 32 characters, or whole without case.
  const std::string afx = "Afx:00400000:b:00010003:00000006";
  const WindowHandle mfc = desktop.AddWindow(pid, "Main", afx + ":0A2F0123");
  EXPECT_EQ(Find(pid, afx + ":FFFFFFFF", ""), mfc);
  EXPECT_EQ(Find(pid, "Bfx" + afx.substr(3) + ":FFFFFFFF", ""), 0u);
  EXPECT_EQ(Find(pid, "AFX" + afx.substr(3) + ":0a2f0123", ""), mfc);
  // A disabled iTunes window is passed over, but not by class alone.
  const WindowHandle enabled = desktop.AddWindow(tunes, "iTunes", "iTunes");
  desktop.AddWindow(tunes, "iTunes", "iTunes", 0x08000000);
  EXPECT_EQ(Find(tunes, "iTunes", "iTunes"), enabled);
  EXPECT_NE(Find(tunes, "iTunes", ""), enabled);
}

TEST_F(TargetSearchTest, ProcessSearchTakesTheLastInTheSnapshotAndTheBrowserFrame) {
  apps[0].AppProg = "C:\\Tools\\Prog.EXE";
  apps[1].AppProg = "C:\\Program Files\\Internet Explorer\\iexplore.exe";
  desktop.AddProcess("prog.exe");
  const uint32_t second = desktop.AddProcess("PROG.exe");
  const uint32_t frame = desktop.AddProcess("explorer.exe");
  const uint32_t tab = desktop.AddProcess("iexplore.exe", frame);
  desktop.AddProcess("");  // matches no entry without a program
  for (auto [version, ie] : {std::pair{"7.0.6000", tab}, {"8.0.7600", frame}, {"9.11.9600", frame}}) {
    desktop.browserVersion = version;
    EXPECT_TRUE(search.RefreshAppProcessIds());
    EXPECT_EQ(std::tuple(apps[0].ProcessId, apps[1].ProcessId, apps[2].ProcessId), std::tuple(second, ie, 0u))
        << version;
  }
  desktop.noSnapshot = true;
  search.RefreshAppProcessIds();
  EXPECT_EQ(apps[0].ProcessId, 0u);
}

TEST_F(TargetSearchTest, TraceWritesTheHeaderOncePerProcessAndTheMatch) {
  desktop.nextPid = 0xBEEF;
  const uint32_t pid = desktop.AddProcess("prog.exe");
  desktop.AddWindow(pid, "First", "Frame");
  desktop.AddWindow(pid, "Second", "Frame");
  std::vector<std::string> fields;
  for (auto [cls, caption] : {std::pair{"Frame", ""}, {"", ""}, {"Frame", "Sec"}, {"", "Fir"}}) {
    Find(pid, cls, caption);
    fields.push_back(field.Text());
  }
  ExpectSameLines(Joined(trace.Lines()), Expected("target_trace.txt") + Expected("target_trace_again.txt"));
  EXPECT_EQ(fields, (std::vector<std::string>{"CLASS-00000011", "PID-00000010", "BOTH-00000011", "CAPTION-00000010"}));
}

TEST_F(TargetSearchTest, RetriesTwentyPassesAndWaitsForABusyProgramOnlyOnce) {
  apps[3].AppProg = "C:\\x\\prog.exe";
  apps[3].Class = "Frame";
  apps[3].ProcessId = desktop.AddProcess("prog.exe");
  desktop.busyForever.insert(apps[3].ProcessId);
  EXPECT_EQ(search.FindTargetWindow(3), 0u);
  EXPECT_EQ(desktop.passes, 20);
  EXPECT_EQ(clock.NowMs(), 5000u + 20 * 10);  // 5 s of waiting for input, once; 20 pauses
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
