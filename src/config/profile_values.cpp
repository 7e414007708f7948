#include "config/profile_values.h"

#include <cstdio>

#include "model/key_map.h"

namespace corvid {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool ParseHex32(std::string_view t, uint32_t& out) {
  while (t.size() > 8 && t.front() == '0') t.remove_prefix(1);
  if (t.empty() || t.size() > 8) return false;
  uint32_t v = 0;
  for (char c : t) {
    const int d = HexValue(c);
    if (d < 0) return false;
    v = (v << 4) | static_cast<uint32_t>(d);
  }
  out = v;
  return true;
}

bool ParseProfileInteger(std::string_view t, int32_t& out) {
  bool negative = false;
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
    negative = t.front() == '-';
    t.remove_prefix(1);
  }
  int64_t v = 0;
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    uint32_t h;
    if (!ParseHex32(t.substr(2), h)) return false;
    v = static_cast<int32_t>(h);  // 0xFFFFFFFF is -1, as a 32-bit conversion gives
  } else if (t.size() > 1 && t[0] == '$') {
    uint32_t h;
    if (!ParseHex32(t.substr(1), h)) return false;
    v = static_cast<int32_t>(h);
  } else {
    if (t.empty() || t.size() > 10) return false;
    for (char c : t) {
      if (c < '0' || c > '9') return false;
      v = v * 10 + (c - '0');
    }
    if (v > (negative ? 2147483648LL : 2147483647LL)) return false;
  }
  out = static_cast<int32_t>(negative ? -v : v);
  return true;
}

bool ParseKeyMapValue(std::string_view text, KeyMapEntry& out) {
  // Cut at commas as strtok does.
  std::string_view tokens[3];
  int n = 0;
  size_t i = 0;
  while (n < 3 && i < text.size()) {
    while (i < text.size() && text[i] == ',') ++i;
    if (i >= text.size()) break;
    const size_t end = text.find(',', i);
    tokens[n++] = text.substr(i, (end == std::string_view::npos ? text.size() : end) - i);
    i = end == std::string_view::npos ? text.size() : end + 1;
  }
  uint32_t param, key;
  if (!ParseHex32(tokens[0], param) || !ParseHex32(tokens[1], key)) return false;
  out.Param = param;
  out.Key = static_cast<uint16_t>(key & 0xFFFF);
  out.Message.assign(tokens[2]);
  return true;
}

std::string FormatKeyMapValue(const KeyMapEntry& e) {
  char b[32];
  std::snprintf(b, sizeof b, "%04X,%02X,", static_cast<unsigned>(e.Param), static_cast<unsigned>(e.Key));
  return b + e.Message;
}

}  // namespace corvid
