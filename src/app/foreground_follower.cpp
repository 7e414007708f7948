#include "app/foreground_follower.h"

#include "control/target_search.h"

namespace corvid {

int ForegroundFollower::EntryOf(const WindowEntry& w) {
  for (int i = 0; i < kAppCount; ++i) {
    const AppEntry& a = data_.Apps[static_cast<size_t>(i)];
    if (!a.Registered || !a.OwnKeyMap) continue;
    if (MatchWindow(a.Class, a.Caption, w) != WindowMatch::None && RunsProgram(desktop_, w.pid, a)) return i;
  }
  return -1;
}

bool ForegroundFollower::ActiveMapIs(int32_t map) const {
  const KeyMapTable& table = engine_.MouseMode() ? data_.MouseMap : data_.KeyboardMap;
  for (int code = 0; code < kCodeCount; ++code)
    if (!(engine_.ActiveMap()[static_cast<size_t>(code)] == table.at(static_cast<uint8_t>(code), map))) return false;
  return true;
}

int32_t ForegroundFollower::MapFor(WindowHandle w) {
  if (w == 0) return -1;
  bool own = false;
  int entry = -1;
  auto look = [&](const WindowEntry& e) {
    own = e.pid == desktop_.OwnProcessId();
    if (!own) entry = EntryOf(e);
  };
  if (!desktop_.DescribeWindow(w, look)) return -1;
  if (own) return -1;
  // A dialog of the program (its "save as", say) belongs to the window
  // that owns it.
  if (entry < 0) {
    const WindowHandle root = windows_.RootOwner(w);
    if (root != 0 && root != w) desktop_.DescribeWindow(root, look);
    if (own) return -1;
  }
  return entry + 1;
}

bool ForegroundFollower::ForegroundChanged(WindowHandle w) {
  if (!data_.settings.FollowForeground || (paused && paused())) return false;
  const int32_t map = MapFor(w);
  if (map < 0) return false;
  // Already in use: an App action leaves CurrentAppMap at an entry without
  // its own map while the basic map is active, and closing a settings
  // dialog sets it to 0 whatever map is active.
  const int32_t current = engine_.CurrentAppMap();
  const bool currentOwn =
      current > 0 && current <= kAppCount && data_.Apps[static_cast<size_t>(current - 1)].OwnKeyMap;
  if (map == (currentOwn ? current : 0) && ActiveMapIs(map)) return false;

  // Nothing held under the old map may stay down under the new one.
  if (engine_.HoldsInput() || engine_.Busy()) engine_.ReleaseEverything();
  engine_.SetCurrentAppMap(map);
  engine_.SelectKeyMap(map, ModeRequest::Keep);
  if (data_.settings.DispChange)
    osd_.ShowMessage(map == 0 ? std::string_view("Basic Map")
                              : std::string_view(data_.Apps[static_cast<size_t>(map - 1)].Message));
  return true;
}

}  // namespace corvid
