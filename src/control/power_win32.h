#pragma once
// Sleep, hibernation, shut-down and restart on the Win32 API. The power
// library is loaded for each request; the shutdown privilege is enabled only
// for the length of the request. No request ever forces other programs.
#include <cstdint>

#include "control/power.h"

namespace corvid {

class Win32Power : public PowerActions {
 public:
  using ExitWindowsCall = int (*)(unsigned flags, unsigned long reason);
  // What a request goes through; tests name a library or privilege that
  // does not exist, or stand in for the shutdown call.
  struct Api {
    const wchar_t* library = L"Powrprof.dll";
    const wchar_t* privilege = L"SeShutdownPrivilege";
    ExitWindowsCall exitWindows = nullptr;  // null: the system's
  };

  Win32Power() = default;
  explicit Win32Power(const Api& api) : api_(api) {}

  void Suspend() override { Suspend(false); }
  void Hibernate() override { Suspend(true); }
  void ShutDown() override { Exit(kShutDown); }
  void Reboot() override { Exit(kReboot); }

  // True when the power library's call was made (it returns when the
  // computer has woken up, or at once when refused).
  bool Suspend(bool hibernate);

  struct ExitSteps {
    bool tokenOpened = false;
    bool privilegeEnabled = false;
    bool requested = false;  // the shutdown call was made
    bool privilegeDisabled = false;
  };
  // The system's flags for the two ways out; anything else is not asked for.
  static constexpr uint32_t kShutDown = 1, kReboot = 2;
  ExitSteps Exit(uint32_t flags);

 private:
  Api api_;
};

}  // namespace corvid
