#pragma once
// The class box of the launch-program settings, as the window picker sees it.
#include <string>
#include <vector>

#include "app/hooks.h"

namespace corvid {

struct FakePicker : PickerTarget {
  void SetTargetClass(std::string_view c) override { log.push_back("class " + std::string(c)); }
  void SetPicking(bool on) override { log.push_back(on ? "yellow" : "normal"); }
  std::vector<std::string> log;
};

}  // namespace corvid
