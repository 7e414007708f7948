// The Win32 HID layer on a system without the remote: it loads its
// libraries, raises the first device change once the message loop runs (and
// not before), survives device-change notices, and finds no remote.
#include <windows.h>
#include <dbt.h>

#include "remote/device_connection.h"
#include "remote/hid_layer_win32.h"
#include "win32/wine_check_win32.h"

using namespace corvid;

namespace {

struct Recorder : HidEvents {
  void JvHidDeviceController1DeviceChange() override { ++changes; }
  void JvHidDeviceController1DeviceData(HidDevice&, uint8_t, const uint8_t*, size_t) override { ++reports; }
  int changes = 0, reports = 0;
};

}  // namespace

int main() {
  Recorder events;
  {
    HidControllerWin32 hid(GetModuleHandleW(nullptr));
    hid.SetEvents(&events);
    WCHECK(hid.LibrariesLoaded());
    WCHECK(hid.Create());
    WCHECK_EQ(events.changes, 0);  // only once the loop runs
    wine_check::Pump(200);
    WCHECK_EQ(events.changes, 1);

    HWND w = FindWindowW(L"CorvidHidLayer", nullptr);
    WCHECK(w != nullptr);
    SendMessageW(w, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    SendMessageW(w, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    WCHECK(events.changes <= 2);  // the same devices: no change, at most a first sight

    HidDevice* remote = reinterpret_cast<HidDevice*>(1);
    WCHECK(!hid.CheckOutByID(remote, kRemoteVendorId, kRemoteProductId));
    WCHECK(remote == nullptr);
    hid.CheckIn(remote);  // checking in none is harmless
    WCHECK_EQ(events.reports, 0);
  }
  WCHECK(FindWindowW(L"CorvidHidLayer", nullptr) == nullptr);
  return WineCheckResult("hid_layer");
}
