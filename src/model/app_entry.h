#pragma once
// One launch-program entry, App-1 .. App-8.
#include <cstdint>
#include <string>

namespace corvid {

inline constexpr int kAppCount = 8;
// The activation delay and the long-press time, in ms, as the launch
// settings allow them; a value from the file beyond is brought in at load.
inline constexpr int32_t kDelayMin = 500, kDelayMax = 4000;

struct AppEntry {
  // Stored in the settings file.
  std::string AppName, AppProg, AppPath, AppArgs, Message, Class, Caption;
  int32_t WinLeft = 0, WinTop = 0, WinRight = 0, WinBottom = 0;
  int32_t ClickX = 0, ClickY = 0;
  int32_t ActivateDelay = 0;
  int32_t LongPressTime = 0;
  int32_t Placement = 1;  // 1 normal, 2 maximised, 4 minimised, 8 rectangle
  int32_t CoRunMask = 0;  // bit k: App index k may keep running beside this one
  int32_t KeyAction = 1;  // 1 nothing, 2 restore, 4 another copy, 8 quit
  int32_t StartMap = 0;   // 0 keep the mode, 1 keyboard, 2 mouse
  bool LaunchTopmost = false;
  bool Registered = false;
  bool DummyClick = false;
  bool LongPressQuit = false;
  bool RecordState = false;
  bool OwnKeyMap = false;
  bool AutoStart = false;

  // Run time only.
  int32_t LastLeft = 0, LastTop = 0, LastRight = 0, LastBottom = 0;  // last recorded window rectangle
  uint32_t ProcessId = 0;       // 0: not running
  int32_t WindowState = 0;      // 0 normal, 1 minimised, 2 maximised
  uintptr_t TargetWindow = 0;   // 0: none
};

}  // namespace corvid
