#include "app/tray_status.h"

#include "base/texts.h"

namespace corvid {

std::string TrayStatus::TipFor(const RemoteState& s) {
  std::string tip = "Corvid  ";
  tip += Text(s.held ? TextId::TrayRemoteConnected : TextId::TrayRemoteMissing);
  // The level as the message's battery text gives it.
  if (s.held && s.batteryKnown) tip += "(" + std::to_string(s.battery) + ")";
  tip += '\n';
  tip += s.mouseMode ? "With MOUSE Mode" : "KBD Mode";
  return tip;
}

TrayStatus::Change TrayStatus::Update(const RemoteState& s) {
  Change c;
  if (s == state_) return c;
  c.icon = s.held != state_.held;
  state_ = s;
  std::string tip = TipFor(s);
  c.tip = tip != tip_;
  tip_ = std::move(tip);
  if (s.held && s.batteryKnown) {
    const bool low = s.battery < kLowBattery;
    c.balloon = low && !lowShown_;
    lowShown_ = low;
  }
  return c;
}

}  // namespace corvid
