// The factory key maps and the display names against tables written from
// their rules by hand (tests/expected): one fault in any row fails here.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "actions/entry_display_name.h"
#include "config/profile_values.h"
#include "fakes/expected_text.h"
#include "model/key_map.h"
#include "remote/button_codes.h"

namespace corvid {
namespace {

TEST(KeyMapTables, DisplayNamesOfKeysModifiersMouseAndAppEntries) {
  std::istringstream cases(Expected("display_names.txt"));
  ASSERT_FALSE(cases.str().empty());
  std::string actual, line;
  while (std::getline(cases, line)) {
    unsigned key = 0, param = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "%x %x", &key, &param), 2) << line;
    actual += line.substr(0, 8) + EntryDisplayName({static_cast<uint16_t>(key), param, ""}) + "\n";
  }
  ExpectSameLines(actual, Expected("display_names.txt"));
}

TEST(KeyMapTables, FactoryMapsFillAllNineMapsAndLeaveOtherSlots) {
  KeyMapTable kbd, mouse;
  kbd.at(0x00, 3) = {0x31, 0, "1"};
  kbd.at(0x50, 0) = {0x41, 0, "A"};  // SELECT: no factory entry
  ApplyFactoryKeyMaps(kbd, mouse);
  for (int m = 0; m < kMapCount; ++m) {
    std::string actual;
    for (int family = 0; family < 2; ++family)
      for (uint8_t code : kMappableButtons) {
        const KeyMapEntry& e = (family ? mouse : kbd).at(code, m);
        char key[8];
        std::snprintf(key, sizeof key, "%s%02X=", family ? "BM" : "BD", code);
        // The other slots are left as they were (empty after no file).
        actual += key + (m == 3 && code == 0 && !family ? FormatKeyMapValue({}) : FormatKeyMapValue(e)) + "\n";
      }
    ExpectSameLines(actual, Expected("factory_key_maps.txt"));
  }
  EXPECT_EQ(kbd.at(0x00, 3), (KeyMapEntry{0x31, 0, "1"}));
  EXPECT_EQ(kbd.at(0x50, 0), (KeyMapEntry{0x41, 0, "A"}));
}

TEST(KeyMapTables, ButtonNamesMappableSlotsAndTheCodeOfEachMaskBit) {
  std::string actual = "# Button codes: the name in the receive log (with its blank), whether a key\n"
                       "# map slot is kept for it, and for each bit of the 24-bit mask the code a\n"
                       "# change of that bit alone gives (FF: none).\n";
  char line[64];
  int mappable = 0;
  for (int c = 0; c < 256; ++c) {
    mappable += IsMappableButton(static_cast<uint8_t>(c));
    const char* name = ButtonLogName(static_cast<uint8_t>(c));
    if (!name) continue;
    std::snprintf(line, sizeof line, "%02X \"%s\" %s\n", c, name, IsMappableButton(static_cast<uint8_t>(c)) ? "map" : "-");
    actual += line;
  }
  for (int b = 0; b < 3; ++b)
    for (int bit = 0; bit < 8; ++bit) {
      std::snprintf(line, sizeof line, "mask byte %d bit %d: %02X\n", b, bit,
                    ButtonForSingleMaskBit(1u << ((2 - b) * 8 + bit)));
      actual += line;
    }
  ExpectSameLines(actual, Expected("button_codes.txt"));
  EXPECT_EQ(mappable, 49);  // unnamed codes have no slot
}

}  // namespace
}  // namespace corvid
