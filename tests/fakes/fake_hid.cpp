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
  list.ReadingFailed(list.FindPath(path), events_);
}

void FakeHidController::Changed() {
  if (list.Rebuild(present_) && events_) events_->OnDevicesChanged();
}

bool FakeHidController::Deliver(const std::string& path, const std::vector<uint8_t>& report) {
  HidDeviceList::Entry* e = list.FindPath(path);
  if (!e || !e->held) return false;
  if (std::find(unreadable.begin(), unreadable.end(), path) != unreadable.end()) return false;
  return HandOverReport(events_, *e, report.data(), report.size());
}

}  // namespace corvid
