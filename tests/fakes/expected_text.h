#pragma once
// Expectations kept as text files in tests/expected, compared line by line
// so that a failure names the rows that differ.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace corvid {

inline std::string Expected(const char* name) {
  std::ifstream in(std::string(CORVID_SOURCE_DIR) + "/tests/expected/" + name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void ExpectSameLines(const std::string& actual, const std::string& expected) {
  std::istringstream a(actual), e(expected);
  std::string al, el;
  int line = 0;
  while (true) {
    const bool moreA = static_cast<bool>(std::getline(a, al)), moreE = static_cast<bool>(std::getline(e, el));
    if (!moreA && !moreE) break;
    ++line;
    EXPECT_EQ(moreA ? al : "<none>", moreE ? el : "<none>") << "line " << line;
  }
}

inline std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\n";
  return out;
}

}  // namespace corvid
