#pragma once
// Everything Corvid keeps in its settings file, as one plain value: the
// settings, both key map tables and the eight launch-program entries. The
// load and save operations take it; the main window holds it.
#include <array>

#include "model/key_map.h"
#include "model/settings.h"
#include "model/app_entry.h"

namespace corvid {

struct ConfigData {
  Settings settings;
  KeyboardMapTable KeyboardMap;
  MouseMapTable MouseMap;
  std::array<AppEntry, kAppCount> Apps;
};

}  // namespace corvid
