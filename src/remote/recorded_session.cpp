#include "remote/recorded_session.h"

#include <algorithm>

namespace corvid {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseWait(std::string_view rest, uint32_t& ms) {
  rest = Trim(rest);
  if (rest.empty() || rest.size() > 10) return false;
  uint64_t v = 0;
  for (char c : rest) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  if (v > kMaxSessionWaitMs) return false;
  ms = static_cast<uint32_t>(v);
  return true;
}

// A piece of the line as it can be shown: bytes that are not printable
// ASCII as \xHH.
std::string Shown(std::string_view s) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

// Why the line is not a report, or empty when `out` holds its bytes.
std::string ParseBytes(std::string_view s, std::vector<uint8_t>& out) {
  size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (c == ' ' || c == '\t' || c == '-') {
      ++i;
      continue;
    }
    const int hi = HexDigit(c);
    const int lo = i + 1 < s.size() ? HexDigit(s[i + 1]) : -1;
    const bool endsHere = i + 2 >= s.size() || s[i + 2] == ' ' || s[i + 2] == '\t' || s[i + 2] == '-';
    if (hi < 0 || lo < 0 || !endsHere) {
      size_t end = i;
      while (end < s.size() && s[end] != ' ' && s[end] != '\t' && s[end] != '-') ++end;
      return "not a hex byte: \"" + Shown(s.substr(i, std::min<size_t>(end - i, 32))) + "\"";
    }
    if (out.size() >= kMaxSessionReportBytes) return "report longer than 65536 bytes";
    out.push_back(static_cast<uint8_t>(hi * 16 + lo));
    i += 2;
  }
  return {};
}

}  // namespace

RecordedSession ParseRecordedSession(std::string_view text) {
  RecordedSession session;
  int lineNo = 0;
  uint64_t totalMs = 0;
  while (!text.empty()) {
    // A line ends at CR LF, LF or a lone CR, as in the settings file.
    const size_t at = text.find_first_of("\r\n");
    std::string_view line = text.substr(0, at);
    size_t next = text.size();
    if (at != std::string_view::npos)
      next = at + ((text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1);
    text.remove_prefix(next);
    ++lineNo;
    if (const size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    line = Trim(line);
    if (line.empty()) continue;

    SessionStep step;
    step.line = lineNo;
    if (line.size() >= 4 && (line.substr(0, 4) == "wait" || line.substr(0, 4) == "WAIT")) {
      step.kind = SessionStep::Kind::Wait;
      if (!ParseWait(line.substr(4), step.waitMs)) {
        session.problems.push_back({lineNo, "bad wait (want \"wait N\", N milliseconds up to 3600000)"});
        continue;
      }
      totalMs += step.waitMs;
      if (totalMs > kMaxSessionTotalMs) {
        session.problems.push_back({lineNo, "the waits add up to more than an hour: the rest of the session is skipped"});
        break;
      }
      session.steps.push_back(std::move(step));
      continue;
    }
    std::string why = ParseBytes(line, step.bytes);
    if (!why.empty()) {
      session.problems.push_back({lineNo, std::move(why)});
      continue;
    }
    session.steps.push_back(std::move(step));
  }
  return session;
}

}  // namespace corvid
