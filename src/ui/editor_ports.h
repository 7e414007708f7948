#pragma once
// What the key map editor works on, given by the program: the maps the
// remote uses right now, and the key-capture hook.
#include <cstdint>

#include "model/key_map.h"

namespace corvid {

class EditedMaps {
 public:
  virtual ~EditedMaps() = default;
  virtual KeyMap& ActiveMap() = 0;
  // The keyboard-mode or the mouse-mode table.
  virtual KeyMapTable& Table(bool mouse) = 0;
  virtual int32_t CurrentAppMap() const = 0;
  virtual bool MouseMode() const = 0;
  // Entry 0..7 names a program whose file existed when it was entered.
  virtual bool Registered(int app) const = 0;
  virtual void SwitchToKeyboardMode() = 0;
  virtual void SwitchToMouseMode() = 0;
};

class KeyCapture {
 public:
  virtual ~KeyCapture() = default;
  virtual void InstallKeyCaptureHook() = 0;
  virtual void RemoveKeyCaptureHook() = 0;
  // Set while the hook has diverted a Windows key's press and not its release.
  virtual bool& WinKeyLatched() = 0;
};

}  // namespace corvid
