#pragma once
#include <cstdint>

namespace corvid {

// Cursor motion, clicks and wheel of the mouse mode, driven by the held bits.
class MouseDriver {
 public:
  virtual ~MouseDriver() = default;
  virtual void SetMouseState(uint32_t bits, uint16_t mouseKey) = 0;
  // At every release report: acceleration back to rest.
  virtual void ResetFactors() = 0;
  // Held speed bits (0x1000 high, 0x2000 low, 0x4000 double click).
  virtual uint32_t SpeedBits() const = 0;
  // A button is held, the cursor moves or the wheel turns.
  virtual bool Holding() const = 0;
};

}  // namespace corvid
