#pragma once
// The key map tables: one action per button code, nine maps per mode, and
// the factory entries.
#include <array>
#include <cstdint>
#include <string>

namespace corvid {

struct KeyMapEntry {
  uint16_t Key = 0;    // virtual-key code or one of the action codes below
  uint32_t Param = 0;  // modifier bits, mouse bits or an argument
  std::string Message;
  bool operator==(const KeyMapEntry&) const = default;
};

namespace action {
inline constexpr uint16_t kNone = 0;  // nothing, or modifiers only (a chord part)
inline constexpr uint16_t kMouseMove = 1;
inline constexpr uint16_t kMouseButton = 2;
inline constexpr uint16_t kMouseWheel = 4;
inline constexpr uint16_t kApp = 7;  // Param 0..7 App-1..App-8, 255 quit all
inline constexpr uint16_t kSuspend = 151;
inline constexpr uint16_t kHibernate = 152;
inline constexpr uint16_t kShutDown = 153;
inline constexpr uint16_t kReboot = 154;
inline constexpr uint32_t kAllQuit = 255;
}  // namespace action

namespace modifier {
inline constexpr uint32_t kAlt = 0x0001;
inline constexpr uint32_t kCtrl = 0x0010;
inline constexpr uint32_t kShift = 0x0100;
inline constexpr uint32_t kWin = 0x1000;
}  // namespace modifier

// The system's virtual-key codes the key maps treat apart.
namespace vk {
inline constexpr uint16_t kShift = 16, kControl = 17, kMenu = 18, kLeftWin = 91, kRightWin = 92;
}  // namespace vk

namespace mouse {
inline constexpr uint32_t kUp = 0x0001, kRight = 0x0002, kDown = 0x0004, kLeft = 0x0008;
inline constexpr uint32_t kDirections = 0x000F;
inline constexpr uint32_t kLeftButton = 0x0010, kRightButton = 0x0020, kMiddleButton = 0x0040;
inline constexpr uint32_t kButtons = 0x00F0;
inline constexpr uint32_t kWheelUp = 0x0100, kWheelDown = 0x0200;
inline constexpr uint32_t kWheel = 0x0F00;
inline constexpr uint32_t kHighSpeed = 0x1000, kLowSpeed = 0x2000, kDoubleClick = 0x4000;
inline constexpr uint32_t kSpeed = 0xF000;
}  // namespace mouse

inline constexpr int kMapCount = 9;  // map 0 the basic map, map N the map of App-N
inline constexpr int kCodeCount = 256;

using KeyMap = std::array<KeyMapEntry, kCodeCount>;

// 256 button codes x 9 maps, for one mode.
struct KeyMapTable {
  std::array<std::array<KeyMapEntry, kMapCount>, kCodeCount> entries;
  KeyMapEntry& at(uint8_t code, int map) { return entries[code][map]; }
  const KeyMapEntry& at(uint8_t code, int map) const { return entries[code][map]; }
  void CopyColumn(int map, KeyMap& out) const;
};
using KeyboardMapTable = KeyMapTable;
using MouseMapTable = KeyMapTable;

// Writes the factory entries into all nine maps of both tables; other slots
// are left as they are.
void ApplyFactoryKeyMaps(KeyboardMapTable& keyboard, MouseMapTable& mouse);

}  // namespace corvid
