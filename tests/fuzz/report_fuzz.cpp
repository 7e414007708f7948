// Arbitrary reports, in both modes, through decoding and dispatch; the first
// byte picks the report identifier and the mode, the rest is the data.
#include <cstddef>
#include <cstdint>

#include "app/corvid_app.h"
#include "app/headless_platform.h"

using namespace corvid;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static HeadlessPlatform* p = [] {
    auto* platform = new HeadlessPlatform;
    platform->input.keep = false;
    return platform;
  }();
  static CorvidApp* app = [] {
    auto* a = new CorvidApp(*p);
    a->StartUp();
    a->ReceiveLog().SetCapacity(0);
    a->CodeMonitor().SetCapacity(0);
    return a;
  }();
  TForm1& form = app->Form();
  p->boxes.shown.clear();
  p->power.log.clear();
  p->queue.log.clear();
  // Split the input into several reports at 0xFE 0xFE markers.
  size_t start = 0;
  for (size_t i = 0; i <= size; ++i) {
    if (i == size || (i + 1 < size && data[i] == 0xFE && data[i + 1] == 0xFE)) {
      if (i > start) {
        const uint8_t id = (data[start] & 0x80) ? data[start] : 1;
        form.JvHidDeviceController1DeviceData(id, data + start + 1, i - start - 1);
        p->clock.Advance(data[start] & 0x3F);
      }
      start = i + 2;
      ++i;
    }
  }
  return 0;
}
