#include "model/key_map.h"

namespace corvid {

void KeyMapTable::CopyColumn(int map, KeyMap& out) const {
  for (int code = 0; code < kCodeCount; ++code) out[code] = entries[code][map];
}

void ApplyFactoryKeyMaps(KeyboardMapTable& keyboard, MouseMapTable& mouse) {
  struct Row {
    uint8_t code;
    KeyMapEntry kbd, mou;
  };
  const Row rows[] = {
      {0x0B, {0x0D, 0, "RETURN"}, {1, 0x1000, "HiSpeed"}},
      {0x16, {0x1B, 0, "ESC"}, {0x1B, 0, "ESC"}},
      {0x43, {0x09, 0, "TAB"}, {0x09, 0, "TAB"}},
      {0x52, {0x22, 0, "PageDOWN"}, {4, 0x0200, "WheelDOWN"}},
      {0x54, {0x26, 0, "UP"}, {1, 0x0001, "↑"}},
      {0x55, {0x27, 0, "RIGHT"}, {1, 0x0002, "→"}},
      {0x56, {0x28, 0, "DOWN"}, {1, 0x0004, "↓"}},
      {0x57, {0x25, 0, "LEFT"}, {1, 0x0008, "←"}},
      {0x59, {0x24, 0, "HOME"}, {0, 0, ""}},
      {0x5B, {0x21, 0, "PageUP"}, {4, 0x0100, "WheelUP"}},
      {0x5C, {0, 0x0100, "Shift."}, {2, 0x4010, "Dbl.LClick"}},
      {0x5D, {0, 0x1000, "Win."}, {2, 0x0020, "RClick"}},
      {0x5E, {0, 0x0001, "Alt."}, {2, 0x0020, "RClick"}},
      {0x5F, {0, 0x0010, "Ctrl."}, {2, 0x0010, "LClick"}},
      {0x51, {0xAE, 0, "V-"}, {0xAE, 0, "V-"}},
      {0x58, {0xAD, 0, "VMute"}, {0xAD, 0, "VMute"}},
      {0x5A, {0xAF, 0, "V+"}, {0xAF, 0, "V+"}},
      {0x60, {0x25, 0x0100, "Shift.LEFT"}, {0x25, 0x0100, "Shift.LEFT"}},
      {0x61, {0x27, 0x0100, "Shift.RIGHT"}, {0x27, 0x0100, "Shift.RIGHT"}},
  };
  for (const Row& r : rows) {
    for (int m = 0; m < kMapCount; ++m) {
      keyboard.at(r.code, m) = r.kbd;
      mouse.at(r.code, m) = r.mou;
    }
  }
}

}  // namespace corvid
