#include "remote/hid_layer.h"

#include <algorithm>

namespace corvid {

bool HidDeviceList::Rebuild(const std::vector<HidPresence>& present, std::vector<Entry*>* unplugged) {
  bool changed = false;
  for (auto it = entries_.begin(); it != entries_.end();) {
    Entry& e = **it;
    const bool stillThere = std::any_of(present.begin(), present.end(),
                                        [&](const HidPresence& p) { return p.path == e.path; });
    if (stillThere || !e.pluggedIn) {
      ++it;
      continue;
    }
    changed = true;
    e.pluggedIn = false;
    if (unplugged) unplugged->push_back(&e);
    // A held device stays until its holder checks it in and sees it gone.
    if (e.held) ++it; else it = entries_.erase(it);
  }
  for (const HidPresence& p : present) {
    // A held entry that left and came back before its check-in is a new
    // device: the old entry goes with the check-in.
    const bool known = std::any_of(entries_.begin(), entries_.end(), [&](const auto& e) {
      return e->pluggedIn && e->path == p.path;
    });
    if (known) continue;
    auto e = std::make_unique<Entry>();
    e->path = p.path;
    e->vendorId = p.vendorId;
    e->productId = p.productId;
    entries_.push_back(std::move(e));
    changed = true;
  }
  return changed;
}

HidDeviceList::Entry* HidDeviceList::FirstAvailable(uint16_t vendorId, uint16_t productId) {
  for (auto& e : entries_)
    if (e->pluggedIn && !e->held && e->vendorId == vendorId && e->productId == productId) return e.get();
  return nullptr;
}

HidDeviceList::Entry* HidDeviceList::Find(const HidDevice* device) {
  for (auto& e : entries_)
    if (e.get() == device) return e.get();
  return nullptr;
}

bool HidDeviceList::ReadingFailed(const HidDevice* device, HidEvents* events) {
  Entry* e = Find(device);
  if (!e || !e->pluggedIn) return false;
  e->pluggedIn = false;
  if (events) events->OnDevicesChanged();
  return true;
}

bool HandOverReport(HidEvents* events, HidDevice& device, const uint8_t* report, size_t size) {
  if (!events || !report || size == 0) return false;
  events->OnReport(device, report[0], report + 1, size - 1);
  return true;
}

HidDeviceList::Entry* HidDeviceList::FindPath(const std::string& path) {
  for (auto& e : entries_)
    if (e->pluggedIn && e->path == path) return e.get();
  return nullptr;
}

bool HidDeviceList::Release(const HidDevice* device) {
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->get() != device) continue;
    (*it)->held = false;
    if (!(*it)->pluggedIn) entries_.erase(it);
    return true;
  }
  return false;
}

}  // namespace corvid
