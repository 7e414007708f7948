#pragma once
// Turns chords, mouse buttons, wheel notches and moves into input records,
// keeps track of what it holds down so every press gets exactly one release,
// and writes one code-monitor line per event.
#include <cstdint>
#include <functional>

#include "actions/input_sink.h"
#include "base/text_view.h"

namespace corvid {

class Injector {
 public:
  // `onRefused` runs once for every event the system does not insert.
  // `speedBits` gives the held speed bits that size a wheel notch.
  Injector(InputSink& sink, TextView& codeMonitor, std::function<void()> onRefused,
           std::function<uint32_t()> speedBits)
      : sink_(sink), monitor_(codeMonitor), onRefused_(std::move(onRefused)),
        speedBits_(std::move(speedBits)) {}

  void SendKeyEvent(uint16_t vk, bool down);
  void PressKey(uint32_t param, uint16_t key);
  void ReleaseKey(uint32_t param, uint16_t key);

  void SendMouseButtonEvent(uint32_t bit, bool down);
  void SendMouseButtons(uint32_t bits);
  void SendWheelEvent(uint32_t bit, bool press);
  void SendWheel(uint32_t wheelBits);
  void SendRelativeMove(int32_t dx, int32_t dy);

  // Modifier bits (Alt 0x1, Ctrl 0x10, Shift 0x100, Win 0x1000) held down now.
  uint32_t HeldModifiers() const;
  // Mouse button bits (0x10, 0x20, 0x40) held down now.
  uint32_t HeldButtons() const;

  bool AltDown = false, CtrlDown = false, ShiftDown = false, WinDown = false;
  bool LButtonDown = false, RButtonDown = false, MButtonDown = false;
  bool WheelUpActive = false, WheelDownActive = false;
  double WheelFactor = 1.0;

 private:
  void Inject(const InputEvent& e);
  void KeyLine(char sign, uint16_t key);

  InputSink& sink_;
  TextView& monitor_;
  std::function<void()> onRefused_;
  std::function<uint32_t()> speedBits_;
};

}  // namespace corvid
