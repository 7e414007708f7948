#pragma once
// The key map follows the window in front, when the user asked for it: a
// registered program's own map while one of its windows is in front, the
// basic map while any other program's is. Corvid's own windows (the
// settings, the message) change nothing.
#include <cstdint>
#include <functional>

#include "actions/action_engine.h"
#include "model/config_data.h"
#include "control/desktop.h"
#include "osd/message_display.h"

namespace corvid {

class ForegroundFollower {
 public:
  ForegroundFollower(ConfigData& data, ActionEngine& engine, DesktopQuery& desktop, DesktopControl& windows,
                     MessageDisplay& osd)
      : data_(data), engine_(engine), desktop_(desktop), windows_(windows), osd_(osd) {}

  // The window in front is now `w` (the system said so, or it was looked
  // at); true when the map changed. Nothing happens with the setting off.
  bool ForegroundChanged(WindowHandle w);
  // The map window `w` asks for: 1..8 for an App entry's own map, 0 for the
  // basic map, -1 when it asks for no change (Corvid's own, gone, none).
  int32_t MapFor(WindowHandle w);

  // While this holds nothing follows: the key map editor edits the map in
  // use, and must not find another one under its boxes.
  std::function<bool()> paused;

 private:
  // The first App entry with its own map whose program and window rules
  // `w` answers; -1 for none.
  int EntryOf(const WindowEntry& w);
  // The active map holds column `map` of the current mode's table.
  bool ActiveMapIs(int32_t map) const;

  ConfigData& data_;
  ActionEngine& engine_;
  DesktopQuery& desktop_;
  DesktopControl& windows_;
  MessageDisplay& osd_;
};

}  // namespace corvid
