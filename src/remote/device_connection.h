#pragma once
// Holds the remote while it is present: takes the first matching device at
// every device change, lets go of it when it is gone, and hands its reports
// to the main window's decoder.
#include <cstdint>

#include "base/text_view.h"
#include "remote/hid_layer.h"

namespace corvid {

// Who the remote's reports and its coming and going are for.
class RemoteListener {
 public:
  virtual ~RemoteListener() = default;
  virtual void RemoteReport(uint8_t reportId, const uint8_t* data, size_t size) = 0;
  // The held remote is gone: nothing it pressed may stay down.
  virtual void RemoteGone() = 0;
  virtual void RemoteHeldChanged(bool held) = 0;
};

inline constexpr uint16_t kRemoteVendorId = 0x054C;
inline constexpr uint16_t kRemoteProductId = 0x0306;

class DeviceConnection : public HidEvents {
 public:
  // Registers itself as the events of `hid` until destroyed; connection and
  // disconnection are told in `receiveLog`.
  DeviceConnection(HidDeviceController& hid, RemoteListener& listener, TextView& receiveLog);
  ~DeviceConnection() override;
  DeviceConnection(const DeviceConnection&) = delete;
  DeviceConnection& operator=(const DeviceConnection&) = delete;

  void OnDevicesChanged() override;
  void OnReport(HidDevice& device, uint8_t reportId, const uint8_t* data,
                                       size_t size) override;

  // The program is closing: a report still on its way presses nothing.
  void Close() { closed_ = true; }

  HidDevice* RemoteDevice = nullptr;

 private:
  HidDeviceController& hid_;
  RemoteListener& listener_;
  TextView& log_;
  bool closed_ = false;
};

}  // namespace corvid
