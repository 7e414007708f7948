#include "remote/device_connection.h"

#include <gtest/gtest.h>

#include "fakes/headless_app.h"

namespace corvid {
namespace {

// A HID layer whose devices a test plugs in and out by hand.
class FakeHidController : public HidDeviceController {
 public:
  void SetEvents(HidEvents* events) override { events_ = events; }
  bool CheckOutByID(HidDevice*& device, uint16_t vendorId, uint16_t productId) override {
    HidDeviceList::Entry* e = list.FirstAvailable(vendorId, productId);
    if (e) e->held = true;
    device = e;
    return e != nullptr;
  }
  void CheckIn(HidDevice*& device) override {
    if (list.Release(device)) ++checkIns;
    device = nullptr;
  }

  void Plug(const std::string& path, uint16_t vid, uint16_t pid) {
    present_.push_back({path, vid, pid});
    Changed();
  }
  void Unplug(const std::string& path) {
    std::erase_if(present_, [&](const HidPresence& p) { return p.path == path; });
    Changed();
  }
  // The device's reading thread ended on a failure: it counts as gone until it is seen again.
  void ReaderFailed(const std::string& path) { list.ReadingFailed(list.FindPath(path), events_); }
  bool Deliver(const std::string& path, const std::vector<uint8_t>& report) {
    HidDeviceList::Entry* e = list.FindPath(path);
    if (!e || !e->held) return false;
    return HandOverReport(events_, *e, report.data(), report.size());
  }

  HidDeviceList list;
  int checkIns = 0;

 private:
  void Changed() {
    if (list.Rebuild(present_) && events_) events_->OnDevicesChanged();
  }
  std::vector<HidPresence> present_;
  HidEvents* events_ = nullptr;
};

const std::string kHeld = "SONY BD-Controller >>デバイス登録が確認されました。";
const std::string kGone = "SONY BD-Controller >>接続が解除されています。";

std::vector<uint8_t> RemoteReport(uint8_t code, uint8_t m0 = 0, uint8_t m1 = 0) {
  return {1, m0, m1, 0, code, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 5};
}

struct PluggableHid {  // outlives the program
  FakeHidController hid;
};

class DeviceConnectionTest : public ::testing::Test, public PluggableHid, public HeadlessApp {
 protected:
  DeviceConnectionTest() : HeadlessApp(true, &hid) {}
  void Plug(const std::string& path) { hid.Plug(path, kRemoteVendorId, kRemoteProductId); }
  HidDevice* Held() { return app.Remote().RemoteDevice; }
};

TEST_F(DeviceConnectionTest, TheFirstRemoteIsHeldASecondTakesOverOnlyWhenTheFirstGoesAndOthersAreSilent) {
  hid.Plug("mouse", 0x046D, 0xC077);
  hid.Plug("other-product", kRemoteVendorId, 0x0268);
  Plug("first");   // taken at the plug already (events were set)
  Plug("second");  // the first is held: nothing more
  EXPECT_EQ(Held(), hid.list.FindPath("first"));
  EXPECT_FALSE(hid.Deliver("second", RemoteReport(0x00)));  // not held: never read
  hid.Unplug("first");
  EXPECT_EQ(Log(), (Lines{kHeld, kGone, kHeld}));                // both in the same change
  EXPECT_EQ(hid.list.FindPath("first"), nullptr);                // checked in and dropped
  EXPECT_TRUE(hid.Deliver("second", RemoteReport(0x54, 0x10)));  // held now
  hid.Unplug("second");
  EXPECT_EQ(Log().back(), kGone);
  EXPECT_FALSE(engine.RemoteHeld());
  EXPECT_EQ(hid.checkIns, 2);

  Plug("old");
  EXPECT_FALSE(hid.Deliver("old", {}));  // an empty read hands nothing over
  Plug("spare");
  hid.Unplug("old");
  ASSERT_EQ(Held(), hid.list.FindPath("spare"));
  HidDeviceList::Entry stale;  // a report queued before the check-in arrives late
  const uint8_t data[] = {0x10, 0, 0, 0x54, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 5};  // UP
  app.Remote().OnReport(stale, 1, data, sizeof data);
  EXPECT_EQ(Monitor(), (Lines{" 0x26", "-0x26"}));
}

TEST_F(DeviceConnectionTest, RemovalOrADeadReaderReleasesWhatIsHeldAndNothingPressesAfterTheClose) {
  Plug("remote");
  ASSERT_TRUE(hid.Deliver("remote", RemoteReport(0x5F, 0, 0x80)));     // SQUARE: Ctrl
  ASSERT_TRUE(hid.Deliver("remote", RemoteReport(0x54, 0x10, 0x80)));  // + UP, repeating
  hid.Unplug("remote");
  p.clock.Advance(2000);  // no repeat after the remote is gone
  Plug("remote");
  ASSERT_TRUE(hid.Deliver("remote", RemoteReport(0x5F, 0, 0x80)));
  hid.ReaderFailed("remote");
  EXPECT_EQ(Log().back(), kGone);
  EXPECT_EQ(Monitor(), (Lines{" CTRL", " 0x26", "-0x26", "-CTRL", " CTRL", "-CTRL"}));
  Plug("spare");  // the next change: the remote is seen again
  ASSERT_EQ(Held(), hid.list.FindPath("remote"));
  app.OnMainWindowClose();
  EXPECT_TRUE(hid.Deliver("remote", RemoteReport(0x5F, 0, 0x80)));  // handed over, and dropped
  EXPECT_EQ(Monitor().size(), 6u);
}

TEST(HidDeviceList, DeviceBackAtTheSamePathBeforeItsCheckInIsANewEntry) {
  HidDeviceList list;
  list.Rebuild({{"p", 1, 2}});
  HidDeviceList::Entry* first = list.FirstAvailable(1, 2);
  ASSERT_NE(first, nullptr);
  first->held = true;
  std::vector<HidDeviceList::Entry*> gone;
  EXPECT_TRUE(list.Rebuild({}, &gone));
  EXPECT_EQ(gone, std::vector<HidDeviceList::Entry*>{first});
  EXPECT_TRUE(list.Rebuild({{"p", 1, 2}}));
  EXPECT_FALSE(list.Rebuild({{"p", 1, 2}}));  // nothing changed
  EXPECT_TRUE(list.Release(first));
  ASSERT_EQ(list.Entries().size(), 1u);
  EXPECT_NE(list.FirstAvailable(1, 2), nullptr);
}

}  // namespace
}  // namespace corvid
