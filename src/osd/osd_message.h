#pragma once
// The fading on-screen message: draws a text (with a soft shadow and the
// battery suffix) into the picture, shows it at full opacity for a second,
// fades it out, and lets the user drag it to a new place.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/message_boxes.h"
#include "base/screen_size.h"
#include "base/timer.h"
#include "model/settings.h"
#include "osd/glyph_renderer.h"
#include "osd/layered_surface.h"
#include "osd/message_display.h"
#include "osd/osd_bitmap.h"

namespace corvid {

class OsdMessage : public MessageDisplay {
 public:
  OsdMessage(TimerHost& timers, GlyphRenderer& glyphs, LayeredSurface& surface, ScreenSize& screen,
             MessageBoxes& boxes);

  // The settings and the battery level belong to the main window, which is
  // made after this; until then (and until the window exists) messages are
  // dropped.
  void Bind(Settings& settings, const int32_t& batteryLevel);

  void ShowMessage(std::string_view text) override;
  void HoldDrawing() override { holding_ = true; }
  void DrawHeld() override;
  void RenderMessage(std::string_view text, int32_t alpha);
  void PushOsd(int32_t alpha);
  // `text` shown at full strength until the next message: no fade under way
  // from an earlier one takes it away (the environment settings' preview).
  void ShowSteady(std::string_view text);

  void OnFadeDelay();
  void OnFadeStep();

  // Decisions of the window procedure. LButtonDown answers whether the
  // window should hand the press to the system as a caption drag.
  bool OsdWindowLButtonDown();
  void OsdWindowPosChanged(int32_t left, int32_t top);
  void OsdWindowLButtonUp();
  // The system's move loop swallows the button release; its end is the
  // release.
  void OsdWindowMoveEnded();
  // While the environment settings show, the message can be dragged by its
  // letters; otherwise clicks go through it to the window below.
  void SetDraggable(bool on) { surface_.SetClickThrough(!on); }

  // Each message shown (a replay prints them).
  std::function<void(std::string_view text)> onShow;
  // Each place a drag takes: the environment settings' position bars follow.
  std::function<void(int32_t x, int32_t y)> onDragMove;

  int32_t OsdAlpha = 255;
  bool OsdDragging = false;
  Timer fadeDelayTimer;
  Timer fadeStepTimer;

  const OsdBitmap& Bitmap() const { return OsdBitmap_; }
  // The text last drawn, battery suffix included.
  const std::string& DrawnText() const { return text_; }
  size_t MemoryBytes() const { return OsdBitmap_.MemoryBytes() + text_.capacity(); }

 private:
  bool Ready() const { return settings_ && surface_.Exists(); }
  void Draw(std::string_view text);
  void ReportPushFailure();

  GlyphRenderer& glyphs_;
  LayeredSurface& surface_;
  ScreenSize& screen_;
  MessageBoxes& boxes_;
  Settings* settings_ = nullptr;
  const int32_t* batteryLevel_ = nullptr;
  OsdBitmap OsdBitmap_;
  std::string text_;  // reused, so a message costs no allocation
  std::string held_;  // the last message announced while drawing is held
  bool holding_ = false, hasHeld_ = false;
  bool boxOpen_ = false;
};

}  // namespace corvid
