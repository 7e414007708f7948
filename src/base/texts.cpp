#include "base/texts.h"

#include <array>

namespace corvid {
namespace {

using Index = std::array<std::string_view, static_cast<size_t>(TextId::kCount)>;

Index Build(TextTable table) {
  Index index{};
  for (size_t i = 0; i < table.size; ++i) index[static_cast<size_t>(table.rows[i].id)] = table.rows[i].text;
  return index;
}

const Index& Of(Language language) {
  static const Index japanese = Build(JapaneseTexts()), english = Build(EnglishTexts());
  return language == Language::English ? english : japanese;
}

Language g_language = Language::Japanese;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool Is(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != b[i]) return false;
  return true;
}

}  // namespace

std::string_view Text(TextId id, Language language) {
  const size_t i = static_cast<size_t>(id);
  return i < static_cast<size_t>(TextId::kCount) ? Of(language)[i] : std::string_view();
}

std::string_view Text(TextId id) { return Text(id, g_language); }
void UseLanguage(Language language) { g_language = language; }
Language LanguageInUse() { return g_language; }

Language ChooseLanguage(std::string_view setting, uint16_t userUiLanguage) {
  while (!setting.empty() && (setting.front() == ' ' || setting.front() == '\t')) setting.remove_prefix(1);
  while (!setting.empty() && (setting.back() == ' ' || setting.back() == '\t')) setting.remove_suffix(1);
  if (Is(setting, "ja")) return Language::Japanese;
  if (Is(setting, "en")) return Language::English;
  // The primary language is the low ten bits.
  return (userUiLanguage & 0x3FF) == (kJapaneseLanguageId & 0x3FF) ? Language::Japanese : Language::English;
}

}  // namespace corvid
