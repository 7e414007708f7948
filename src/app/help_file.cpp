#include "app/help_file.h"

#include "app/tray_menu.h"
#include "base/texts.h"

namespace corvid {

namespace {

std::string InFolder(std::string_view folder) {
  std::string path(folder);
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
  return path + kHelpFile;
}

}  // namespace

HelpLocation LocateHelp(std::string_view currentFolder, std::string_view programFolder,
                        const std::function<bool(const std::string&)>& exists) {
  HelpLocation where;
  for (std::string_view folder : {currentFolder, programFolder}) {
    if (folder.empty()) continue;
    std::string path = InFolder(folder);
    if (where.lookedCount == 1 && where.looked[0] == path) continue;
    where.looked[where.lookedCount++] = path;
    if (exists(path)) {
      where.path = path;
      break;
    }
  }
  return where;
}

std::string_view HelpTopic(Language language) { return language == Language::English ? "en/index.html" : ""; }

std::string HelpMissingText(const HelpLocation& where) {
  std::string text = std::string(Text(TextId::HelpMissingBefore)) + kHelpFile + std::string(Text(TextId::HelpMissingAfter));
  for (int i = 0; i < where.lookedCount; ++i) text += "\n" + where.looked[i];
  return text;
}

}  // namespace corvid
