#pragma once
// A HID layer whose devices a test plugs in and out by hand.
#include <string>
#include <vector>

#include "remote/hid_layer.h"

namespace corvid {

class FakeHidController : public HidDeviceController {
 public:
  void SetEvents(HidEvents* events) override { events_ = events; }
  bool CheckOutByID(HidDevice*& device, uint16_t vendorId, uint16_t productId) override {
    HidDeviceList::Entry* e = list.FirstAvailable(vendorId, productId);
    if (e) e->held = true;
    device = e;
    return e != nullptr;
  }
  void CheckIn(HidDevice*& device) override {
    if (list.Release(device)) ++checkIns;
    device = nullptr;
  }

  // The first device change, raised once the message loop runs.
  void Start() { events_->OnDevicesChanged(); }
  void Plug(const std::string& path, uint16_t vid, uint16_t pid) {
    present_.push_back({path, vid, pid});
    Changed();
  }
  void Unplug(const std::string& path) {
    std::erase_if(present_, [&](const HidPresence& p) { return p.path == path; });
    Changed();
  }
  // The device's reading thread ended on a failure: it counts as gone until it is seen again.
  void ReaderFailed(const std::string& path) { list.ReadingFailed(list.FindPath(path), events_); }
  // A report of the device at `path`, read only while it is held.
  bool Deliver(const std::string& path, const std::vector<uint8_t>& report) {
    HidDeviceList::Entry* e = list.FindPath(path);
    if (!e || !e->held) return false;
    return HandOverReport(events_, *e, report.data(), report.size());
  }

  HidDeviceList list;
  int checkIns = 0;

 private:
  void Changed() {
    if (list.Rebuild(present_) && events_) events_->OnDevicesChanged();
  }
  std::vector<HidPresence> present_;
  HidEvents* events_ = nullptr;
};

}  // namespace corvid
