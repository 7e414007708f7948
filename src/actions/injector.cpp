#include "actions/injector.h"

#include <cstdio>

#include "model/key_map.h"

namespace corvid {
namespace {

struct ModifierRow {
  uint32_t bit;
  uint16_t vk;
  bool Injector::*flag;
  const char* press;
  const char* release;
};

// Press order; releases go bottom to top.
constexpr ModifierRow kModifiers[] = {
    {modifier::kAlt, 0x12, &Injector::AltDown, " ALT", "-ALT"},
    {modifier::kCtrl, 0x11, &Injector::CtrlDown, " CTRL", "-CTRL"},
    {modifier::kShift, 0x10, &Injector::ShiftDown, " SHIFT", "-SHIFT"},
    {modifier::kWin, 0x5B, &Injector::WinDown, " WIN", "-WIN"},
};

struct ButtonRow {
  uint32_t bit;
  uint32_t downFlag, upFlag;
  bool Injector::*flag;
  const char* press;
  const char* release;
};

constexpr ButtonRow kButtons[] = {
    {mouse::kLeftButton, mouseflag::kLeftDown, mouseflag::kLeftUp, &Injector::LButtonDown, " LClick", "-LClick"},
    {mouse::kRightButton, mouseflag::kRightDown, mouseflag::kRightUp, &Injector::RButtonDown, " RClick", "-RClick"},
    {mouse::kMiddleButton, mouseflag::kMiddleDown, mouseflag::kMiddleUp, &Injector::MButtonDown, " MClick", "-MClick"},
};

}  // namespace

void Injector::Inject(const InputEvent& e) {
  if (!sink_.Send(e) && onRefused_) onRefused_();
}

void Injector::SendKeyEvent(uint16_t vk, bool down) {
  InputEvent e;
  e.type = InputEvent::Type::Keyboard;
  e.vk = vk;
  e.scan = sink_.ScanCodeOf(vk);
  // Every key, letters and modifiers alike, goes out as an extended key.
  e.flags = down ? keyflag::kExtendedKey : (keyflag::kExtendedKey | keyflag::kKeyUp);
  e.extraInfo = sink_.MessageExtraInfo();
  Inject(e);
}

void Injector::KeyLine(char sign, uint16_t key) {
  if (!monitor_.Keeps()) return;
  char line[16];
  const int n = std::snprintf(line, sizeof line, "%c0x%02X", sign, key);
  monitor_.Append(std::string_view(line, static_cast<size_t>(n)));
}

void Injector::PressKey(uint32_t param, uint16_t key) {
  if (param != 0) {
    for (const ModifierRow& m : kModifiers) {
      if ((param & m.bit) && !(this->*m.flag)) {
        SendKeyEvent(m.vk, true);
        monitor_.Append(m.press);
        this->*m.flag = true;
      }
    }
  }
  if (key != 0) {
    SendKeyEvent(key, true);
    KeyLine(' ', key);
  }
}

void Injector::ReleaseKey(uint32_t param, uint16_t key) {
  if (key != 0) {
    SendKeyEvent(key, false);
    KeyLine('-', key);
  }
  if (param != 0) {
    for (int i = 3; i >= 0; --i) {
      const ModifierRow& m = kModifiers[i];
      if ((param & m.bit) && (this->*m.flag)) {
        SendKeyEvent(m.vk, false);
        monitor_.Append(m.release);
        this->*m.flag = false;
      }
    }
  }
}

uint32_t Injector::HeldModifiers() const {
  uint32_t bits = 0;
  for (const ModifierRow& m : kModifiers)
    if (this->*m.flag) bits |= m.bit;
  return bits;
}

uint32_t Injector::HeldButtons() const {
  uint32_t bits = 0;
  for (const ButtonRow& b : kButtons)
    if (this->*b.flag) bits |= b.bit;
  return bits;
}

void Injector::SendMouseButtonEvent(uint32_t bit, bool down) {
  for (const ButtonRow& b : kButtons) {
    if (b.bit != bit) continue;
    InputEvent e;
    e.type = InputEvent::Type::Mouse;
    e.flags = down ? b.downFlag : b.upFlag;
    Inject(e);
    return;
  }
}

void Injector::SendMouseButtons(uint32_t bits) {
  for (const ButtonRow& b : kButtons) {
    if (!(this->*b.flag) && (bits & b.bit)) {
      SendMouseButtonEvent(b.bit, true);
      monitor_.Append(b.press);
      this->*b.flag = true;
    }
  }
  for (const ButtonRow& b : kButtons) {
    if ((this->*b.flag) && !(bits & b.bit)) {
      SendMouseButtonEvent(b.bit, false);
      monitor_.Append(b.release);
      this->*b.flag = false;
    }
  }
}

void Injector::SendWheelEvent(uint32_t bit, bool press) {
  const uint32_t speed = speedBits_ ? speedBits_() : 0;
  WheelFactor = 2.0;
  if (speed & mouse::kHighSpeed) WheelFactor = 4.0;
  if (speed & mouse::kLowSpeed) WheelFactor = 1.0;  // low speed wins
  int32_t amount = 0;
  if (press && bit == mouse::kWheelUp) amount = static_cast<int32_t>(30 * WheelFactor);
  if (press && bit == mouse::kWheelDown) amount = -static_cast<int32_t>(30 * WheelFactor);
  if (amount == 0) return;
  InputEvent e;
  e.type = InputEvent::Type::Mouse;
  e.flags = mouseflag::kWheel;
  e.mouseData = amount;
  Inject(e);
}

void Injector::SendWheel(uint32_t bits) {
  if (!WheelUpActive && (bits & mouse::kWheelUp)) {
    SendWheelEvent(mouse::kWheelUp, true);
    monitor_.Append(" Wheel↑");
    WheelUpActive = true;
  }
  if (!WheelDownActive && (bits & mouse::kWheelDown)) {
    SendWheelEvent(mouse::kWheelDown, true);
    monitor_.Append(" Wheel↓");
    WheelDownActive = true;
  }
  if (WheelUpActive && !(bits & mouse::kWheelUp)) {
    SendWheelEvent(mouse::kWheelUp, false);
    monitor_.Append("-Wheel↑");
    WheelUpActive = false;
  }
  if (WheelDownActive && !(bits & mouse::kWheelDown)) {
    SendWheelEvent(mouse::kWheelDown, false);
    monitor_.Append("-Wheel↓");
    WheelDownActive = false;
  }
}

void Injector::SendRelativeMove(int32_t dx, int32_t dy) {
  InputEvent e;
  e.type = InputEvent::Type::Mouse;
  e.flags = mouseflag::kMove;
  e.dx = dx;
  e.dy = dy;
  Inject(e);
}

}  // namespace corvid
