#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/ascii.h"
#include "base/text_view.h"
#include "base/texts.h"
#include "base/utf16.h"

namespace corvid {
namespace {

TEST(LineView, KeepsTheLastLinesInOrderAndObserversSeeEveryOne) {
  LineView view(3);
  std::vector<std::string> seen;
  view.onLine = [&](std::string_view l) { seen.emplace_back(l); };
  for (const char* l : {"a", "b", "c", "d", "a line longer than the small-string buffer"}) view.Append(l);
  EXPECT_EQ(view.Lines(), (std::vector<std::string>{"c", "d", "a line longer than the small-string buffer"}));
  view.SetCapacity(0);  // keeps nothing, still observed
  view.Append("f");
  EXPECT_EQ(view.Size(), 0u);
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c", "d", "a line longer than the small-string buffer", "f"}));
  EXPECT_TRUE(view.Keeps());
  view.onLine = nullptr;
  EXPECT_FALSE(view.Keeps());
}

TEST(Utf16, ConvertsBothWaysAndMarksWhatIsNotText) {
  EXPECT_EQ(Utf8ToUtf16("A\xE3\x82\xAD\xF0\x9F\x98\x80"), (std::u16string{u'A', 0x30AD, 0xD83D, 0xDE00}));
  EXPECT_EQ(Utf16ToUtf8(u"A\u30AD\U0001F600"), "A\xE3\x82\xAD\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8ToUtf16("a\x82\xA0!"), (std::u16string{u'a', 0xFFFD, 0xFFFD, u'!'}));  // Shift-JIS bytes
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, u'x'}), "\xEF\xBF\xBDx");               // lone surrogate
  EXPECT_TRUE(IsValidUtf8("plain \xE3\x82\xAD \xF0\x9F\x98\x80"));
  // Overlong, a surrogate, cut short, past U+10FFFF.
  for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xE3\x82", "\xF4\x90\x80\x80"})
    EXPECT_FALSE(IsValidUtf8(bad)) << ::testing::PrintToString(std::string(bad));
}

TEST(Texts, BothTablesHoldEveryTextOnceAndTheLanguageIsChosenAsSet) {
  for (const TextTable table : {JapaneseTexts(), EnglishTexts()}) {
    std::vector<int> seen(static_cast<size_t>(TextId::kCount));
    for (size_t i = 0; i < table.size; ++i) seen.at(static_cast<size_t>(table.rows[i].id)) += table.rows[i].text != "";
    for (size_t id = 0; id < seen.size(); ++id) EXPECT_EQ(seen[id], 1) << "text " << id;
  }
  EXPECT_EQ(Text(TextId::MenuQuit), "常駐解除(&Q)");  // Japanese until one is chosen
  // The menu's access keys are the same in both languages.
  for (Language l : {Language::Japanese, Language::English}) {
    std::string keys;
    for (TextId id : {TextId::MenuKeyMap, TextId::MenuEnvironment, TextId::MenuMonitor, TextId::MenuLaunchPrograms,
                      TextId::MenuHelpBefore, TextId::MenuQuit}) {
      std::string t(Text(id, l));
      if (id == TextId::MenuHelpBefore) t += Text(TextId::MenuHelpAfter, l);
      keys += t.find('&') == std::string::npos ? '-' : LowerAscii(t[t.find('&') + 1]);
    }
    EXPECT_EQ(keys, "kgmehq");
  }

  // By the setting, else by the display's language (Japanese 0x0411, English 0x0409, German 0x0407).
  std::string chosen;
  for (auto [setting, ui] :
       {std::pair{"auto", 0x0411}, {"auto", 0x0409}, {"ja", 0x0407}, {" EN ", 0x0411}, {"fr", 0x0411}, {"", 0x0407}})
    chosen += ChooseLanguage(setting, static_cast<uint16_t>(ui)) == Language::Japanese ? 'J' : 'E';
  EXPECT_EQ(chosen, "JEJEJE");
}

}  // namespace
}  // namespace corvid
