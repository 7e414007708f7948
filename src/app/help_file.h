#pragma once
// Where the help file is opened from. The current folder comes first, as it
// always did; a program started at sign-in has the system folder as its
// current folder, so the folder of Corvid.exe is tried next.
#include <functional>
#include <string>
#include <string_view>

#include "base/texts.h"

namespace corvid {

struct HelpLocation {
  std::string path;            // empty when the file is in neither folder
  std::string looked[2];       // the full names tried, in order
  int lookedCount = 0;
};

HelpLocation LocateHelp(std::string_view currentFolder, std::string_view programFolder,
                        const std::function<bool(const std::string&)>& exists);

// The page the help opens at in `language`; empty: the file's own first
// page (the Japanese one).
std::string_view HelpTopic(Language language);

// The box's text when the file is in neither folder.
std::string HelpMissingText(const HelpLocation& where);

}  // namespace corvid
