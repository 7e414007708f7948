#pragma once
// Holds the remote while it is present: takes the first matching device at
// every device change, lets go of it when it is gone, and hands its reports
// to the main window's decoder.
#include <cstdint>

#include "remote/hid_layer.h"

namespace corvid {

class TForm1;

inline constexpr uint16_t kRemoteVendorId = 0x054C;
inline constexpr uint16_t kRemoteProductId = 0x0306;

class DeviceConnection : public HidEvents {
 public:
  // Registers itself as the events of `hid` until destroyed.
  DeviceConnection(TForm1& form, HidDeviceController& hid);
  ~DeviceConnection() override;
  DeviceConnection(const DeviceConnection&) = delete;
  DeviceConnection& operator=(const DeviceConnection&) = delete;

  void JvHidDeviceController1DeviceChange() override;
  void JvHidDeviceController1DeviceData(HidDevice& device, uint8_t reportId, const uint8_t* data,
                                       size_t size) override;

  HidDevice* RemoteDevice = nullptr;

 private:
  TForm1& form_;
  HidDeviceController& hid_;
};

}  // namespace corvid
