#pragma once
// One synthetic input record, built by the core and handed to the system.
#include <cstdint>

namespace corvid {

struct InputEvent {
  enum class Type : uint8_t { Keyboard, Mouse };
  Type type = Type::Keyboard;
  // Keyboard
  uint16_t vk = 0;
  uint16_t scan = 0;
  // Both: KEYEVENTF_* for keyboard, MOUSEEVENTF_* for mouse
  uint32_t flags = 0;
  // Mouse
  int32_t dx = 0;
  int32_t dy = 0;
  int32_t mouseData = 0;
  uint64_t extraInfo = 0;
  bool operator==(const InputEvent&) const = default;
};

namespace keyflag {
inline constexpr uint32_t kExtendedKey = 0x0001;
inline constexpr uint32_t kKeyUp = 0x0002;
}  // namespace keyflag

namespace mouseflag {
inline constexpr uint32_t kMove = 0x0001;
inline constexpr uint32_t kLeftDown = 0x0002, kLeftUp = 0x0004;
inline constexpr uint32_t kRightDown = 0x0008, kRightUp = 0x0010;
inline constexpr uint32_t kMiddleDown = 0x0020, kMiddleUp = 0x0040;
inline constexpr uint32_t kWheel = 0x0800;
}  // namespace mouseflag

class InputSink {
 public:
  virtual ~InputSink() = default;
  // Inserts one event into the system's input stream; false when refused.
  virtual bool Send(const InputEvent& event) = 0;
  virtual uint16_t ScanCodeOf(uint16_t vk) = 0;
  virtual uint64_t MessageExtraInfo() = 0;
};

}  // namespace corvid
