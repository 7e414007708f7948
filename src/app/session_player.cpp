#include "app/session_player.h"

namespace corvid {

void PlaySession(const RecordedSession& session, TForm1& form, ManualClock& clock) {
  for (const SessionStep& step : session.steps) {
    if (step.kind == SessionStep::Kind::Wait) {
      clock.Advance(step.waitMs);
      continue;
    }
    if (step.bytes.empty()) continue;
    form.JvHidDeviceController1DeviceData(step.bytes[0], step.bytes.data() + 1, step.bytes.size() - 1);
    clock.RunDue();  // timers that came due during a wait inside the handler
  }
}

}  // namespace corvid
