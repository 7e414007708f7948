#pragma once
#include <functional>
#include <string>

#include "base/text_view.h"
#include "base/texts.h"
#include "ui/window_model.h"

namespace corvid {

// The debug window: the trace of the target window search and, in
// its one-line field, the last match.
class DebugWindow : public WindowModel {
 public:
  static constexpr int32_t kWidth = 400, kHeight = 600;  // also the smallest size
  DebugWindow(LineView& trace, TextField& match) : trace_(trace), match_(match) { Resize(kWidth, kHeight); }

  std::string Caption() const { return std::string(Text(TextId::DebugCaption)); }
  LineView& Trace() { return trace_; }
  // The one-line field: the last match of the target window search.
  TextField& Match() { return match_; }

  // Shown: its right edge on the left edge of the launch-program settings
  // (on their right when there is no room).
  void Show(const Bounds& launchSettings, int32_t screenWidth);
  // Closed: the launch-program settings' switch for it goes off.
  void Close();
  // A double click on the trace empties it and the field.
  void ClearTrace();

  std::function<void()> onClosed;

 private:
  LineView& trace_;
  TextField& match_;
};

}  // namespace corvid
