#pragma once
// The action engine: the decoded button code carried out through the active
// key map, chords, key repeat, the long-press timer of the App buttons, the
// key map and mode switches, and "release everything".
#include <cstdint>
#include <functional>
#include <string_view>

#include "actions/cursor_hiding.h"
#include "actions/injector.h"
#include "actions/input_sink.h"
#include "model/key_map.h"
#include "actions/mouse_driver.h"
#include "base/main_window_queue.h"
#include "base/message_boxes.h"
#include "base/text_view.h"
#include "base/timer.h"
#include "model/config_data.h"
#include "control/program_control.h"
#include "osd/message_display.h"
#include "remote/device_connection.h"
#include "remote/report_decoder.h"

namespace corvid {

// What the engine acts through.
struct ActionPorts {
  InputSink& input;
  TimerHost& timers;
  Clock& clock;
  MessageDisplay& osd;
  MainWindowQueue& queue;
  MessageBoxes& boxes;
  AppActions& apps;
  PowerActions& power;
  TextView& receiveLog;  // the memo of the key map editor
  TextView& codeMonitor;  // "BD Mon."
};

// It is the remote's listener: the reports of the remote held (or of a
// replayed session) come here.
class ActionEngine : private ReportDecoderHost, public AppActionHost, public RemoteListener {
 public:
  ActionEngine(ConfigData& data, const ActionPorts& ports);
  ~ActionEngine() override;
  ActionEngine(const ActionEngine&) = delete;
  ActionEngine& operator=(const ActionEngine&) = delete;

  // One report of the remote, any length, any identifier.
  void RemoteReport(uint8_t reportId, const uint8_t* data, size_t size) override {
    decoder_.OnReport(reportId, data, size);
  }
  void RemoteGone() override { ReleaseEverything(); }
  void RemoteHeldChanged(bool held) override {
    remoteHeld_ = held;
    decoder_.ForgetBattery();  // another remote, or none: its level is not known yet
  }

  void DispatchCode(uint8_t code) override;
  void SelectKeyMap(int32_t n, ModeRequest mode) override;
  // The editor's "Keyboard" and "Mouse" buttons, SELECT and START.
  void SwitchToKeyboardMode() override;
  void SwitchToMouseMode() override;

  // An App button pressed: its action armed for the release, the long-press
  // timer started when asked.
  void ArmApp(int32_t index, bool longPress);
  // The release of an armed App button runs its action.
  void RunArmedApp();
  // The launch settings' long-press bar: the timer's interval until the
  // next press sets it from the entry.
  void SetLongPressInterval(int32_t ms);

  // Key repeat: the key pressed now, pressed again after the repeat delay
  // and then at the repeat interval.
  void StartKey(uint32_t param, uint16_t key);

  // Releases every key, modifier and mouse button Corvid holds and stops the
  // repeat, as a release report would (the remote went away, or shut-down).
  void ReleaseEverything();
  // The same, but the decoder's mask history stays.
  void ReleaseHeldInput();
  // The interval settings applied to the timers.
  void ApplyTimerSettings();
  // Some injected event was refused by the system.
  void FreshBuffer();

  // A whole column was copied into the active map by a mode switch: the
  // editor shows it anew.
  std::function<void()> onActiveColumnCopied;

  // What an App action changes here.
  void SetCurrentAppMap(int32_t n) override { currentAppMap_ = n; }
  int32_t ArmedAppIndex() const override { return appIndex_; }
  bool LongPressed() const override { return longPressReached_; }
  void SetLongPressed(bool reached) override { longPressReached_ = reached; }

  void SetMouseDriver(MouseDriver* driver) { mouse_ = driver; }
  void SetCursorHiding(CursorHiding* hiding) { hiding_ = hiding; }

  // The map the buttons act through; the key map editor writes its changes
  // through to it.
  KeyMap& ActiveMap() { return activeMap_; }
  const KeyMap& ActiveMap() const { return activeMap_; }
  bool MouseMode() const { return mouseMode_; }
  // 0: the basic map; N: App-N's own.
  int32_t CurrentAppMap() const { return currentAppMap_; }
  bool RemoteHeld() const { return remoteHeld_; }  // a remote (or a replayed session) is the input

  // The chord: the key and modifiers held, the mouse action held, the App
  // press waiting for its release.
  uint16_t HeldKey() const { return heldKey_; }
  uint32_t HeldParam() const { return heldParam_; }
  uint16_t MouseKey() const { return mouseKey_; }
  bool AppArmed() const { return appArmed_; }

  const Timer& RepeatDelayTimer() const { return repeatDelayTimer_; }
  const Timer& RepeatTimer() const { return repeatTimer_; }
  // PS with "NoPsRep": its key is let go after 5 s even while PS is held.
  const Timer& PsReleaseTimer() const { return psReleaseTimer_; }
  const Timer& LongPressTimer() const { return longPressTimer_; }

  // Something is held or moving: a key, a modifier, a mouse action, a repeat.
  bool Busy() const {
    return heldKey_ != 0 || heldParam_ != 0 || mouseKey_ != 0 || repeatDelayTimer_.Enabled() ||
           repeatTimer_.Enabled() || psReleaseTimer_.Enabled() || longPressTimer_.Enabled();
  }

  // A key, modifier or mouse button of Corvid's is down.
  bool HoldsInput() const {
    return heldKey_ != 0 || heldParam_ != 0 || mouseKey_ != 0 || injector_.HeldModifiers() != 0 ||
           injector_.HeldButtons() != 0;
  }

  ReportDecoder& Decoder() { return decoder_; }
  Injector& Input() { return injector_; }
  int32_t HomeMode() const { return data_.settings.HomeMode(); }

 private:
  uint32_t ActiveParam(uint8_t code) override { return activeMap_[code].Param; }
  void StopRepeatTimers() override {
    repeatDelayTimer_.Stop();
    repeatTimer_.Stop();
  }
  void OnRepeatDelay();
  void OnRepeat();
  void OnPsHeld();
  void ShowAfterWait(std::string_view text);

  KeyMap activeMap_;
  bool mouseMode_ = false;
  int32_t currentAppMap_ = 0;
  uint16_t heldKey_ = 0;
  uint32_t heldParam_ = 0;
  uint16_t mouseKey_ = 0;
  bool appArmed_ = false;
  int32_t appIndex_ = 0;
  bool longPressReached_ = false;
  bool remoteHeld_ = false;

  Timer repeatDelayTimer_;
  Timer repeatTimer_;
  Timer psReleaseTimer_;
  Timer longPressTimer_;

  ConfigData& data_;
  ActionPorts ports_;
  Injector injector_;
  ReportDecoder decoder_;
  MouseDriver* mouse_ = nullptr;
  CursorHiding* hiding_ = nullptr;
};

}  // namespace corvid
