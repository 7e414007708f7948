#include "actions/mouse_motion.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "model/key_map.h"

namespace corvid {
namespace {

constexpr uint32_t kWheelPeriodMs = 30;
constexpr uint32_t kClickWaitMs = 10;

// Whole pixels toward zero. A hostile CurSpeed can make a step that no
// integer holds; it is pinned instead of being undefined.
int32_t TruncatePixels(double v) {
  if (std::isnan(v)) return 0;
  v = std::trunc(v);
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(v);
}

}  // namespace

MouseMotion::MouseMotion(TimerHost& timers, Clock& clock, Injector& input, const Settings& settings,
                         TextView& codeMonitor, ScreenSize& screen, OwnWindows& own)
    : cursorTimer(timers, 10, [this] { OnCursorStep(); }),
      wheelTimer(timers, kWheelPeriodMs, [this] { OnWheelStep(); }),
      clock_(clock),
      input_(input),
      settings_(settings),
      monitor_(codeMonitor),
      screen_(screen),
      own_(own) {
  ApplyTimerSettings();
}

void MouseMotion::ApplyTimerSettings() {
  cursorTimer.SetInterval(static_cast<uint32_t>(std::max(settings_.CurRepeat, 1)));
}

void MouseMotion::SetMouseState(uint32_t bits, uint16_t /*mouseKey*/) {
  speedBits_ = bits & mouse::kSpeed;
  dirBits_ = bits & mouse::kDirections;
  wheelBits_ = bits & mouse::kWheel;

  Injector& in = input_;
  Clock& clock = clock_;
  if ((bits & mouse::kButtons) != clickBits_) {
    clickBits_ = bits & mouse::kButtons;
    if (own_.IsOverOwnWindow()) {
      // Corvid's own windows get a whole click: a held button would be
      // stuck there while the remote button is held.
      in.SendMouseButtons(clickBits_);
      clock.Sleep(kClickWaitMs);
      in.SendMouseButtons(0);
    } else {
      in.SendMouseButtons(clickBits_);
    }
    if (speedBits_ & mouse::kDoubleClick) {
      in.SendMouseButtons(0);
      clock.Sleep(kClickWaitMs);
      in.SendMouseButtons(clickBits_);
      in.SendMouseButtons(0);
    }
  }

  if (dirBits_ != 0) {
    MoveCursor(dirBits_);
    ApplyTimerSettings();
    cursorTimer.Start();
  } else {
    StopCursor();
  }

  if (wheelBits_ != 0) {
    in.SendWheel(wheelBits_);
    in.SendWheel(0);
    wheelTimer.Start();
  } else {
    wheelTimer.Stop();
  }
}

void MouseMotion::StopCursor() {
  CursorFactor = 1.0;
  SmoothCount = 0;
  SmoothHistory.fill(Delta{});
  cursorTimer.Stop();
}

void MouseMotion::OnCursorStep() {
  // The test comes first, so the factor overshoots to 2.0399 for one tick.
  if (CursorFactor >= 2.0) CursorFactor = 2.0;
  else CursorFactor *= 1.02;
  MoveCursor(dirBits_);
}

void MouseMotion::OnWheelStep() {
  input_.SendWheel(wheelBits_);
  input_.SendWheel(0);
}

void MouseMotion::MoveCursor(uint32_t dirs) {
  if (monitor_.Visible()) {
    static constexpr std::string_view kPrefix = " Cursor ";
    static constexpr std::string_view kArrows[] = {"↑", "→", "↓", "←"};
    char line[kPrefix.size() + 4 * 3];
    size_t n = kPrefix.size();
    std::memcpy(line, kPrefix.data(), n);
    for (int i = 0; i < 4; ++i) {
      if (!(dirs & (1u << i))) continue;
      std::memcpy(line + n, kArrows[i].data(), kArrows[i].size());
      n += kArrows[i].size();
    }
    monitor_.Append(std::string_view(line, n));
  }

  double s = 4.0;
  if (speedBits_ & mouse::kLowSpeed) s = 2.0;  // low speed wins
  else if (speedBits_ & mouse::kHighSpeed) s = 8.0;
  const double k = s * CursorFactor * settings_.CurSpeed * 0.1;

  double dx = 0, dy = 0;
  if (dirs & mouse::kUp) dy = -k;
  if (dirs & mouse::kLeft) dx = -k;
  if (dirs & mouse::kDown) dy = k;
  if (dirs & mouse::kRight) dx = k;
  if ((dirs & mouse::kUp) && (dirs & mouse::kDown)) dy = 0;
  if ((dirs & mouse::kLeft) && (dirs & mouse::kRight)) dx = 0;
  SendCursorDelta(dx, dy);
}

void MouseMotion::SendCursorDelta(double dx, double dy) {
  // A diagonal step gets the length of a straight one.
  const double len = std::sqrt(dx * dx + dy * dy);
  if (len != 0) {
    dx = std::fabs(dx / len) * dx;
    dy = std::fabs(dy / len) * dy;
  }
  if (settings_.AdjustAspect) {
    const int32_t w = screen_.ScreenWidth();
    const int32_t h = screen_.ScreenHeight();
    if (w > 0 && h > 0) dx = dx * (static_cast<double>(w) / static_cast<double>(h));
  }

  Injector& in = input_;
  if (!settings_.CurSmooth) {
    in.SendRelativeMove(TruncatePixels(dx), TruncatePixels(dy));
    return;
  }

  const int32_t c = std::clamp<int32_t>(SmoothCount, 0, kSmoothWindow);
  SmoothHistory[c] = {dx, dy};
  double sumX = 0, sumY = 0;
  for (int32_t i = 0; i <= c; ++i) {
    sumX += SmoothHistory[i].dx;
    sumY += SmoothHistory[i].dy;
  }
  sumX -= dx;  // the slots before this step
  sumY -= dy;
  in.SendRelativeMove(TruncatePixels(sumX / (c + 1)), TruncatePixels(sumY / (c + 1)));
  if (c < kSmoothWindow - 1) {
    SmoothCount = c + 1;
  } else {
    for (int32_t i = 0; i < kSmoothWindow; ++i) SmoothHistory[i] = SmoothHistory[i + 1];
    SmoothCount = kSmoothWindow;
  }
}

}  // namespace corvid
