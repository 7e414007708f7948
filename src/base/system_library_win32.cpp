#include "base/system_library_win32.h"

#include <windows.h>

namespace corvid {

void LimitLibrarySearchToSystem() { SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32); }

HINSTANCE LoadSystemLibrary(const wchar_t* name) {
  return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace corvid
