#pragma once
// The HID device layer the main window holds the remote through: a list of
// the present HID device interfaces, check-out and check-in of a device, and
// two events raised on the user-interface thread.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corvid {

class HidDevice {
 public:
  virtual ~HidDevice() = default;
  virtual uint16_t VendorID() const = 0;
  virtual uint16_t ProductID() const = 0;
  // True while the device is present.
  virtual bool PluggedIn() const = 0;
};

class HidEvents {
 public:
  virtual ~HidEvents() = default;
  // Once after the message loop starts, and after every change of the list.
  virtual void OnDevicesChanged() = 0;
  // A report of a held device; the reading thread waits for the return.
  virtual void OnReport(HidDevice& device, uint8_t reportId,
                                               const uint8_t* data, size_t size) = 0;
};

class HidDeviceController {
 public:
  virtual ~HidDeviceController() = default;
  virtual void SetEvents(HidEvents* events) = 0;
  // The first plugged-in, not yet held device with these IDs becomes held and
  // its reading starts; false with `device` set to none when there is none.
  virtual bool CheckOutByID(HidDevice*& device, uint16_t vendorId, uint16_t productId) = 0;
  // Stops the reading, closes the device, drops it if unplugged; `device`
  // becomes none.
  virtual void CheckIn(HidDevice*& device) = 0;
};

// Hands one report read from `device` to the data event: its first byte is
// the report identifier, the bytes after it the data. A read of no bytes
// hands nothing over; false then, or when no one listens.
bool HandOverReport(HidEvents* events, HidDevice& device, const uint8_t* report, size_t size);

// What an enumeration of the system found at one device interface path.
struct HidPresence {
  std::string path;
  uint16_t vendorId = 0;
  uint16_t productId = 0;
};

// The device list both the Win32 layer and the test layer keep: rebuilt from
// what an enumeration found, in enumeration order.
class HidDeviceList {
 public:
  struct Entry : HidDevice {
    std::string path;
    uint16_t vendorId = 0, productId = 0;
    bool pluggedIn = true;
    bool held = false;
    uint16_t VendorID() const override { return vendorId; }
    uint16_t ProductID() const override { return productId; }
    bool PluggedIn() const override { return pluggedIn; }
  };

  // Entries no longer present lose their plugged-in flag (held ones stay
  // until checked in, others are dropped); new paths are added. Returns true
  // when anything changed. `unplugged` receives the entries that just left.
  bool Rebuild(const std::vector<HidPresence>& present, std::vector<Entry*>* unplugged = nullptr);
  Entry* FirstAvailable(uint16_t vendorId, uint16_t productId);
  // Marks the entry as not held and drops it when it is unplugged; false when
  // it is not an entry of this list.
  bool Release(const HidDevice* device);
  Entry* Find(const HidDevice* device);
  // The reading of `device` ended on a failure: it counts as unplugged (the
  // next enumeration that sees it adds it afresh) and the change is raised.
  // False when it is not a present entry of this list.
  bool ReadingFailed(const HidDevice* device, HidEvents* events);
  Entry* FindPath(const std::string& path);

  const std::vector<std::unique_ptr<Entry>>& Entries() const { return entries_; }

 private:
  std::vector<std::unique_ptr<Entry>> entries_;
};

}  // namespace corvid
