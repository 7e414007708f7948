#pragma once
#include "app/manual_clock.h"
#include "app/tform1.h"
#include "remote/recorded_session.h"

namespace corvid {

// Feeds a recorded session to the report handler as the HID layer would,
// moving the replay clock for every wait.
void PlaySession(const RecordedSession& session, TForm1& form, ManualClock& clock);

}  // namespace corvid
