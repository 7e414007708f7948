#include "config/profile_file.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

std::string Value(const ProfileFile& p, const char* s, const char* k) { return p.GetString(s, k, "<none>"); }

TEST(ProfileFileRead, NamesCaseAndBlanksAndDuplicates) {
  auto p = ProfileFile::Parse(
      "[System]\r\n  MesSize =  30 \r\nmessize=99\r\n[system]\r\nMesFont=Late\r\n[ Times ]\r\nKeyIdle=\t700");
  EXPECT_EQ(Value(p, "SYSTEM", "MESSIZE"), "30");
  EXPECT_EQ(Value(p, "System", "MesFont"), "<none>");  // only the first section is read
  EXPECT_EQ(Value(p, "Times", "KeyIdle"), "700");     // last line without an ending
}

TEST(ProfileFileRead, QuotesCommentsAndLinesWithoutEquals) {
  auto p = ProfileFile::Parse(
      "\xEF\xBB\xBF[A]\nq=\"two words\"\nh='x'\nodd=\"x'\n; c=1\njustText\n=orphan\nempty=\n");
  EXPECT_TRUE(p.HadByteOrderMark());
  EXPECT_EQ(Value(p, "A", "q"), "two words");
  EXPECT_EQ(Value(p, "A", "h"), "x");
  EXPECT_EQ(Value(p, "A", "odd"), "\"x'");
  // As for the system's reader, a comment line with "=" is a key.
  EXPECT_EQ(Value(p, "A", "; c"), "1");
  EXPECT_EQ(Value(p, "A", "justText"), "<none>");
  EXPECT_EQ(Value(p, "A", "empty"), "");
}

TEST(ProfileFileRead, LongValuesAreCutToTheBuffer) {
  auto p = ProfileFile::Parse("[A]\nk=" + std::string(5000, 'v') + "\n");
  EXPECT_EQ(Value(p, "A", "k").size(), kProfileValueMax);
}

TEST(ProfileFileWrite, KeepsEveryOtherLineAndItsPlace) {
  const std::string text = "; my notes\r\n[System]\r\nMine=keep me\r\n MesSize = 30\r\n\r\n[Other]\r\nx=1\r\n";
  auto p = ProfileFile::Parse(text);
  EXPECT_EQ(p.Serialize(), text);  // untouched file comes back byte for byte
  p.Set("system", "messize", "46");
  p.Set("System", "NewKey", "1");
  p.Set("Times", "KeyIdle", "500");
  EXPECT_EQ(p.Serialize(),
            "; my notes\r\n[System]\r\nMine=keep me\r\nMesSize=46\r\nNewKey=1\r\n\r\n[Other]\r\nx=1\r\n"
            "[Times]\r\nKeyIdle=500\r\n");
  p.Delete("OTHER", "X");
  EXPECT_EQ(Value(p, "Other", "x"), "<none>");
}

TEST(ProfileFileWrite, KeepsLfEndingsAndAFileWithoutLastEnding) {
  auto p = ProfileFile::Parse("[A]\nx=1");
  p.Set("A", "y", "2");
  EXPECT_EQ(p.Serialize(), "[A]\nx=1\ny=2\n");
  auto q = ProfileFile::Parse("");
  q.Set("S", "k", "v");
  EXPECT_EQ(q.Serialize(), "[S]\r\nk=v\r\n");
}

}  // namespace
}  // namespace corvid
