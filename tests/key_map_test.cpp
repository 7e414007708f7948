#include "actions/key_map.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

std::string Name(uint16_t key, uint32_t param) { return EntryDisplayName({key, param, ""}); }

TEST(EntryDisplayName, KeysWithModifierPrefixes) {
  EXPECT_EQ(Name(0x41, 0), "A");
  EXPECT_EQ(Name(0x2E, 0x0011), "Ctrl.Alt.DEL");
  EXPECT_EQ(Name(0x41, 0x1100), "Shift.Win,A");
  EXPECT_EQ(Name(0x41, 0x1110), "A");  // no prefix for Shift+Ctrl+Win
  EXPECT_EQ(Name(0x73, 0x0100), "Shift.F4");
  EXPECT_EQ(Name(0x7B, 0), "F12");
  EXPECT_EQ(Name(0x65, 0), "NUM5");
  EXPECT_EQ(Name(0xDC, 0), "\\");
  EXPECT_EQ(Name(0xB3, 0), "PLAY/PAUSE");
  EXPECT_EQ(Name(0xFE, 0), "");  // unnamed key
}

TEST(EntryDisplayName, WinKeysAndModifierOnlyEntries) {
  EXPECT_EQ(Name(0x5B, 0x1000), "Win.");
  EXPECT_EQ(Name(0x5B, 0), "Win");
  EXPECT_EQ(Name(0, 0x1100), "Shift.Win");
  EXPECT_EQ(Name(0, 0x0010), "Ctrl");
  EXPECT_EQ(Name(0, 0x1110), "");  // nothing to drop
  EXPECT_EQ(Name(0, 0), "");
}

TEST(EntryDisplayName, MouseAndAppEntries) {
  EXPECT_EQ(Name(2, 0x4010), "Dbl.LClick");
  EXPECT_EQ(Name(1, 0x1000), "HSpeed.");
  EXPECT_EQ(Name(1, 0x0003), "↑→");
  EXPECT_EQ(Name(4, 0x0200), "WheelDown.");
  EXPECT_EQ(Name(7, 0), "App-1");
  EXPECT_EQ(Name(7, 7), "App-8");
  EXPECT_EQ(Name(7, 255), "QuitAll");
  EXPECT_EQ(Name(7, 8), "");
}

TEST(FactoryKeyMaps, FillAllNineMapsAndLeaveOtherSlots) {
  KeyMapTable kbd, mouse;
  kbd.at(0x00, 3) = {0x31, 0, "1"};
  ApplyFactoryKeyMaps(kbd, mouse);
  for (int m = 0; m < kMapCount; ++m) {
    EXPECT_EQ(kbd.at(0x0B, m), (KeyMapEntry{0x0D, 0, "RETURN"}));
    EXPECT_EQ(mouse.at(0x5C, m), (KeyMapEntry{2, 0x4010, "Dbl.LClick"}));
    EXPECT_EQ(mouse.at(0x59, m), (KeyMapEntry{0, 0, ""}));
  }
  EXPECT_EQ(kbd.at(0x00, 3).Key, 0x31);
}

}  // namespace
}  // namespace corvid
