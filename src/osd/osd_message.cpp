#include "osd/osd_message.h"

#include <algorithm>
#include <charconv>

namespace corvid {

namespace {
constexpr uint32_t kHoldMs = 1000;
constexpr uint32_t kFadeStepMs = 5;
constexpr int kShadowBlurs = 6;
}  // namespace

OsdMessage::OsdMessage(TimerHost& timers, GlyphRenderer& glyphs, LayeredSurface& surface, ScreenSize& screen,
                       MessageBoxes& boxes)
    : fadeDelayTimer(timers, kHoldMs, [this] { OnFadeDelay(); }),
      fadeStepTimer(timers, kFadeStepMs, [this] { OnFadeStep(); }),
      glyphs_(glyphs),
      surface_(surface),
      screen_(screen),
      boxes_(boxes) {
  text_.reserve(128);
}

void OsdMessage::Bind(Settings& settings, const int32_t& batteryLevel) {
  settings_ = &settings;
  batteryLevel_ = &batteryLevel;
}

void OsdMessage::ShowMessage(std::string_view text) {
  if (!Ready()) return;
  if (onShow) onShow(text);
  if (holding_) {
    held_.assign(text);  // a later one replaces it, as on the screen
    hasHeld_ = true;
    return;
  }
  Draw(text);
}

void OsdMessage::DrawHeld() {
  holding_ = false;
  if (!hasHeld_) return;
  hasHeld_ = false;
  if (Ready()) Draw(held_);
}

void OsdMessage::Draw(std::string_view text) {
  if (fadeStepTimer.Enabled() || fadeDelayTimer.Enabled()) {
    // The previous message vanishes at once.
    fadeStepTimer.Stop();
    fadeDelayTimer.Stop();
    PushOsd(0);
  }
  surface_.BringToTop();
  OsdAlpha = 255;
  RenderMessage(text, 255);
  fadeDelayTimer.Start();
}

void OsdMessage::RenderMessage(std::string_view text, int32_t alpha) {
  if (!Ready()) return;
  const Settings& s = *settings_;
  text_.assign(text);
  if (s.DispBatt) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, *batteryLevel_).ptr;
    text_ += '(';
    text_.append(digits, end);
    text_ += ')';
  }

  // The picture follows the screen: as wide as it, a tenth of its height.
  const OsdSize screen{screen_.ScreenWidth(), screen_.ScreenHeight()};
  const OsdSize area{std::max(screen.width, 0), std::max(screen.height, 0) / 10};
  if (OsdBitmap_.Size() != area) OsdBitmap_.Resize(area.width, area.height);
  OsdBitmap_.Clear();

  if (!text_.empty()) {
    const OsdFont font{s.MesFont, s.MesSize};
    OsdSize size = glyphs_.Measure(text_, font);
    size = {std::max(size.width, 0), std::max(size.height, 0)};
    const OsdPoint at = CentreText(area, size);
    if (s.BkMessage) {
      const OsdRect shadow = ShadowRect(at, size, area);
      glyphs_.Draw(OsdBitmap_, text_, font, at.x + 2, at.y + 2, s.MesColorBg, 0);
      glyphs_.Draw(OsdBitmap_, text_, font, at.x, at.y + 2, s.MesColorBg, 4);
      for (int i = 0; i < kShadowBlurs; ++i) OsdBitmap_.BlurRect(shadow);
    }
    glyphs_.Draw(OsdBitmap_, text_, font, at.x, at.y, s.MesColorFg, 4);
  }
  PushOsd(alpha);
}

void OsdMessage::PushOsd(int32_t alpha) {
  if (!Ready()) return;
  const auto a = static_cast<uint8_t>(std::clamp(alpha, 0, 255));
  if (!surface_.Push(OsdBitmap_, settings_->MesPosx, settings_->MesPosy, a)) ReportPushFailure();
}

void OsdMessage::ReportPushFailure() {
  // The box runs its own message loop, in which timers may push again; one
  // box at a time is enough.
  if (boxOpen_) return;
  boxOpen_ = true;
  boxes_.Show("Cannat Create ExSTYLE", "Oh!", MessageBoxes::kOkCancel);  // the answer is not used
  boxOpen_ = false;
}

void OsdMessage::OnFadeDelay() {
  fadeDelayTimer.Stop();
  fadeStepTimer.Start();
}

void OsdMessage::OnFadeStep() {
  if (OsdAlpha > 20) {
    OsdAlpha -= 10;
    surface_.SetAlpha(static_cast<uint8_t>(OsdAlpha));
  } else {
    fadeStepTimer.Stop();
    surface_.SetAlpha(0);
    OsdAlpha = 255;
  }
}

bool OsdMessage::OsdWindowLButtonDown() {
  OsdDragging = true;
  return true;
}

void OsdMessage::OsdWindowPosChanged(int32_t left, int32_t top) {
  if (!OsdDragging || !settings_) return;
  // A top of exactly 0, or one below the screen, is not taken as a place.
  if (top != 0 && top < screen_.ScreenHeight()) {
    settings_->MesPosx = left;
    settings_->MesPosy = top;
    // Told here, not at the mouse's moves: the system's move loop keeps
    // those to itself while the message is dragged.
    if (onDragMove) onDragMove(left, top);
  }
}

void OsdMessage::OsdWindowLButtonUp() { OsdDragging = false; }

void OsdMessage::OsdWindowMoveEnded() { OsdDragging = false; }

void OsdMessage::ShowSteady(std::string_view text) {
  fadeDelayTimer.Stop();
  fadeStepTimer.Stop();
  OsdAlpha = 255;
  RenderMessage(text, 255);
}

}  // namespace corvid
