#pragma once
// What the settings dialogs ask of the system beside their own windows: the
// installed fonts and the standard colour chooser.
#include <cstdint>
#include <string>
#include <vector>

namespace corvid {

class FontList {
 public:
  virtual ~FontList() = default;
  // The face names of the installed screen fonts, in the system's order,
  // each once (UTF-8).
  virtual std::vector<std::string> ScreenFonts() = 0;
};

class ColourChooser {
 public:
  virtual ~ColourChooser() = default;
  // Opens the chooser at `colour` (0x00BBGGRR); true, with the choice in
  // `colour`, when the user confirmed it.
  virtual bool Choose(uint32_t& colour) = 0;
};

}  // namespace corvid
