#include "control/power_win32.h"

#include <windows.h>

#include "base/handles_win32.h"
#include "base/system_library_win32.h"

namespace corvid {
namespace {

using SetSuspendStateCall = BOOLEAN(WINAPI*)(BOOLEAN hibernate, BOOLEAN force, BOOLEAN disableWakeEvent);

int SystemExitWindows(unsigned flags, unsigned long reason) { return ExitWindowsEx(flags, reason); }

bool SetShutdownPrivilege(HANDLE token, LUID id, bool enabled) {
  TOKEN_PRIVILEGES tp{};
  tp.PrivilegeCount = 1;
  tp.Privileges[0].Luid = id;
  tp.Privileges[0].Attributes = enabled ? SE_PRIVILEGE_ENABLED : 0;
  // Succeeds without assigning what the token does not hold: the last
  // error tells.
  return AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr) && GetLastError() == ERROR_SUCCESS;
}

}  // namespace

bool Win32Power::Suspend(bool hibernate) {
  HMODULE library = LoadSystemLibrary(api_.library);
  if (!library) return false;
  const auto call = reinterpret_cast<SetSuspendStateCall>(
      reinterpret_cast<void*>(GetProcAddress(library, "SetSuspendState")));
  if (call) call(hibernate ? TRUE : FALSE, FALSE, FALSE);
  FreeLibrary(library);
  return call != nullptr;
}

Win32Power::ExitSteps Win32Power::Exit(uint32_t flags) {
  ExitSteps steps;
  // Only shut-down and restart, never a forcing flag; 0 would log off.
  flags &= EWX_SHUTDOWN | EWX_REBOOT;
  if (flags == 0) return steps;
  UniqueHandle token;
  steps.tokenOpened =
      OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Put()) != FALSE;
  LUID id{};
  const bool known = LookupPrivilegeValueW(nullptr, api_.privilege, &id) != FALSE;
  if (steps.tokenOpened && known) steps.privilegeEnabled = SetShutdownPrivilege(token.Get(), id, true);
  // Asked even when the privilege was refused: the system then refuses the
  // request, and nothing is shown.
  steps.requested = true;
  (api_.exitWindows ? api_.exitWindows : SystemExitWindows)(flags, 0);
  if (steps.tokenOpened && known) steps.privilegeDisabled = SetShutdownPrivilege(token.Get(), id, false);
  return steps;
}

}  // namespace corvid
