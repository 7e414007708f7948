#pragma once
// The settings Corvid keeps in its INI file, each named after its key, with
// the values a missing key yields.
#include <cstdint>
#include <string>

namespace corvid {

// What the environment settings' bars allow; a value from the file beyond
// one is brought in when it is loaded.
struct SettingRange {
  int32_t min, max;
};
inline constexpr SettingRange kKeyIdleRange{200, 800}, kKeyRepeatRange{10, 500}, kCurSpeedRange{5, 20},
    kMesSizeRange{10, 72};
// No bar shows the cursor's step period; it gets the repeat's range, so that
// a value from the file can neither spin a timer nor stop the cursor.
inline constexpr SettingRange kCurRepeatRange = kKeyRepeatRange;
// The message's place: across the screen's width about its middle, and from
// just above the screen's top to its height.
inline SettingRange MesPosxRange(int32_t screenWidth) { return {-(screenWidth / 2), screenWidth / 2}; }
inline SettingRange MesPosyRange(int32_t screenHeight) {
  return {-60, screenHeight - 60 > -60 ? screenHeight - 60 : -60};
}

struct Settings {
  // [Times]
  int32_t KeyIdle = 500;
  int32_t KeyRepeat = 25;
  int32_t CurRepeat = 10;
  double CurSpeed = 10;
  // [System]
  uint32_t MesColorFg = 0xFFFFFF;  // 0x00BBGGRR
  uint32_t MesColorBg = 0x000000;
  std::string MesFont = "Century Gothic";
  int32_t MesSize = 46;
  int32_t MesPosx = 0;
  int32_t MesPosy = 0;
  bool HideStart = false;
  bool DispMessage = true;
  bool DispBatt = false;
  bool DispChange = true;
  bool LowBattSkip = true;
  bool BkMessage = true;
  bool NoPsRep = true;
  bool AdjustAspect = false;
  bool StartMouse = false;
  // The key map follows the window in front: a registered program's own
  // map while it is in front, the basic map otherwise.
  bool FollowForeground = false;
  // The language of the windows, menus and boxes: "auto" (the user's
  // display language), "ja" or "en"; read at start.
  std::string Language = "auto";
  // [Cursor]
  bool NoCursor = false;
  bool CurSmooth = true;

  // 1 keyboard, 2 mouse: the mode StartMouse names.
  int32_t HomeMode() const { return StartMouse ? 2 : 1; }
};

}  // namespace corvid
