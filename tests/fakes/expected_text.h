#pragma once
// Expectations kept as text files in tests/expected, compared line by line to name the rows that differ.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace corvid {

inline std::string Expected(const char* name) {
  std::ifstream in(std::string(CORVID_SOURCE_DIR) + "/tests/expected/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void ExpectSameLines(const std::string& actual, const std::string& expected) {
  std::istringstream a(actual), e(expected);
  std::string al, el;
  for (int line = 1;; ++line) {
    const bool moreA = static_cast<bool>(std::getline(a, al)), moreE = static_cast<bool>(std::getline(e, el));
    if (!moreA && !moreE) return;
    EXPECT_EQ(moreA ? al : "<none>", moreE ? el : "<none>") << "line " << line;
  }
}

inline std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\n";
  return out;
}

// The lines against tests/expected/FOLDER/TEST.txt, TEST the running test's name.
inline void ExpectTranscript(const std::string& folder, const std::vector<std::string>& lines) {
  const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  ExpectSameLines(Joined(lines), Expected((folder + "/" + test + ".txt").c_str()));
}

}  // namespace corvid
