#pragma once
// What every settings window's model shares: where the window is and whether
// it is shown. The Win32 view reports the user's moves and follows the
// model's; handlers that place a window beside another read both.
#include <cstdint>
#include <functional>

namespace corvid {

struct Bounds {
  int32_t left = 0, top = 0, width = 0, height = 0;
  int32_t Right() const { return left + width; }
  bool operator==(const Bounds&) const = default;
};

// The left edge of a window `width` wide put beside `other`: on the side
// asked for when it fits on the screen there, else on the other side, else
// against the screen's edge nearer that side. A window beside a large one
// at high DPI would otherwise open partly or wholly off the screen.
inline int32_t BesideLeftEdge(const Bounds& other, int32_t width, int32_t screenWidth, bool onRight) {
  const int32_t right = other.Right(), left = other.left - width;
  const bool rightFits = right + width <= screenWidth, leftFits = left >= 0;
  if (onRight ? rightFits : !leftFits && rightFits) return right;
  if (leftFits) return left;
  return onRight ? screenWidth - width : 0;
}

class WindowModel {
 public:
  virtual ~WindowModel() = default;
  bool Visible() const { return visible_; }
  const Bounds& Place() const { return bounds_; }
  // The view: the user moved or sized the window.
  void Moved(const Bounds& b) { bounds_ = b; }
  // The model moves it (the view follows through onChange).
  void MoveTo(int32_t left, int32_t top) {
    bounds_.left = left;
    bounds_.top = top;
    Changed();
  }
  void Resize(int32_t width, int32_t height) {
    bounds_.width = width;
    bounds_.height = height;
    Changed();
  }

  // Asks the view to put the window in front of the others.
  void BringToFront() {
    ++fronted_;
    Changed();
  }
  uint32_t FrontRequests() const { return fronted_; }

  // The view repaints from the model.
  std::function<void()> onChange;

 protected:
  void SetVisible(bool on) {
    if (visible_ == on) return;
    visible_ = on;
    Changed();
  }
  void Changed() {
    if (onChange) onChange();
  }

 private:
  bool visible_ = false;
  uint32_t fronted_ = 0;
  Bounds bounds_;
};

}  // namespace corvid
