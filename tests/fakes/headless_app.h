#pragma once
// The program as Corvid.exe assembles it, headless, started as on a first run (factory settings).
#include <string>
#include <vector>

#include "app/corvid_app.h"
#include "app/headless_platform.h"
#include "fakes/fake_desktop.h"

namespace corvid {

using Lines = std::vector<std::string>;

class HeadlessApp {
 public:
  explicit HeadlessApp(bool start = true, HidDeviceController* hid = nullptr, FakeDesktop* desktop = nullptr)
      : app(Prepared(hid, desktop)) {
    app.Osd().onShow = [this](std::string_view text) { messages.emplace_back(text); };
    if (start) {
      app.StartUp();
      app.monitorClearTimer.Stop();  // its one clearing 5 s after the start is not what tests watch
      Forget();
    }
  }
  void Report(uint8_t code, uint8_t m0 = 0, uint8_t m1 = 0, uint8_t m2 = 0, uint8_t battery = 5) {
    const uint8_t data[] = {m0, m1, m2, code, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, battery};
    engine.RemoteReport(1, data, sizeof data);
  }
  void Release(uint8_t battery = 5) { Report(0xFF, 0, 0, 0, battery); }

  void Forget() {
    app.ReceiveLog().Clear();
    app.MonitorLines().Clear();
    messages.clear();
    p.input.events.clear();
  }
  Lines Log() const { return const_cast<CorvidApp&>(app).ReceiveLog().Lines(); }
  Lines Monitor() const { return const_cast<CorvidApp&>(app).MonitorLines().Lines(); }
  Lines Boxes() const {
    Lines out;
    for (const RecordingBoxes::Box& b : p.boxes.shown) out.push_back(b.text);
    return out;
  }

  HeadlessPlatform p;
  Lines messages;  // shown on the screen
  CorvidApp app;
  ConfigData& data = app.Data();
  ActionEngine& engine = app.Engine();

 private:
  HeadlessPlatform& Prepared(HidDeviceController* hid, FakeDesktop* desktop) {
    if (hid) p.hid = hid;
    if (desktop) {
      p.desktop = desktop;
      p.desktopControl = desktop;
    }
    return p;
  }
};

}  // namespace corvid
