#include "app/hooks.h"

#include "actions/cursor_hider.h"
#include "base/texts.h"
#include "model/key_map.h"

namespace corvid {
namespace {

constexpr uint32_t kKeyUpFlag = 0x80;
constexpr uint32_t kMouseMove = 0x200, kLeftButtonDown = 0x201;
constexpr uint32_t kRemoveWaitMs = 20;

struct Replacement {
  uint32_t vk;
  uint16_t with;
};
// Unassigned codes the key map editor recognises. The first eight are
// replaced both ways; the Windows keys only on their press.
constexpr Replacement kReplacements[] = {
    {9, 0x88},   {46, 0x89},  {45, 0x8C},  {145, 0x8D}, {144, 0x8E},
    {20, 0x8F},  {27, 0x9E},  {44, 0x9F},  {vk::kLeftWin, 0x8A}, {vk::kRightWin, 0x8B},
};

bool IsWinKey(uint32_t vk) { return vk == vk::kLeftWin || vk == vk::kRightWin; }

}  // namespace

uint16_t KeyCaptureReplacement(uint32_t vk) {
  for (const Replacement& r : kReplacements)
    if (r.vk == vk) return r.with;
  return 0;
}

KeyCaptureStep DecideKeyCapture(const KeyHookEvent& e, bool& winKeyLatched) {
  KeyCaptureStep step;
  if (e.code != 0) return step;
  const bool up = (e.flags & kKeyUpFlag) != 0;
  const uint16_t with = KeyCaptureReplacement(e.vk);
  if (with == 0) return step;
  if (!IsWinKey(e.vk)) {
    step = {HookVerdict::Swallow, true, with, up};
  } else if (!up && !winKeyLatched) {
    winKeyLatched = true;
    step = {HookVerdict::Swallow, true, with, false};
  } else if (up && winKeyLatched) {
    // The real key is released, not its replacement. The latch is cleared
    // first: that injected release comes back through the hook and passes.
    winKeyLatched = false;
    step = {HookVerdict::Swallow, true, static_cast<uint16_t>(e.vk), true};
  }
  return step;  // auto-repeat of a latched Windows key, or an unlatched release
}

GlobalHooks::GlobalHooks(HookPlatform& platform, MessageBoxes& boxes, Clock& clock, InputSink& input,
                         const Settings& settings)
    : platform_(platform), boxes_(boxes), clock_(clock), input_(input), settings_(settings) {}

void GlobalHooks::Install(HookKind kind) {
  HookHandle& h = handles_[Index(kind)];
  if (h != 0) return;
  h = platform_.InstallHook(kind);
  if (h == 0) boxes_.Show(Text(TextId::HookStartFailed), "Corvid", MessageBoxes::kOk);
}

void GlobalHooks::Remove(HookKind kind) {
  HookHandle& h = handles_[Index(kind)];
  if (h == 0) return;
  if (platform_.RemoveHook(h)) {
    h = 0;
  } else {
    boxes_.Show(Text(kind == HookKind::KeyCapture ? TextId::KeyHookRemoveFailed : TextId::MouseHookRemoveFailed),
                                "Corvid", MessageBoxes::kOk);
  }
  clock_.Sleep(kRemoveWaitMs);
}

void GlobalHooks::Post() {
  if (workPosted_) return;
  workPosted_ = true;
  platform_.PostHookWork();
}

void GlobalHooks::StartWindowPick() {
  if (picker_) picker_->SetPicking(true);
  if (settings_.NoCursor && hider_) hider_->StopWaitEraseAndShow();
  pickTaken_ = false;
  pickPending_ = false;
  InstallPickerHook();
}

HookVerdict GlobalHooks::OnCursorWakeEvent(const MouseHookEvent& e) {
  if (e.code == 0 && e.message == kMouseMove && hider_ && !hider_->CursorVisible && !wakePending_) {
    wakePending_ = true;
    Post();
  }
  return HookVerdict::Pass;
}

HookVerdict GlobalHooks::OnKeyCaptureEvent(const KeyHookEvent& e) {
  const KeyCaptureStep step = DecideKeyCapture(e, WinKeyLatched);
  if (step.inject) {
    // A plain record, no scan code: the editor reads the virtual key only.
    InputEvent in;
    in.type = InputEvent::Type::Keyboard;
    in.vk = step.injectVk;
    in.flags = step.injectUp ? keyflag::kKeyUp : 0;
    // Nothing can be shown from inside the hook if the system refuses it.
    input_.Send(in);
  }
  return step.verdict;
}

HookVerdict GlobalHooks::OnPickerEvent(const MouseHookEvent& e) {
  if (e.code == 0 && e.message == kLeftButtonDown && !pickTaken_) {
    // The window is taken now, before the click (passed on) can change it.
    pickTaken_ = true;
    pickPending_ = true;
    pickedClass_ = platform_.WindowClassAt(e.x, e.y);
    Post();
  }
  return HookVerdict::Pass;
}

void GlobalHooks::RunPostedWork() {
  workPosted_ = false;
  if (wakePending_) {
    wakePending_ = false;
    if (hider_ && !hider_->CursorVisible) hider_->ShowCursorAgain();
  }
  if (pickPending_) {
    pickPending_ = false;
    if (picker_) {
      picker_->SetTargetClass(pickedClass_);
      picker_->SetPicking(false);
    }
    if (settings_.NoCursor && hider_) {
      hider_->hideDelayTimer.Start();
      hider_->HideCursor();
    }
    RemovePickerHook();
  }
}

}  // namespace corvid
