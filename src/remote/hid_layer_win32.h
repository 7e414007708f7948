#pragma once
// The HID layer on Windows: the HID and setup libraries loaded at run time,
// a hidden window for the device-change notices, and one reading thread per
// held device that hands its reports to the user-interface thread.
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/window_win32.h"
#include "remote/hid_layer.h"

namespace corvid {

class HidControllerWin32 : public HidDeviceController, private Win32Window {
 public:
  HidControllerWin32();
  ~HidControllerWin32() override;
  HidControllerWin32(const HidControllerWin32&) = delete;
  HidControllerWin32& operator=(const HidControllerWin32&) = delete;

  // Creates the hidden window and posts the first device change, which is
  // raised once the message loop runs. False when the window cannot be made.
  bool Create();

  void SetEvents(HidEvents* events) override { events_ = events; }
  bool CheckOutByID(HidDevice*& device, uint16_t vendorId, uint16_t productId) override;
  void CheckIn(HidDevice*& device) override;

  // Whether the HID and setup libraries could be loaded.
  bool LibrariesLoaded() const;

 private:
  struct Api;
  struct Reader;
  intptr_t OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) override;
  void DevicesChanged(bool always);
  std::vector<HidPresence> Enumerate();
  void Deliver(uint32_t serial);
  void ReaderEnded(uint32_t serial);
  void StopReader(const HidDevice* device);

  HidEvents* events_ = nullptr;
  std::unique_ptr<Api> api_;
  HidDeviceList list_;
  bool rebuilding_ = false;
  // Attributes of paths already seen, so a rebuild opens only new devices.
  std::unordered_map<std::string, std::pair<uint16_t, uint16_t>> attributes_;
  std::vector<std::unique_ptr<Reader>> readers_;
  uint32_t nextSerial_ = 1;
  std::vector<uint8_t> delivered_;  // the report being handled, reused
};

}  // namespace corvid
