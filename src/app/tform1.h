#pragma once
// The main resident window: it holds the run-time state (the settings, both
// key map tables and the App entries, the active map and the chord state)
// and the handlers of the remote's reports and the timers. Its window is the
// shell's; this is the part the core can test.
#include <cstdint>

#include "actions/action_engine.h"
#include "model/config_data.h"
#include "remote/device_connection.h"

namespace corvid {

class TForm1 : public ConfigData, public ActionEngine, public RemoteListener {
 public:
  explicit TForm1(const ActionPorts& ports) : ActionEngine(static_cast<ConfigData&>(*this), ports) {}

  void RemoteReport(uint8_t reportId, const uint8_t* data, size_t size) override {
    JvHidDeviceController1DeviceData(reportId, data, size);
  }
  void RemoteGone() override { ReleaseEverything(); }
  void RemoteHeldChanged(bool held) override {
    RemoteHeld = held;
    Decoder().BatteryRead = false;  // another remote, or none: its level is not known yet
  }
};

}  // namespace corvid
