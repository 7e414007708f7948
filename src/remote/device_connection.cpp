#include "remote/device_connection.h"

#include "app/tform1.h"

namespace corvid {

DeviceConnection::DeviceConnection(TForm1& form, HidDeviceController& hid) : form_(form), hid_(hid) {
  hid_.SetEvents(this);
}

DeviceConnection::~DeviceConnection() { hid_.SetEvents(nullptr); }

void DeviceConnection::JvHidDeviceController1DeviceChange() {
  if (RemoteDevice && !RemoteDevice->PluggedIn()) {
    form_.Platform().receiveLog.Append("SONY BD-Controller >>接続が解除されています。");
    // A remote that dies with a button held would leave its keys and
    // modifiers down in the system; let go of them as a release would.
    form_.ReleaseEverything();
    hid_.CheckIn(RemoteDevice);
    RemoteDevice = nullptr;
  }
  if (!RemoteDevice && hid_.CheckOutByID(RemoteDevice, kRemoteVendorId, kRemoteProductId))
    form_.Platform().receiveLog.Append("SONY BD-Controller >>デバイス登録が確認されました。");
  form_.RemoteHeld = RemoteDevice != nullptr;
}

void DeviceConnection::JvHidDeviceController1DeviceData(HidDevice& device, uint8_t reportId,
                                                        const uint8_t* data, size_t size) {
  // Only the held remote speaks; a report still queued from a device that
  // was checked in meanwhile is dropped.
  if (&device != RemoteDevice) return;
  form_.JvHidDeviceController1DeviceData(reportId, data, size);
}

}  // namespace corvid
