#include "ui/environment_dialog.h"

#include <algorithm>
#include <array>
#include <limits>

#include "config/settings_schema.h"

namespace corvid {
namespace {

using C = EnvironmentControl;
using T = TextId;

// Face names in the order a user looks for them: letters without regard
// to case, then as they are.
bool FaceBefore(const std::string& a, const std::string& b) {
  const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
  const bool before = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                   [&](char x, char y) { return lower(x) < lower(y); });
  const bool after = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                  [&](char x, char y) { return lower(x) < lower(y); });
  return before || (!after && a < b);
}

// A std::array: a setting not in the table is an error thrown, not a read
// beyond it.
constexpr auto kControls = std::to_array<EnvironmentControl>({
    {C::Group, T::EnvGroupGeneral},
    {C::Check, T::EnvHideStart, "HideStart"},
    {C::Check, T::EnvLowBattSkip, "LowBattSkip"},
    {C::Check, T::EnvNoPsRep, "NoPsRep"},
    {C::Check, T::EnvStartMouse, "StartMouse"},  // the home mode follows it
    {C::Check, T::EnvFollowForeground, "FollowForeground"},
    {C::Language, T::EnvLanguage, "Language"},
    {C::Group, T::EnvGroupRepeat},
    {C::Bar, T::EnvKeyIdle, "KeyIdle", C::RepeatTimers, kKeyIdleRange.min, kKeyIdleRange.max, 10},
    {C::Bar, T::EnvKeyRepeat, "KeyRepeat", C::RepeatTimers, kKeyRepeatRange.min, kKeyRepeatRange.max, 50},
    {C::Group, T::EnvGroupCursor},
    {C::Check, T::EnvNoCursor, "NoCursor", C::CursorBack},
    {C::Check, T::EnvCurSmooth, "CurSmooth"},
    {C::Check, T::EnvAdjustAspect, "AdjustAspect"},
    {C::Bar, T::EnvCurSpeed, "CurSpeed", C::None, kCurSpeedRange.min, kCurSpeedRange.max},
    {C::Group, T::EnvGroupMessage},
    {C::Font, T::EnvMesFont, "MesFont", C::Preview},
    {C::Bar, T::EnvMesSize, "MesSize", C::Preview, kMesSizeRange.min, kMesSizeRange.max},
    {C::Bar, T::EnvMesPosx, "MesPosx", C::Preview},
    {C::Bar, T::EnvMesPosy, "MesPosy", C::Preview, 0, 0, 1, 60},
    {C::Swatch, T::EnvTextColour, "MesColorFg", C::Preview},
    {C::Swatch, T::EnvBackColour, "MesColorBg", C::Preview},
    {C::Check, T::EnvDispMessage, "DispMessage"},
    {C::Check, T::EnvBkMessage, "BkMessage", C::Preview},
    {C::Check, T::EnvDispChange, "DispChange"},
    {C::Check, T::EnvDispBatt, "DispBatt", C::Preview},
});

// The controls reach their settings through the settings file's table of
// keys, so a setting has one name and one type everywhere.
template <typename T>
T& Field(Settings& s, const char* key) {
  return s.*std::get<T Settings::*>(FindSettingKey(key)->field);
}

int32_t Number(Settings& s, const char* key) {
  const SettingField& f = FindSettingKey(key)->field;
  if (auto d = std::get_if<double Settings::*>(&f)) {
    // A bar holds whole numbers: truncated toward zero.
    using Limits = std::numeric_limits<int32_t>;
    const double v = s.*(*d);
    if (v >= Limits::min() && v <= Limits::max()) return static_cast<int32_t>(v);
    return v < 0 ? Limits::min() : Limits::max();
  }
  return s.*std::get<int32_t Settings::*>(f);
}

void SetNumber(Settings& s, const char* key, int32_t v) {
  const SettingField& f = FindSettingKey(key)->field;
  if (auto d = std::get_if<double Settings::*>(&f)) s.*(*d) = v;
  else s.*std::get<int32_t Settings::*>(f) = v;
}

}  // namespace

EnvironmentDialog::EnvironmentDialog(const Ports& ports) : p_(ports) { Resize(kWidth, kHeight); }

static_assert(std::size(kControls) == EnvironmentDialog::kControlCount);

std::span<const EnvironmentControl> EnvironmentDialog::Controls() { return kControls; }

size_t EnvironmentDialog::IndexOf(std::string_view key) {
  for (size_t i = 0; i < std::size(kControls); ++i)
    if (kControls[i].key && key == kControls[i].key) return i;
  return std::size(kControls);  // out of range: at() throws
}

uint32_t EnvironmentDialog::Colour(std::string_view key) const {
  return Field<uint32_t>(p_.settings, kControls.at(IndexOf(key)).key);
}

void EnvironmentDialog::Created() {
  const int32_t width = p_.screen.ScreenWidth(), height = p_.screen.ScreenHeight();
  MoveTo((width - Place().width) / 2, (height - Place().height) / 2);
  fonts_.clear();
  for (std::string& face : p_.fonts.ScreenFonts())
    if (!face.empty() && face.front() != '@') fonts_.push_back(std::move(face));  // no vertical faces
  // In order, so that a face is found by its name.
  std::sort(fonts_.begin(), fonts_.end(), FaceBefore);
  fonts_.erase(std::unique(fonts_.begin(), fonts_.end()), fonts_.end());
  for (size_t i = 0; i < std::size(kControls); ++i) {
    const EnvironmentControl& c = kControls[i];
    if (c.kind != C::Bar) continue;
    ScrollBar& b = bars_[i];
    b = {c.min, c.max, c.largeChange, c.min};
    const std::string_view key = c.key;
    if (key == "MesPosx" || key == "MesPosy") {
      const SettingRange r = key == "MesPosx" ? MesPosxRange(width) : MesPosyRange(height);
      b.min = r.min;
      b.max = r.max;
    }
    b.position = std::clamp(0, b.min, b.max);
  }
}

void EnvironmentDialog::Show() {
  if (Visible()) {
    BringToFront();
    return;
  }
  // Every control from its setting. A value beyond its bar's range is
  // brought in, and the setting takes it at once.
  Settings& s = p_.settings;
  for (size_t i = 0; i < std::size(kControls); ++i) {
    const EnvironmentControl& c = kControls[i];
    if (c.kind == C::Bar) SetBar(i, Number(s, c.key));
    // A box set to another state runs its click handler, as a click would.
    if (c.kind == C::Check && checks_[i] != Field<bool>(s, c.key)) Tick(c.key, !checks_[i]);
    if (c.kind == C::Font) fontText_ = Field<std::string>(s, c.key);
  }
  // The face in use is in the list even when it is not installed, so that
  // picking another one can be undone from the list.
  const auto at = std::lower_bound(fonts_.begin(), fonts_.end(), fontText_, FaceBefore);
  if (!fontText_.empty() && (at == fonts_.end() || *at != fontText_)) fonts_.insert(at, fontText_);
  // The message can be dragged to its place while the dialog shows.
  p_.osd.SetDraggable(true);
  SetVisible(true);
  Preview();
  BringToFront();
}

void EnvironmentDialog::Close() {
  if (!Visible()) return;
  // The preview goes.
  p_.osd.PushOsd(0);
  p_.osd.SetDraggable(false);
  p_.host.ResetCurrentAppMap();
  SetVisible(false);
}

bool EnvironmentDialog::SetBar(size_t at, int32_t value) {
  const EnvironmentControl& c = kControls.at(at);
  ScrollBar& b = bars_.at(at);
  const int32_t before = b.position;
  b.position = std::clamp(value, b.min, b.max);
  SetNumber(p_.settings, c.key, b.position);
  values_[at] = std::to_string(int64_t{b.position} + c.shown);
  if (c.effect == C::RepeatTimers) p_.host.ApplyRepeatIntervals();
  return b.position != before;
}

void EnvironmentDialog::MoveBar(std::string_view key, int32_t position) {
  const size_t at = IndexOf(key);
  SetBar(at, position);
  if (kControls.at(at).effect == C::Preview) Preview();
  Changed();
}

void EnvironmentDialog::Tick(std::string_view key, bool ticked) {
  const size_t at = IndexOf(key);
  const EnvironmentControl& c = kControls.at(at);
  checks_.at(at) = ticked;
  Field<bool>(p_.settings, c.key) = ticked;
  if (c.effect == C::Preview) Preview();
  // Hiding switched off: a hidden pointer comes back now, not at the next
  // mouse movement.
  if (c.effect == C::CursorBack && !ticked) p_.cursor.StopWaitEraseAndShow();
  Changed();
}

void EnvironmentDialog::ChooseFace(std::string_view text) {
  fontText_.assign(text);
  p_.settings.MesFont = fontText_;
  Preview();
  Changed();
}

std::array<std::string, 3> EnvironmentDialog::LanguageItems() {
  return {std::string(Text(TextId::EnvLanguageAuto)), std::string(Text(TextId::EnvLanguageJapanese)),
          std::string(Text(TextId::EnvLanguageEnglish))};
}

namespace {
constexpr const char* kLanguageValues[] = {"auto", "ja", "en"};
}  // namespace

int EnvironmentDialog::LanguageChoice() const {
  const std::optional<Language> named = NamedLanguage(p_.settings.Language);
  return !named ? 0 : *named == Language::Japanese ? 1 : 2;
}

void EnvironmentDialog::SetLanguageChoice(int item) {
  if (item < 0 || item >= 3 || item == LanguageChoice()) return;
  p_.settings.Language = kLanguageValues[item];
  Changed();
}

void EnvironmentDialog::PickColour(std::string_view key) {
  // The chooser opens at the colour in use, not at the last one chosen.
  uint32_t colour = Colour(key);
  if (!p_.colours.Choose(colour)) return;
  Field<uint32_t>(p_.settings, kControls.at(IndexOf(key)).key) = colour;
  Preview();
  Changed();
}

void EnvironmentDialog::UseNow() {
  p_.file.Reload();
  Close();
}

void EnvironmentDialog::Save() {
  p_.file.SaveSystemSettings();
  Close();
}

void EnvironmentDialog::OsdDragged(int32_t x, int32_t y) {
  // Closed, the dialog loads the place when it opens next. The preview
  // moves the message, which reports its place again: one pass is enough.
  if (!Visible() || following_) return;
  following_ = true;
  const bool movedX = SetBar(IndexOf("MesPosx"), x), movedY = SetBar(IndexOf("MesPosy"), y);
  // Beyond a bar's range the message goes back within it.
  if (p_.settings.MesPosx != x || p_.settings.MesPosy != y) Preview();
  following_ = false;
  if (movedX || movedY) Changed();
}

void EnvironmentDialog::Preview() {
  // The preview stays while the user works.
  p_.osd.ShowSteady(kPreviewText);
}

}  // namespace corvid
