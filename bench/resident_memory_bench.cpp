// The memory a resident Corvid holds over an hour of use: every minute a
// held arrow key repeating for 40 s (two monitor lines a repeat), ten short
// presses, and ten seconds of cursor motion with the code monitor open. The
// receive log, the monitor and the debug trace keep their last lines only,
// so what is held stays flat once they are full.
#include <malloc.h>

#include <cstdio>

#include "fakes/headless_app.h"

using namespace corvid;

namespace {

// Bytes handed out by malloc, small blocks and mapped ones.
size_t HeapInUse() {
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

void OneMinute(HeadlessApp& a) {
  a.Report(0x54, 0x10);  // UP held: 500 ms delay, then a repeat every 25 ms
  a.p.clock.Advance(40'000);
  a.Release();
  for (int i = 0; i < 10; ++i) {
    a.Report(0x0B, 0, 0, 0x08);  // ENTER
    a.p.clock.Advance(100);
    a.Release();
    a.p.clock.Advance(900);
  }
  a.engine.SwitchToMouseMode();
  a.Report(0x55, 0x20);  // RIGHT held: a cursor step every 10 ms
  a.p.clock.Advance(10'000);
  a.Release();
  a.engine.SwitchToKeyboardMode();
  // The fake desktop's own records are not Corvid's memory.
  a.p.cursors.log.clear();
  a.p.queue.log.clear();
}

}  // namespace

int main() {
  HeadlessApp a;
  a.p.input.keep = false;
  a.app.Osd().onShow = nullptr;
  a.app.MonitorLines().SetVisible(true);  // the cursor lines are written too
  uint64_t written = 0;  // every line the monitor was given
  a.app.MonitorLines().onLine = [&written](std::string_view) { ++written; };
  const size_t start = HeapInUse();
  std::printf("heap in use after start-up: %zu KiB\n", start / 1024);
  for (int minute = 1; minute <= 60; ++minute) {
    OneMinute(a);
    if (minute == 1 || minute == 10 || minute == 30 || minute == 60) {
      const size_t views = a.app.ReceiveLog().MemoryBytes() + a.app.MonitorLines().MemoryBytes() +
                           a.app.DebugLog().MemoryBytes();
      std::printf("after %2d min: heap %zu KiB (+%zd KiB since start-up), views %zu KiB, monitor %zu of %llu lines\n",
                  minute, HeapInUse() / 1024, (static_cast<ptrdiff_t>(HeapInUse()) - static_cast<ptrdiff_t>(start)) / 1024,
                  views / 1024, a.app.MonitorLines().Size(), static_cast<unsigned long long>(written));
    }
  }
  std::printf("(goal: flat from the first minutes on; each view keeps its last %zu lines)\n",
              LineView::kDefaultCapacity);
  return 0;
}
