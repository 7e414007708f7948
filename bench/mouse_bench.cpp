// One cursor step of the mouse mode as the cursorTimer timer makes it: the
// acceleration, the corrections, the smoothing and the one relative move,
// with the allocations it makes.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "alloc_counter.h"
#include "fakes/headless_app.h"

using namespace corvid;

namespace {

struct Rig : HeadlessApp {
  MouseMotion& motion = app.Mouse();
  int64_t moved = 0;
  explicit Rig(bool smooth, bool aspect) {
    p.input.keep = false;
    app.MonitorLines().SetCapacity(0);
    p.input.onEvent = [this](const InputEvent& e) { moved += e.dx; };
    data.settings.CurSmooth = smooth;
    data.settings.AdjustAspect = aspect;
    // Up and right held at high speed: the diagonal correction runs too.
    motion.SetMouseState(mouse::kUp | mouse::kRight | mouse::kHighSpeed, action::kMouseMove);
  }
  ~Rig() { p.input.onEvent = nullptr; }
};

void BM_CursorStep(benchmark::State& state) {
  Rig rig(state.range(0) != 0, state.range(1) != 0);
  for (int i = 0; i < 64; ++i) rig.motion.OnCursorStep();  // full speed, full window
  const uint64_t before = bench::AllocationCount();
  uint64_t steps = 0;
  for (auto _ : state) {
    rig.motion.OnCursorStep();
    ++steps;
  }
  benchmark::DoNotOptimize(rig.moved);
  state.counters["allocs_per_step"] = double(bench::AllocationCount() - before) / double(steps);
  state.SetItemsProcessed(static_cast<int64_t>(steps));
}
BENCHMARK(BM_CursorStep)
    ->ArgNames({"smooth", "aspect"})
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->DisplayAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("(time above is per cursor step; one step runs every 10 ms at the default CurRepeat)\n");
  return 0;
}
