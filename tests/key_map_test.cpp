#include "actions/entry_display_name.h"
#include "model/key_map.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

TEST(EntryDisplayName, KeysMouseAndAppEntries) {
  const struct {
    uint16_t key;
    uint32_t param;
    const char* name;
  } cases[] = {
      // Shift+Ctrl+Win has no prefix; an unnamed key has no name
      {0x41, 0, "A"}, {0x2E, 0x0011, "Ctrl.Alt.DEL"}, {0x41, 0x1100, "Shift.Win,A"}, {0x41, 0x1110, "A"},
      {0x73, 0x0100, "Shift.F4"}, {0xDC, 0, "\\"}, {0xFE, 0, ""},
      // Win keys and modifier-only entries
      {0x5B, 0x1000, "Win."}, {0x5B, 0, "Win"}, {0, 0x1100, "Shift.Win"}, {0, 0x1110, ""}, {0, 0, ""},
      // mouse and app entries
      {2, 0x4010, "Dbl.LClick"}, {1, 0x1000, "HSpeed."}, {1, 0x0003, "↑→"}, {4, 0x0200, "WheelDown."},
      {7, 0, "App-1"}, {7, 7, "App-8"}, {7, 255, "QuitAll"}, {7, 8, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(EntryDisplayName({c.key, c.param, ""}), c.name) << c.key << "/" << c.param;
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
