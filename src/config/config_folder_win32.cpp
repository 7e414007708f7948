#include "config/config_folder_win32.h"

#include <windows.h>
#include <shlobj.h>

#include "base/text_win32.h"

namespace corvid {

std::string FindConfigFolder() {
  wchar_t path[MAX_PATH] = {};
  std::wstring folder;
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, path))) {
    folder = path;
  } else {
    const DWORD n = GetCurrentDirectoryW(MAX_PATH, path);
    folder = (n > 0 && n < MAX_PATH) ? path : L".";
  }
  if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return Narrow(folder) + "\\.corvid\\";
}

}  // namespace corvid
