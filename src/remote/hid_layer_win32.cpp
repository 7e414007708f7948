#include "remote/hid_layer_win32.h"

#include <windows.h>
#include <dbt.h>
#include <winternl.h>
#include <hidusage.h>
#include <hidpi.h>
#include <hidsdi.h>
#include <setupapi.h>

#include <algorithm>
#include <array>

#include "base/handles_win32.h"
#include "base/system_library_win32.h"
#include "base/text_win32.h"

namespace corvid {
namespace {

constexpr UINT kFirstChange = WM_APP + 40;
constexpr UINT kReportRead = WM_APP + 41;
constexpr UINT kReaderEnded = WM_APP + 42;
// How long a reading thread may take to stop before it is left to itself.
constexpr DWORD kStopWaitMs = 2000;
constexpr const wchar_t* kWindowClass = L"CorvidHidLayer";
constexpr NTSTATUS kHidpSuccess = 0x00110000;

}  // namespace

// The library functions, resolved at run time: a system without them has no
// devices rather than a Corvid that does not start.
struct HidControllerWin32::Api {
  HMODULE hid = nullptr, setup = nullptr;
  void(__stdcall* GetHidGuid)(GUID*) = nullptr;
  BOOLEAN(__stdcall* GetAttributes)(HANDLE, PHIDD_ATTRIBUTES) = nullptr;
  BOOLEAN(__stdcall* GetPreparsedData)(HANDLE, PHIDP_PREPARSED_DATA*) = nullptr;
  BOOLEAN(__stdcall* FreePreparsedData)(PHIDP_PREPARSED_DATA) = nullptr;
  NTSTATUS(__stdcall* GetCaps)(PHIDP_PREPARSED_DATA, PHIDP_CAPS) = nullptr;
  HDEVINFO(WINAPI* GetClassDevs)(const GUID*, PCWSTR, HWND, DWORD) = nullptr;
  BOOL(WINAPI* EnumInterfaces)(HDEVINFO, PSP_DEVINFO_DATA, const GUID*, DWORD,
                               PSP_DEVICE_INTERFACE_DATA) = nullptr;
  BOOL(WINAPI* GetInterfaceDetail)(HDEVINFO, PSP_DEVICE_INTERFACE_DATA, PSP_DEVICE_INTERFACE_DETAIL_DATA_W,
                                   DWORD, PDWORD, PSP_DEVINFO_DATA) = nullptr;
  BOOL(WINAPI* DestroyList)(HDEVINFO) = nullptr;

  template <typename F>
  static void Resolve(HMODULE m, const char* name, F& f) {
    f = m ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
  }
  Api() {
    hid = LoadSystemLibrary(L"hid.dll");
    setup = LoadSystemLibrary(L"setupapi.dll");
    Resolve(hid, "HidD_GetHidGuid", GetHidGuid);
    Resolve(hid, "HidD_GetAttributes", GetAttributes);
    Resolve(hid, "HidD_GetPreparsedData", GetPreparsedData);
    Resolve(hid, "HidD_FreePreparsedData", FreePreparsedData);
    Resolve(hid, "HidP_GetCaps", GetCaps);
    Resolve(setup, "SetupDiGetClassDevsW", GetClassDevs);
    Resolve(setup, "SetupDiEnumDeviceInterfaces", EnumInterfaces);
    Resolve(setup, "SetupDiGetDeviceInterfaceDetailW", GetInterfaceDetail);
    Resolve(setup, "SetupDiDestroyDeviceInfoList", DestroyList);
  }
  ~Api() {
    if (hid) FreeLibrary(hid);
    if (setup) FreeLibrary(setup);
  }
  bool Complete() const {
    return GetHidGuid && GetAttributes && GetPreparsedData && FreePreparsedData && GetCaps &&
           GetClassDevs && EnumInterfaces && GetInterfaceDetail && DestroyList;
  }
};

// One held device that could be opened for reading. The thread never waits
// on the user-interface thread except through `handled`, which the stop
// event also ends, so stopping it from that thread cannot deadlock.
struct HidControllerWin32::Reader {
  const HidDevice* device = nullptr;
  uint32_t serial = 0;
  HWND window = nullptr;
  UniqueHandle file, stop, handled, readDone, thread;
  std::vector<uint8_t> buffer;
  DWORD got = 0;

  static DWORD WINAPI Run(void* self) {
    auto* r = static_cast<Reader*>(self);
    // A read that fails, or a report that cannot be handed over, ends the
    // reading: the remote counts as gone, so nothing it pressed stays down.
    if (!r->Loop()) r->TellEnded();
    return 0;
  }
  // False when the reading failed; true when it was told to stop.
  bool Loop() {
    for (;;) {
      OVERLAPPED ov{};
      ov.hEvent = readDone.Get();
      ResetEvent(readDone.Get());
      if (!ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), nullptr, &ov) &&
          GetLastError() != ERROR_IO_PENDING)
        return false;
      HANDLE waitRead[2] = {stop.Get(), readDone.Get()};
      if (WaitForMultipleObjects(2, waitRead, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
        CancelIo(file.Get());
        DWORD ignored = 0;
        GetOverlappedResult(file.Get(), &ov, &ignored, TRUE);
        return true;
      }
      DWORD n = 0;
      if (!GetOverlappedResult(file.Get(), &ov, &n, FALSE)) return false;
      if (n == 0) continue;
      got = n;
      if (!PostMessageW(window, kReportRead, serial, 0)) return false;
      HANDLE waitHandled[2] = {stop.Get(), handled.Get()};
      if (WaitForMultipleObjects(2, waitHandled, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return true;
    }
  }
  void TellEnded() {
    // A full queue refuses posts for a moment; the stop event ends the wait.
    for (int tries = 0; tries < 50; ++tries) {
      if (WaitForSingleObject(stop.Get(), 0) == WAIT_OBJECT_0) return;
      if (PostMessageW(window, kReaderEnded, serial, 0)) return;
      Sleep(20);
    }
  }
  // True when the thread has ended; a thread that does not end in time is
  // left to itself with what it uses.
  bool Stop() {
    if (!thread) return true;
    SetEvent(stop.Get());
    if (WaitForSingleObject(thread.Get(), kStopWaitMs) == WAIT_TIMEOUT) {
      CancelIoEx(file.Get(), nullptr);
      if (WaitForSingleObject(thread.Get(), kStopWaitMs) == WAIT_TIMEOUT) return false;
    }
    thread.Reset();
    return true;
  }
};

HidControllerWin32::HidControllerWin32() : api_(std::make_unique<Api>()) {}

HidControllerWin32::~HidControllerWin32() {
  for (auto& r : readers_)
    if (!r->Stop()) r.release();  // still running: its memory stays theirs
  readers_.clear();
}

bool HidControllerWin32::LibrariesLoaded() const { return api_->Complete(); }

bool HidControllerWin32::Create() {
  RegisterWindowClass(kWindowClass);
  // A hidden top-level window: message-only windows miss the broadcast
  // device-change notices.
  if (!CreateOf(kWindowClass, 0, L"", WS_POPUP, 0, 0, 0, 0, nullptr)) return false;
  PostMessageW(Handle(), kFirstChange, 0, 0);
  return true;
}

intptr_t HidControllerWin32::OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) {
  switch (msg) {
    case kFirstChange:
      DevicesChanged(true);
      return 0;
    case WM_DEVICECHANGE:
      if (wp == DBT_DEVNODES_CHANGED) DevicesChanged(false);
      return TRUE;
    case kReportRead:
      Deliver(static_cast<uint32_t>(wp));
      return 0;
    case kReaderEnded:
      ReaderEnded(static_cast<uint32_t>(wp));
      return 0;
  }
  return Default(msg, wp, lp);
}

std::vector<HidPresence> HidControllerWin32::Enumerate() {
  std::vector<HidPresence> out;
  if (!api_->Complete()) return out;
  GUID guid{};
  api_->GetHidGuid(&guid);
  HDEVINFO set = api_->GetClassDevs(&guid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (set == INVALID_HANDLE_VALUE) return out;
  std::vector<uint8_t> detail;
  for (DWORD i = 0;; ++i) {
    SP_DEVICE_INTERFACE_DATA iface{};
    iface.cbSize = sizeof iface;
    if (!api_->EnumInterfaces(set, nullptr, &guid, i, &iface)) break;
    DWORD need = 0;
    api_->GetInterfaceDetail(set, &iface, nullptr, 0, &need, nullptr);
    if (need < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) continue;
    detail.assign(need + sizeof(wchar_t), 0);
    auto* d = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(detail.data());
    d->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!api_->GetInterfaceDetail(set, &iface, d, need, nullptr, nullptr)) continue;
    const std::wstring widePath = d->DevicePath;
    HidPresence p;
    p.path = Narrow(widePath);
    auto known = attributes_.find(p.path);
    if (known == attributes_.end()) {
      // No access is enough for the attributes, and works for devices the
      // system holds exclusively (keyboards, mice).
      const UniqueHandle h(CreateFileW(widePath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
      if (!h) continue;
      HIDD_ATTRIBUTES a{};
      a.Size = sizeof a;
      if (!api_->GetAttributes(h.Get(), &a)) continue;
      known = attributes_.emplace(p.path, std::make_pair(a.VendorID, a.ProductID)).first;
    }
    p.vendorId = known->second.first;
    p.productId = known->second.second;
    out.push_back(std::move(p));
  }
  api_->DestroyList(set);
  return out;
}

void HidControllerWin32::DevicesChanged(bool always) {
  if (rebuilding_) return;  // not nested
  rebuilding_ = true;
  std::vector<HidDeviceList::Entry*> gone;
  const std::vector<HidPresence> present = Enumerate();
  const bool changed = list_.Rebuild(present, &gone);
  for (HidDeviceList::Entry* e : gone) {
    StopReader(e);
    attributes_.erase(e->path);
  }
  rebuilding_ = false;
  if ((changed || always) && events_) events_->OnDevicesChanged();
}

bool HidControllerWin32::CheckOutByID(HidDevice*& device, uint16_t vendorId, uint16_t productId) {
  HidDeviceList::Entry* e = list_.FirstAvailable(vendorId, productId);
  device = e;
  if (!e) return false;
  e->held = true;

  const std::wstring path = Widen(e->path);
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
  if (!file) return true;  // held, but without reports
  USHORT length = 0;
  PHIDP_PREPARSED_DATA pre = nullptr;
  if (api_->GetPreparsedData(file.Get(), &pre)) {
    HIDP_CAPS caps{};
    if (api_->GetCaps(pre, &caps) == kHidpSuccess) length = caps.InputReportByteLength;
    api_->FreePreparsedData(pre);
  }
  if (length == 0) return true;
  auto r = std::make_unique<Reader>();
  r->file = std::move(file);
  r->device = e;
  r->serial = nextSerial_++;
  r->window = Handle();
  r->buffer.assign(length, 0);
  r->stop.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  r->handled.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  r->readDone.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (r->stop && r->handled && r->readDone)
    r->thread.Reset(CreateThread(nullptr, 0, Reader::Run, r.get(), 0, nullptr));
  if (r->thread) readers_.push_back(std::move(r));
  return true;
}

void HidControllerWin32::StopReader(const HidDevice* device) {
  for (auto& r : readers_)
    if (r->device == device && !r->Stop()) r.release();  // still running: its memory stays theirs
  std::erase_if(readers_, [&](const std::unique_ptr<Reader>& r) { return !r || r->device == device; });
}

void HidControllerWin32::ReaderEnded(uint32_t serial) {
  for (auto& r : readers_) {
    if (r->serial != serial) continue;
    list_.ReadingFailed(r->device, events_);
    return;
  }
}

void HidControllerWin32::CheckIn(HidDevice*& device) {
  StopReader(device);
  list_.Release(device);
  device = nullptr;
}

void HidControllerWin32::Deliver(uint32_t serial) {
  auto it = std::find_if(readers_.begin(), readers_.end(),
                         [&](const std::unique_ptr<Reader>& r) { return r->serial == serial; });
  if (it == readers_.end()) return;  // checked in since the post
  Reader& r = **it;
  // The handler may check the device in (a nested message loop); it works on
  // a copy of the whole report, and the reader is looked up again before it
  // is released.
  const size_t n = std::min(static_cast<size_t>(r.got), r.buffer.size());
  delivered_.assign(r.buffer.begin(), r.buffer.begin() + static_cast<std::ptrdiff_t>(n));
  if (HidDeviceList::Entry* entry = list_.Find(r.device))
    HandOverReport(events_, *entry, delivered_.data(), delivered_.size());
  for (auto& still : readers_)
    if (still->serial == serial) SetEvent(still->handled.Get());
}

}  // namespace corvid
