#pragma once
// A HID layer whose devices a test plugs in and out by hand.
#include <string>
#include <vector>

#include "remote/hid_layer.h"

namespace corvid {

class FakeHidController : public HidDeviceController {
 public:
  void SetEvents(HidEvents* events) override { events_ = events; }
  bool CheckOutByID(HidDevice*& device, uint16_t vendorId, uint16_t productId) override;
  void CheckIn(HidDevice*& device) override;

  // The first device change, raised once the message loop runs.
  void Start() { if (events_) events_->OnDevicesChanged(); }
  void Plug(const std::string& path, uint16_t vid, uint16_t pid, bool readable = true);
  void Unplug(const std::string& path);
  // The reading thread of the device at `path` ended on a failure: the
  // device counts as gone until it is seen again.
  void ReaderFailed(const std::string& path);
  // A report from the device at `path`: delivered only while it is held and
  // was opened with read access. False when it was not delivered.
  bool Deliver(const std::string& path, const std::vector<uint8_t>& report);

  HidDeviceList list;
  std::vector<std::string> unreadable;
  int checkIns = 0;

 private:
  void Changed();
  std::vector<HidPresence> present_;
  HidEvents* events_ = nullptr;
};

}  // namespace corvid
