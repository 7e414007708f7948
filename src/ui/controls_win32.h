#pragma once
// What the settings windows' views share: child controls item from a table
// of places given at 96 DPI, texts in UTF-8, check boxes, scroll bars, and a
// text view shown in a multi-line edit control that follows it as lines come
// and go.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/handles_win32.h"
#include "base/texts.h"
#include "base/text_view.h"
#include "base/win32_fwd.h"
#include "ui/window_model.h"

namespace corvid {

struct Rect96 {
  int x = 0, y = 0, width = 0, height = 0;
};

// What a control is; each kind has its class, styles and frame.
enum class ControlKind : uint8_t {
  Label,        // static text, '&' shown as it is
  Edit,         // a one-line box that takes the keyboard
  ReadOnlyBox,  // a box that shows a value, passed over by Tab
  Memo,         // a read-only multi-line box
  Check,        // a check box the program ticks
  AutoCheck,    // a check box that ticks itself
  Radio,        // a radio button the program sets
  Button,
  OwnerDrawButton,
  Group,
  DropDown,     // a combo box with a box to type in
  DropList,     // a combo box that only offers its list
  HorizontalBar,
};

// One control of a window: what it is, its identifier (0: none), its
// caption, its place at 96 DPI and styles beyond its kind's.
struct ControlSpec {
  ControlKind kind;
  int id = 0;
  TextRef caption;
  Rect96 place{};
  uint32_t style = 0;
  bool hidden = false;
  int fontHeight = 0;  // 0: the window's font
};

HWND MakeControl(HWND parent, const ControlSpec& item);

// The controls of a window, item from specs in the order of the Tab key and
// placed from them at any DPI.
class ControlSet {
 public:
  void Make(HWND parent, std::span<const ControlSpec> specs);
  HWND Add(HWND parent, const ControlSpec& item);
  // Every control at its place, in `face` at its height (or the window's).
  void Place(uint32_t dpi, const wchar_t* face, int fontHeight) const;
  // The control with the identifier; null when there is none.
  HWND operator[](int id) const;

 private:
  std::vector<std::pair<ControlSpec, HWND>> made_;
};

void PlaceControl(HWND control, const Rect96& r, uint32_t dpi, HFONT font);
// Sets the text only when it differs (no flicker, no change notice).
void SetControlText(HWND control, std::string_view utf8);
std::string ControlText(HWND control);
// A check box's or radio button's tick; setting it sends no click.
void SetChecked(HWND button, bool on);
bool IsChecked(HWND button);
// A scroll bar control's range and position, set only when they differ.
void SetScrollBar(HWND bar, int min, int max, int position);
// The position a scroll bar control's WM_HSCROLL or WM_VSCROLL asks for
// (`wp` is the message's): a step, a page, the thumb, an end; the current
// position when it asks for none.
int ScrollRequest(HWND bar, uintptr_t wp, int smallStep, int largeStep);
// A window follows its model: its place, whether it is shown, and a request
// to come to the front that `fronted` has not yet served. A `tool` window
// takes the model's size too and is shown without being activated.
void FollowModel(HWND window, const WindowModel& model, uint32_t& fronted, bool tool = false);
// The other way: the window's place as the system has it, told to the model.
void ReportPlace(HWND window, WindowModel& model);
// WM_DPICHANGED: the window takes the rectangle the system suggests (`lp`).
void TakeSuggestedRect(HWND window, intptr_t lp);
// The answer to DM_GETDEFID, which the dialog manager asks before Enter: a
// push button with the keyboard focus is pressed, otherwise `defaultId`
// (none when 0, and Enter then sends IDOK).
intptr_t DefaultButtonAnswer(HWND window, int defaultId);

// A LineView in a read-only multi-line edit control.
class MemoSync {
 public:
  MemoSync(LineView& view, HWND edit);
  // Brings the control up to date: new lines appended, lines the view has
  // dropped removed from the top, everything anew after a clearing.
  void Update();

 private:
  void Rebuild();
  LineView& view_;
  HWND edit_;
  uint64_t appended_ = 0, clears_ = 0;
  size_t shown_ = 0;  // lines in the control
};

// A log in a read-only multi-line box of its window, brought up to date once
// after a burst of lines; light text on black, or the system's colours.
class LogMemo {
 public:
  explicit LogMemo(LineView& lines) : lines_(lines) {}
  ~LogMemo();
  void Make(HWND parent, uint32_t style, bool black);
  HWND Handle() const { return edit_; }
  // The parent window's messages that are the memo's: its colours and its
  // deferred update. True when answered, with `result`.
  bool Answer(unsigned msg, uintptr_t wp, intptr_t lp, intptr_t& result);

 private:
  LineView& lines_;
  HWND parent_ = nullptr, edit_ = nullptr;
  std::unique_ptr<MemoSync> sync_;
  bool pending_ = false;
  GdiObject<HBRUSH> black_;
};

}  // namespace corvid
