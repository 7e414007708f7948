// A stand-in hid.dll for the tests: loaded, it leaves a file named
// "planted-library-ran" in the current folder. Corvid must never load it.
#include <windows.h>

#include "base/handles_win32.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    const corvid::UniqueHandle made(
        CreateFileW(L"planted-library-ran", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  return TRUE;
}
