#pragma once
// What the settings windows' views share: child controls made from a place
// given at 96 DPI, texts in UTF-8, check boxes, scroll bars with the box that
// shows their value, and a text view shown in a multi-line edit control that
// follows it as lines come and go.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/text_view.h"
#include "base/win32_fwd.h"
#include "ui/window_model.h"

namespace corvid {

struct Rect96 {
  int x = 0, y = 0, width = 0, height = 0;
};

HWND MakeControl(HWND parent, const wchar_t* cls, std::string_view text, uint32_t style, int id,
                 uint32_t exStyle = 0);
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
// to come to the front that `fronted` has not yet served.
void FollowModel(HWND window, const WindowModel& model, uint32_t& fronted);
// The other way: the window's place as the system has it, told to the model.
void ReportPlace(HWND window, WindowModel& model);
// WM_DPICHANGED: the window takes the rectangle the system suggests (`lp`).
void TakeSuggestedRect(HWND window, intptr_t lp);
// What the settings windows answer alike: the close box, and Esc (IDCANCEL
// from the dialog manager), go to the model's `close`, a move is told to the model, a DPI change lays the window out at
// the new DPI in the rectangle the system suggests. True when the message is
// answered (with 0); a move still goes on to the default processing.
bool AnswerSettingsWindowMessage(HWND window, WindowModel& model, unsigned msg, uintptr_t wp, intptr_t lp,
                                 const std::function<void()>& close, const std::function<void(uint32_t)>& layout);
// The answer to DM_GETDEFID, which the dialog manager asks before Enter: a
// push button with the keyboard focus is pressed, otherwise `defaultId`
// (none when 0, and Enter then sends IDOK).
intptr_t DefaultButtonAnswer(HWND window, int defaultId);

// A horizontal scroll bar in one row with its label on the left and the
// read-only box that shows its value on the right.
struct ValueBar {
  HWND label = nullptr, bar = nullptr, value = nullptr;
  void Make(HWND parent, std::string_view caption, int barId, int valueId = 0);
  void Place(const Rect96& row, int labelWidth, int valueWidth, uint32_t dpi, HFONT font) const;
  // The range, the position and the box's text; only what differs is set.
  void Show(int32_t min, int32_t max, int32_t position, std::string_view valueText) const;
  // Where a WM_HSCROLL (its `wp`) moves the bar, within its range: a line
  // is `lineStep`, a page `pageStep`.
  int32_t Requested(uintptr_t wp, int32_t lineStep, int32_t pageStep) const;
};

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

}  // namespace corvid
