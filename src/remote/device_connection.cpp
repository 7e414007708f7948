#include "remote/device_connection.h"

#include "base/texts.h"

namespace corvid {

DeviceConnection::DeviceConnection(HidDeviceController& hid, RemoteListener& listener, TextView& receiveLog)
    : hid_(hid), listener_(listener), log_(receiveLog) {
  hid_.SetEvents(this);
}

DeviceConnection::~DeviceConnection() { hid_.SetEvents(nullptr); }

void DeviceConnection::OnDevicesChanged() {
  if (RemoteDevice && !RemoteDevice->PluggedIn()) {
    log_.Append(Text(TextId::RemoteGone));
    // A remote that dies with a button held would leave its keys and
    // modifiers down in the system; let go of them as a release would.
    listener_.RemoteGone();
    hid_.CheckIn(RemoteDevice);
    RemoteDevice = nullptr;
  }
  if (!RemoteDevice && hid_.CheckOutByID(RemoteDevice, kRemoteVendorId, kRemoteProductId))
    log_.Append(Text(TextId::RemoteFound));
  listener_.RemoteHeldChanged(RemoteDevice != nullptr);
}

void DeviceConnection::OnReport(HidDevice& device, uint8_t reportId,
                                                        const uint8_t* data, size_t size) {
  // Only the held remote speaks; a report still queued from a device that
  // was checked in meanwhile is dropped.
  if (&device != RemoteDevice || closed_) return;
  listener_.RemoteReport(reportId, data, size);
}

}  // namespace corvid
