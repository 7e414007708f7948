#include "config/profile_file.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

std::string Value(const ProfileFile& p, const char* s, const char* k) { return p.GetString(s, k, "<none>"); }

// The quirks of the system's reader, matched key by key on Wine.
TEST(ProfileFileRead, CaseBlanksDuplicatesQuotesCommentsAndLongValues) {
  auto p = ProfileFile::Parse(
      "\xEF\xBB\xBF[System]\r\n  MesSize =  30 \r\nmessize=99\r\nq=\"two words\"\r\nh='x'\r\nempty=\r\n"
      "odd=\"x'\r\n; c=1\r\njustText\r\n"
      "[system]\r\nMesFont=Late\r\n[ Times ]\r\nlong=" +
      std::string(5000, 'v') + "\r\nKeyIdle=\t700");
  EXPECT_TRUE(p.HadByteOrderMark());
  EXPECT_EQ(Value(p, "SYSTEM", "MESSIZE"), "30");
  EXPECT_EQ(Value(p, "System", "MesFont"), "<none>");  // only the first section is read
  EXPECT_EQ(Value(p, "Times", "KeyIdle"), "700");      // last line without an ending
  // A comment line with "=" is a key; quotes go only in pairs.
  for (auto [key, want] :
       {std::pair{"q", "two words"}, {"h", "x"}, {"empty", ""}, {"odd", "\"x'"}, {"; c", "1"}, {"justText", "<none>"}})
    EXPECT_EQ(Value(p, "System", key), want) << key;
  EXPECT_EQ(Value(p, "Times", "long").size(), kProfileValueMax);
}

TEST(ProfileFileWrite, KeepsEveryOtherLineItsPlaceAndItsEndingAndRunsOfThemWhole) {
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
  // A deleted key stays deleted, not replaced by a later line of its name.
  auto d = ProfileFile::Parse("[Items-1]\r\nBD28=0000,00,\r\nBD28=fig\r\n");
  d.Delete("Items-1", "BD28");
  EXPECT_EQ(Value(d, "Items-1", "BD28"), "<none>");
  // New lines end as the file's first line does; a lone CR ends a line too, and keeps its ending.
  EXPECT_EQ(Value(ProfileFile::Parse("[A]\nx=1\rz=3\r"), "A", "z"), "3");
  for (auto [in, section, want] : {std::tuple{"[A]\nx=1", "A", "[A]\nx=1\ny=2\n"},
                                   {"[A]\nx=1\rz=3\r", "B", "[A]\nx=1\rz=3\r[B]\ny=2\n"},
                                   {"", "S", "[S]\r\ny=2\r\n"}}) {
    auto f = ProfileFile::Parse(in);
    f.Set(section, "y", "2");
    EXPECT_EQ(f.Serialize(), want) << in;
  }

  // A run is split where a key goes.
  const std::string runs = "[S]\r\nk=1\r\n; note\r\nplain text\r\n\r\n  \r\n[T]\r\n" + std::string(100000, '\n');
  p = ProfileFile::Parse(runs);
  EXPECT_EQ(p.Serialize(), runs);
  EXPECT_LT(p.MemoryBytes(), 2 * runs.size() + 4096);  // the blank lines cost their bytes only
  p.Set("S", "new", "2");                              // after the note, before the blank lines
  EXPECT_EQ(p.Serialize().rfind("[S]\r\nk=1\r\n; note\r\nplain text\r\nnew=2\r\n\r\n  \r\n[T]\r\n", 0), 0u);
  p.Set("T", "x", "3");
  EXPECT_NE(p.Serialize().find("[T]\r\nx=3\r\n\n\n"), std::string::npos);
  EXPECT_EQ(p.GetString("T", "x", ""), "3");
  EXPECT_FALSE(ProfileFile::Parse(std::string(50, '\0') + "\n;no keys\n").HasKeys());
}

}  // namespace
}  // namespace corvid
