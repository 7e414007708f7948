#include "fakes/fake_hid.h"

#include <algorithm>

namespace corvid {

bool FakeHidController::CheckOutByID(HidDevice*& device, uint16_t vendorId, uint16_t productId) {
  HidDeviceList::Entry* e = list.FirstAvailable(vendorId, productId);
  if (e) e->held = true;
  device = e;
  return e != nullptr;
}

void FakeHidController::CheckIn(HidDevice*& device) {
  if (list.Release(device)) ++checkIns;
  device = nullptr;
}

void FakeHidController::Plug(const std::string& path, uint16_t vid, uint16_t pid, bool readable) {
  present_.push_back({path, vid, pid});
  if (!readable) unreadable.push_back(path);
  Changed();
}

void FakeHidController::Unplug(const std::string& path) {
  std::erase_if(present_, [&](const HidPresence& p) { return p.path == path; });
  Changed();
}

void FakeHidController::ReaderFailed(const std::string& path) {
  if (HidDeviceList::Entry* e = list.FindPath(path)) {
    e->pluggedIn = false;
    if (events_) events_->JvHidDeviceController1DeviceChange();
  }
}

void FakeHidController::Changed() {
  if (list.Rebuild(present_) && events_) events_->JvHidDeviceController1DeviceChange();
}

bool FakeHidController::Deliver(const std::string& path, const std::vector<uint8_t>& report) {
  HidDeviceList::Entry* e = list.FindPath(path);
  if (!e || !e->held || report.empty() || !events_) return false;
  if (std::find(unreadable.begin(), unreadable.end(), path) != unreadable.end()) return false;
  events_->JvHidDeviceController1DeviceData(*e, report[0], report.data() + 1, report.size() - 1);
  return true;
}

}  // namespace corvid
