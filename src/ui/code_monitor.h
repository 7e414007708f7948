#pragma once
// The code monitor ("BD Mon."): every key, modifier, mouse button,
// wheel and cursor event Corvid sends, one line each, light on black; shown
// beside the key map editor.
#include <functional>
#include <string>

#include "base/text_view.h"
#include "base/texts.h"
#include "ui/window_model.h"

namespace corvid {

class CodeMonitor : public WindowModel {
 public:
  static constexpr int32_t kWidth = 145, kHeight = 600;  // also the smallest size
  explicit CodeMonitor(LineView& memo) : memo_(memo) { Resize(kWidth, kHeight); }

  std::string Caption() const { return std::string(Text(TextId::MonitorCaption)); }
  LineView& Lines() { return memo_; }

  // Shown: on the right of its neighbour, the editor (its left when
  // there is no room), its top at the neighbour's top, as tall as it.
  void Show(const Bounds& neighbour, int32_t screenWidth);
  // Hidden (also by its close box): the lines are emptied.
  void Hide();

  // The menu item's check mark follows the monitor.
  std::function<void(bool shown)> onShownChanged;

 private:
  LineView& memo_;
};

}  // namespace corvid
