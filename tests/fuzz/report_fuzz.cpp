// Reports, key maps and settings from the input, through the whole program: after a
// release report, and after "release everything", nothing Corvid pressed is still down.
#include <cstddef>
#include <cstdint>
#include <set>

#include "app/corvid_app.h"
#include "app/headless_platform.h"
#include "remote/button_codes.h"

using namespace corvid;

constexpr uint8_t kRelease[] = {0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 5};
constexpr uint32_t kButtonsDown = mouseflag::kLeftDown | mouseflag::kRightDown | mouseflag::kMiddleDown;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  size_t at = 0;
  auto byte = [&] { return at < size ? data[at++] : uint8_t(0); };
  HeadlessPlatform p;
  std::set<uint16_t> keys;  // what the system holds down from Corvid's events
  uint32_t buttons = 0;
  p.input.keep = false;
  p.input.onEvent = [&](const InputEvent& e) {
    if (e.type == InputEvent::Type::Mouse)  // each button's up flag is its down flag shifted once
      buttons = (buttons | (e.flags & kButtonsDown)) & ~(e.flags >> 1 & kButtonsDown);
    else if (e.flags & keyflag::kKeyUp)
      keys.erase(e.vk);
    else
      keys.insert(e.vk);
  };
  // A small screen: the message's picture costs little, the behaviour is the same.
  p.screen.width = 160;
  p.screen.height = 120;
  CorvidApp app(p);
  app.ReceiveLog().SetCapacity(0);
  app.MonitorLines().SetCapacity(0);
  app.StartUp();
  Settings& s = app.Data().settings;

  // Settings and up to eight key map entries of both modes.
  const uint8_t flags = byte();
  bool* const switches[] = {&s.NoPsRep,   &s.LowBattSkip,  &s.DispMessage,
                            &s.CurSmooth, &s.AdjustAspect, &p.screen.overOwnWindow};
  for (int i = 0; i < 6; ++i) *switches[i] = flags >> i & 1;
  for (int n = byte() % 9; n > 0; --n) {
    const uint8_t code = byte() % (kLastButtonCode + 1);
    const uint8_t kindAndMode = byte();
    const uint16_t key = kindAndMode & 0x80 ? uint16_t(byte()) : uint16_t(kindAndMode & 7);
    const uint32_t param = uint32_t(byte()) << 8 | byte();
    KeyMapTable& table = kindAndMode & 0x40 ? app.Data().MouseMap : app.Data().KeyboardMap;
    for (int m = 0; m < kMapCount; ++m) table.at(code, m) = {key, param, ""};
  }
  app.Engine().SelectKeyMap(0, ModeRequest::Keep);

  // Mask bytes and code, then a wait whose high bit makes the next report
  // short, of another identifier, or one with a low battery.
  uint8_t shape = 0;
  while (at < size) {
    uint8_t report[11] = {byte(), byte(), byte(), byte(), 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 5};
    const bool odd = shape & 0x80;
    if (odd && (shape & 0x04)) report[10] = 1;
    app.Engine().RemoteReport(odd && (shape & 0x01) ? 2 : 1, report,
                              odd && (shape & 0x02) ? size_t(shape % 11) : sizeof report);
    shape = byte();
    p.clock.Advance(shape & 0x3F);
  }
  app.Engine().RemoteReport(1, kRelease, sizeof kRelease);
  p.clock.Advance(100);
  if (!keys.empty() || buttons != 0) __builtin_trap();

  // Whatever was held, "release everything" lets go of it.
  app.Engine().RemoteReport(1, data, size > 11 ? 11 : size);
  app.Engine().ReleaseEverything();
  if (!keys.empty() || buttons != 0) __builtin_trap();
  return 0;
}
