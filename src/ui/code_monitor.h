#pragma once
// The code monitor ("BD Mon."): every key, modifier, mouse button,
// wheel and cursor event Corvid sends, one line each, in a black memo; shown
// beside the key map editor.
#include <functional>
#include <string>

#include "base/text_view.h"
#include "ui/window_model.h"

namespace corvid {

class CodeMonitor : public WindowModel {
 public:
  static constexpr int32_t kWidth = 145, kHeight = 600;  // also the smallest size
  explicit CodeMonitor(LineView& memo) : memo_(memo) { Resize(kWidth, kHeight); }

  std::string Caption() const { return "BD Mon."; }
  LineView& Memo1() { return memo_; }

  // FormShow: on the right of its neighbour, the editor (its left when
  // there is no room), its top at the neighbour's top, as tall as it.
  void Show(const Bounds& neighbour, int32_t screenWidth);
  // FormHide (also by its close box): the memo is emptied.
  void Hide();

  // The menu item's check mark follows the monitor.
  std::function<void(bool shown)> onShownChanged;

 private:
  LineView& memo_;
};

// The debug window: the trace of the target window search and, in
// its one-line field, the last match.
class DebugWindow : public WindowModel {
 public:
  static constexpr int32_t kWidth = 400, kHeight = 600;  // also the smallest size
  DebugWindow(LineView& memo, TextField& edit1) : memo_(memo), edit1_(edit1) { Resize(kWidth, kHeight); }

  std::string Caption() const { return "Debug Window"; }
  LineView& Memo1() { return memo_; }
  // The one-line field: the last match of the target window search.
  TextField& Edit1() { return edit1_; }

  // FormShow: its right edge on the left edge of the launch-program settings
  // (on their right when there is no room).
  void Show(const Bounds& launchSettings, int32_t screenWidth);
  // FormClose: the launch-program settings' switch for it goes off.
  void Close();
  void Memo1DblClick();

  std::function<void()> onFormClose;

 private:
  LineView& memo_;
  TextField& edit1_;
};

}  // namespace corvid
