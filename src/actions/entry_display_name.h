#pragma once
// The on-screen text of an action ("Ctrl.Alt.DEL", "Dbl.LClick", "App-3").
#include <string>

#include "model/key_map.h"

namespace corvid {

std::string EntryDisplayName(const KeyMapEntry& entry);

}  // namespace corvid
