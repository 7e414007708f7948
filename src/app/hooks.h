#pragma once
// The three system-wide low-level input hooks: cursor-wake (brings the hidden
// cursor back), key-capture (diverts keys while the key map editor waits for
// one) and the window picker (takes the class of the next clicked window).
//
// The callbacks here only decide and record; every desktop event waits for
// them, and Windows drops a hook that is slow. Whatever takes time (restoring
// cursors, removing a hook and its wait, message boxes) is posted and done by
// RunPostedWork once the callback has returned.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "actions/cursor_hiding.h"
#include "actions/input_sink.h"
#include "base/message_boxes.h"
#include "base/timer.h"
#include "model/settings.h"

namespace corvid {

class CursorHider;

enum class HookKind : uint8_t { CursorWake, KeyCapture, WindowPicker };
using HookHandle = uintptr_t;  // 0: not installed

class HookPlatform {
 public:
  virtual ~HookPlatform() = default;
  // A low-level hook for all threads of the desktop; 0 on failure.
  virtual HookHandle InstallHook(HookKind kind) = 0;
  virtual bool RemoveHook(HookHandle handle) = 0;
  // Class name (at most 256 characters) of the window at a screen point, ""
  // when none; quick enough to be called inside a callback.
  virtual std::string WindowClassAt(int32_t x, int32_t y) = 0;
  // RunPostedWork is to be called on this thread after the callback returns.
  virtual void PostHookWork() = 0;
};

// The target class box of the launch-program settings.
class PickerTarget {
 public:
  virtual ~PickerTarget() = default;
  virtual void SetTargetClass(std::string_view className) = 0;
  // Yellow while the picker waits for a click, the normal colour after.
  virtual void SetPicking(bool picking) = 0;
};

enum class HookVerdict : uint8_t { Pass, Swallow };

struct KeyHookEvent {
  int32_t code = 0;    // hook code; only 0 is acted on
  uint32_t vk = 0;
  uint32_t flags = 0;  // bit 7: key up
};

struct MouseHookEvent {
  int32_t code = 0;
  uint32_t message = 0;  // 0x200 move, 0x201 left button down, ...
  int32_t x = 0, y = 0;
};

// Replacement of a key the capture hook diverts (0 for any other key).
uint16_t KeyCaptureReplacement(uint32_t vk);

// What the key-capture hook does with one event.
struct KeyCaptureStep {
  HookVerdict verdict = HookVerdict::Pass;
  bool inject = false;
  uint16_t injectVk = 0;
  bool injectUp = false;
};
// Updates `winKeyLatched`, which must be cleared before the injected Windows
// key release comes back through the hook.
KeyCaptureStep DecideKeyCapture(const KeyHookEvent& e, bool& winKeyLatched);


class GlobalHooks : public CursorWakeHook {
 public:
  // `input` takes the keys the capture hook puts in place of the diverted
  // ones; `settings` says whether the cursor is to be hidden again after a pick.
  GlobalHooks(HookPlatform& platform, MessageBoxes& boxes, Clock& clock, InputSink& input,
              const Settings& settings);
  void SetCursorHider(CursorHider* hider) { hider_ = hider; }
  void SetPickerTarget(PickerTarget* target) { picker_ = target; }

  // Installing an installed hook and removing a removed one do nothing.
  void InstallCursorWakeHook() override { Install(HookKind::CursorWake); }
  void RemoveCursorWakeHook() override { Remove(HookKind::CursorWake); }
  void InstallKeyCaptureHook() { Install(HookKind::KeyCapture); }
  void RemoveKeyCaptureHook() { Remove(HookKind::KeyCapture); }
  void InstallPickerHook() { Install(HookKind::WindowPicker); }
  void RemovePickerHook() { Remove(HookKind::WindowPicker); }
  bool Installed(HookKind kind) const { return handles_[Index(kind)] != 0; }

  // The "Find" button of the launch-program settings.
  void StartWindowPick();

  // Callbacks, one event each.
  HookVerdict OnCursorWakeEvent(const MouseHookEvent& e);
  HookVerdict OnKeyCaptureEvent(const KeyHookEvent& e);
  HookVerdict OnPickerEvent(const MouseHookEvent& e);

  // What the callbacks left to do, outside any callback.
  void RunPostedWork();

  bool WinKeyLatched = false;

 private:
  static size_t Index(HookKind k) { return static_cast<size_t>(k); }
  void Install(HookKind kind);
  void Remove(HookKind kind);
  void Post();

  HookPlatform& platform_;
  MessageBoxes& boxes_;
  Clock& clock_;
  InputSink& input_;
  const Settings& settings_;
  CursorHider* hider_ = nullptr;
  PickerTarget* picker_ = nullptr;
  std::array<HookHandle, 3> handles_{};

  bool workPosted_ = false;
  bool wakePending_ = false;
  bool pickTaken_ = false;    // this pick has had its click
  bool pickPending_ = false;  // its result is waiting for RunPostedWork
  std::string pickedClass_;
};

}  // namespace corvid
