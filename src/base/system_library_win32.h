#pragma once
// Libraries Corvid loads at run time come from the system folder only: a
// file of the same name beside a portable Corvid.exe, or in the current
// folder, is never run.
#include "base/win32_fwd.h"

namespace corvid {

// At the start of the process: every later load without a folder searches
// the system folder alone.
void LimitLibrarySearchToSystem();
// `name` (e.g. L"hid.dll") from the system folder; null when it is not there.
HINSTANCE LoadSystemLibrary(const wchar_t* name);

}  // namespace corvid
