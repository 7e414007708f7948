// Any text as a recorded session: each line a report, a wait or a problem; no report
// too long, and the waits together within the bound that keeps a replay bounded.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "remote/recorded_session.h"

using namespace corvid;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const RecordedSession s = ParseRecordedSession(text);
  size_t lines = 1;
  for (char c : text) lines += c == '\n' || c == '\r';
  if (s.steps.size() + s.problems.size() > lines) __builtin_trap();
  uint64_t total = 0;
  int last = 0;
  for (const SessionStep& step : s.steps) {
    if (step.line < last || step.bytes.size() > kMaxSessionReportBytes) __builtin_trap();
    last = step.line;
    total += step.waitMs;
  }
  if (total > kMaxSessionTotalMs) __builtin_trap();
  for (const SessionProblem& p : s.problems)
    for (unsigned char c : p.text)
      if (c < 0x20 || c == 0x7F) __builtin_trap();  // shown escaped, never raw
  return 0;
}
