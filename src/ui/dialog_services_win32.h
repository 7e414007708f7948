#pragma once
// The installed fonts as GDI lists them, and the system's colour chooser.
#include <array>
#include <cstdint>

#include "ui/dialog_services.h"

namespace corvid {

class Win32FontList : public FontList {
 public:
  std::vector<std::string> ScreenFonts() override;
};

class Win32ColourChooser : public ColourChooser {
 public:
  bool Choose(uint32_t& colour) override;

 private:
  std::array<uint32_t, 16> custom_{};  // the chooser's own colours, kept for the run
};

}  // namespace corvid
