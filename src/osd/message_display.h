#pragma once
#include <string_view>

namespace corvid {

// The fading on-screen message.
class MessageDisplay {
 public:
  virtual ~MessageDisplay() = default;
  virtual void ShowMessage(std::string_view text) = 0;
  // While drawing is held, a message is announced at once and drawn when the
  // hold ends: a press's keys go out first, and the picture, which takes
  // milliseconds to make, follows them.
  virtual void HoldDrawing() {}
  virtual void DrawHeld() {}
};

// Holds the drawing for a scope; Draw() ends the hold early (before a wait).
class HeldDrawing {
 public:
  explicit HeldDrawing(MessageDisplay& display) : display_(&display) { display.HoldDrawing(); }
  HeldDrawing(const HeldDrawing&) = delete;
  HeldDrawing& operator=(const HeldDrawing&) = delete;
  ~HeldDrawing() { Draw(); }
  void Draw() {
    if (MessageDisplay* d = display_) {
      display_ = nullptr;
      d->DrawHeld();
    }
  }

 private:
  MessageDisplay* display_;
};

}  // namespace corvid
