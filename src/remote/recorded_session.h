#pragma once
// A recorded remote session as text: one report a line as hex bytes (report
// identifier first, spaces or dashes between bytes), "wait N" for N ms of the
// replay clock, "#" to the end of a line is a comment.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvid {

struct SessionStep {
  enum class Kind : uint8_t { Report, Wait };
  Kind kind = Kind::Report;
  uint32_t waitMs = 0;
  std::vector<uint8_t> bytes;  // report identifier, then the data
  int line = 0;
};

struct SessionProblem {
  int line = 0;
  std::string text;
};

struct RecordedSession {
  std::vector<SessionStep> steps;
  std::vector<SessionProblem> problems;  // bad lines, skipped
};

inline constexpr size_t kMaxSessionReportBytes = 65536;  // identifier + 16-bit length
inline constexpr uint32_t kMaxSessionWaitMs = 3'600'000;
// The waits of a whole session add up to at most this; a held key repeats
// through every one of them, so the work of a replay stays bounded.
inline constexpr uint64_t kMaxSessionTotalMs = 3'600'000;

RecordedSession ParseRecordedSession(std::string_view text);

}  // namespace corvid
