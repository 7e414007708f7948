#pragma once
// Button codes of the remote and the names the receive log uses for them.
#include <array>
#include <cstdint>

namespace corvid {

inline constexpr uint8_t kNoButton = 0xFF;  // release: nothing held
inline constexpr uint8_t kButtonEnter = 0x0B;
inline constexpr uint8_t kButtonPs = 0x43;
inline constexpr uint8_t kButtonSelect = 0x50;
inline constexpr uint8_t kButtonStart = 0x53;
// The highest named code; the settings file is read for 0x00 .. this.
inline constexpr uint8_t kLastButtonCode = 0x83;

// Receive-log name with its trailing blank, or nullptr for a code without one.
const char* ButtonLogName(uint8_t code);

// Name without the trailing blank, as dialogs show it ("" when unnamed).
const char* ButtonName(uint8_t code);

// One of the 18 buttons that also have a bit in the 24-bit held-button mask
// (mask byte 0 is the high byte, byte 2 the low byte).
struct MaskButton {
  uint8_t code;
  uint32_t bit;
};

// In the order the decoder tests them.
extern const std::array<MaskButton, 18> kMaskButtons;

// The button whose mask bit is exactly `bits`, or kNoButton.
uint8_t ButtonForSingleMaskBit(uint32_t bits);

// The 49 codes stored in the settings file: every named button but the two
// mode buttons and the release code.
extern const std::array<uint8_t, 49> kMappableButtons;
bool IsMappableButton(uint8_t code);

}  // namespace corvid
