#include "base/texts.h"

#include <array>

#include "base/ascii.h"

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

}  // namespace

std::string_view Text(TextId id, Language language) {
  const size_t i = static_cast<size_t>(id);
  return i < static_cast<size_t>(TextId::kCount) ? Of(language)[i] : std::string_view();
}

std::string_view Text(TextId id) { return Text(id, g_language); }
void UseLanguage(Language language) { g_language = language; }
Language LanguageInUse() { return g_language; }

std::optional<Language> NamedLanguage(std::string_view setting) {
  while (!setting.empty() && (setting.front() == ' ' || setting.front() == '\t')) setting.remove_prefix(1);
  while (!setting.empty() && (setting.back() == ' ' || setting.back() == '\t')) setting.remove_suffix(1);
  if (EqualsIgnoringCase(setting, "ja")) return Language::Japanese;
  if (EqualsIgnoringCase(setting, "en")) return Language::English;
  return std::nullopt;
}

Language ChooseLanguage(std::string_view setting, uint16_t userUiLanguage) {
  if (const std::optional<Language> named = NamedLanguage(setting)) return *named;
  // The primary language is the low ten bits.
  return (userUiLanguage & 0x3FF) == (kJapaneseLanguageId & 0x3FF) ? Language::Japanese : Language::English;
}

}  // namespace corvid
