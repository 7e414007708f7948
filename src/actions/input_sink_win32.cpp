#include "actions/input_sink_win32.h"

#include <windows.h>

namespace corvid {

bool Win32InputSink::Send(const InputEvent& e) {
  INPUT in{};
  if (e.type == InputEvent::Type::Keyboard) {
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = e.vk;
    in.ki.wScan = e.scan;
    in.ki.dwFlags = e.flags;
    in.ki.time = 0;
    in.ki.dwExtraInfo = static_cast<ULONG_PTR>(e.extraInfo);
  } else {
    in.type = INPUT_MOUSE;
    in.mi.dx = e.dx;
    in.mi.dy = e.dy;
    in.mi.mouseData = static_cast<DWORD>(e.mouseData);
    in.mi.dwFlags = e.flags;
    in.mi.time = 0;
    in.mi.dwExtraInfo = static_cast<ULONG_PTR>(e.extraInfo);
  }
  return SendInput(1, &in, sizeof in) != 0;
}

uint16_t Win32InputSink::ScanCodeOf(uint16_t vk) {
  return static_cast<uint16_t>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
}

uint64_t Win32InputSink::MessageExtraInfo() { return static_cast<uint64_t>(GetMessageExtraInfo()); }

}  // namespace corvid
