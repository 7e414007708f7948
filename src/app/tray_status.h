#pragma once
// What the notification icon tells at a glance: its tip (a remote held or
// not, its battery once a report gave it, the mode), the greyed icon while
// no remote is held, and a balloon the first time the battery runs low.
#include <cstdint>
#include <string>

namespace corvid {

struct RemoteState {
  bool held = false;
  bool batteryKnown = false;
  int32_t battery = 0;
  bool mouseMode = false;
  bool operator==(const RemoteState&) const = default;
};

class TrayStatus {
 public:
  static constexpr int32_t kLowBattery = 2;  // below it the battery is low, as for the key actions

  // What the icon has to be told of a change.
  struct Change {
    bool tip = false, icon = false, balloon = false;
    bool Any() const { return tip || icon || balloon; }
  };

  TrayStatus() { tip_ = TipFor(state_); }
  Change Update(const RemoteState& s);

  const std::string& Tip() const { return tip_; }
  bool Greyed() const { return !state_.held; }
  static std::string TipFor(const RemoteState& s);

 private:
  RemoteState state_;
  std::string tip_;
  bool lowShown_ = false;  // until the battery has been above the low level again
};

}  // namespace corvid
