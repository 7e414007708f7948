// One pass of the target window search over 300 top-level windows of a fake
// desktop, with the debug trace attached (its ring of lines and a watcher of
// each line, as the debug window will be): the time per pass and the heap
// allocations per pass. The program's own process has 12 of the windows, 8
// of them titled and 4 of those of its class, so every pass writes 32 trace
// lines; a pass for a process without windows writes none.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "alloc_counter.h"
#include "base/manual_clock.h"
#include "control/target_search.h"
#include "fakes/fake_desktop.h"

using namespace corvid;

namespace {

struct Rig {
  std::array<AppEntry, kAppCount> apps;
  FakeDesktop desktop;
  ManualClock clock;
  LineView trace;
  TextField field;
  TargetWindowSearch search{apps, desktop, clock, trace, field};
  uint32_t pid = 0;
  size_t lines = 0;
  Rig() {
    trace.onLine = [this](std::string_view) { ++lines; };
    for (int p = 0; p < 30; ++p) desktop.AddProcess("program" + std::to_string(p) + ".exe");
    pid = desktop.AddProcess("player.exe");
    for (int w = 0; w < 300; ++w) {
      const bool mine = w % 25 == 7;
      desktop.AddWindow(mine ? pid : desktop.processes[static_cast<size_t>(w % 30)].pid,
                        w % 3 ? "Window number " + std::to_string(w) : "",
                        mine && w % 2 ? "PlayerFrame" : "SomeOtherWindowClass" + std::to_string(w));
    }
  }
};

void BM_WindowPass(benchmark::State& state) {
  Rig rig;
  const bool traced = state.range(0) != 0;
  const uint32_t pid = traced ? rig.pid : 999999;  // a process without windows writes nothing
  rig.search.FindTargetWindowOnce(pid, "PlayerFrame", "C:\\Player\\player.exe", "");  // warm the ring
  const uint64_t before = bench::AllocationCount();
  const size_t linesBefore = rig.lines;
  uint64_t passes = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(rig.search.FindTargetWindowOnce(pid, "PlayerFrame", "C:\\Player\\player.exe", ""));
    ++passes;
  }
  state.counters["allocs_per_pass"] = double(bench::AllocationCount() - before) / double(passes);
  state.counters["trace_lines_per_pass"] = double(rig.lines - linesBefore) / double(passes);
}
BENCHMARK(BM_WindowPass)->Arg(1)->Arg(0)->ArgName("traced")->Repetitions(5)->ReportAggregatesOnly(true)
    ->DisplayAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("(time above is one pass over 300 top-level windows; a search makes up to 20 passes with 10 ms "
              "pauses, a start up to 60 such searches)\n");
  return 0;
}
