#pragma once
// The environment settings dialog ("Corvid 動作環境設定"): key repeat
// timing, cursor options, the font, size, place and colours of the on-screen
// message and the start-up switches. Every control writes its setting into
// the live settings the moment it changes, and a change of the message's
// look or place shows "MESSAGE" where the message appears; the buttons decide
// whether the file follows. The window itself is the Win32 view's.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "actions/cursor_hiding.h"
#include "base/screen_size.h"
#include "base/texts.h"
#include "model/settings.h"
#include "config/settings_file.h"
#include "osd/osd_message.h"
#include "ui/dialog_services.h"
#include "ui/window_model.h"

namespace corvid {

// What the dialog changes beside the settings themselves.
class EnvironmentHost {
 public:
  virtual ~EnvironmentHost() = default;
  // KeyIdle or KeyRepeat changed: the repeat timers take the new intervals.
  virtual void ApplyRepeatIntervals() = 0;
  // The dialog closed: the basic key map is the current one again.
  virtual void ResetCurrentAppMap() = 0;
};

// One control of the dialog, in the order they stand from top to bottom (a
// group box begins each group), with the setting it edits and what else a
// change of it does.
struct EnvironmentControl {
  enum Kind : uint8_t { Group, Check, Bar, Font, Swatch, Language };
  enum Effect : uint8_t { None, Preview, RepeatTimers, CursorBack };
  Kind kind;
  TextId caption;
  const char* key = nullptr;  // the setting, as the settings file names it
  Effect effect = None;
  // A bar's range (the position bars' come from the screen), its large
  // step, and what its box adds to the value.
  int32_t min = 0, max = 0, largeChange = 1, shown = 0;
};

class EnvironmentDialog : public WindowModel {
 public:
  struct Ports {
    Settings& settings;
    SettingsFile& file;
    OsdMessage& osd;
    CursorHiding& cursor;
    EnvironmentHost& host;
    ScreenSize& screen;
    FontList& fonts;
    ColourChooser& colours;
  };
  explicit EnvironmentDialog(const Ports& ports);

  static constexpr int32_t kWidth = 368, kHeight = 612;  // also the smallest size
  static constexpr const char* kPreviewText = "MESSAGE";
  std::string Caption() const { return std::string(Text(TextId::EnvCaption)); }
  static std::span<const EnvironmentControl> Controls();
  static constexpr size_t kControlCount = 26;

  // The controls are known by the setting they edit, as the settings file
  // names it ("MesPosx", "HideStart", "MesColorFg" ...).
  struct ScrollBar {
    int32_t min = 0, max = 100, largeChange = 1, position = 0;
  };
  const ScrollBar& Bar(std::string_view key) const { return bars_.at(IndexOf(key)); }
  // The read-only box beside a bar.
  const std::string& ValueText(std::string_view key) const { return values_.at(IndexOf(key)); }
  bool Ticked(std::string_view key) const { return checks_.at(IndexOf(key)); }
  const std::vector<std::string>& Faces() const { return fonts_; }
  const std::string& FaceText() const { return fontText_; }
  // A swatch's colour.
  uint32_t Colour(std::string_view key) const;
  // The language choice: its items (Auto, 日本語, English) and the one the
  // setting holds; a value Corvid does not read counts as Auto.
  static std::array<std::string, 3> LanguageItems();
  int LanguageChoice() const;

  // Once its window exists: centred on the screen, the fonts listed, the
  // position ranges taken from the screen size.
  void Created();
  // Shown, every control from its setting, and in front.
  void Show();
  // Closed, by a button or the close box.
  void Close();

  // A bar moved to `position`.
  void MoveBar(std::string_view key, int32_t position);
  // A check box clicked.
  void Tick(std::string_view key, bool ticked);
  // A face picked from the list or typed.
  void ChooseFace(std::string_view text);
  // A swatch clicked: the colour chooser.
  void PickColour(std::string_view key);
  // A language chosen from the list; Corvid speaks it from the next start.
  void SetLanguageChoice(int item);
  void UseNow();                     // "一時使用"
  void Save();                     // "保存"
  void Cancel() { UseNow(); }  // "中止": the same as "一時使用"

  // The user dragged the message to (x, y): the position bars follow.
  void OsdDragged(int32_t x, int32_t y);

 private:
  // Puts a value into a bar, kept within its range, and writes the bar's
  // position back into the setting, as its change handler does; true when
  // the position moved.
  bool SetBar(size_t at, int32_t value);
  void Preview();
  // Where the control of a setting stands in the table.
  static size_t IndexOf(std::string_view key);

  Ports p_;
  std::array<ScrollBar, kControlCount> bars_{};
  std::array<std::string, kControlCount> values_{};
  std::array<bool, kControlCount> checks_{};
  std::vector<std::string> fonts_;
  std::string fontText_;
  bool following_ = false;
};

}  // namespace corvid
