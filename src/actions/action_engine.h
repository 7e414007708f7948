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

class ActionEngine : private ReportDecoderHost, public AppActionHost {
 public:
  ActionEngine(ConfigData& data, const ActionPorts& ports);
  ~ActionEngine() override;
  ActionEngine(const ActionEngine&) = delete;
  ActionEngine& operator=(const ActionEngine&) = delete;

  // HID layer data event.
  void JvHidDeviceController1DeviceData(uint8_t reportId, const uint8_t* data, size_t size) {
    decoder_.JvHidDeviceController1DeviceData(reportId, data, size);
  }

  void DispatchCode(uint8_t code) override;
  // N 0..8; modeRequest 0 keep, 1 keyboard, 2 mouse, 3 the home mode.
  void SelectKeyMap(int32_t n, int32_t modeRequest) override;
  // The editor's "Keyboard" and "Mouse" buttons, SELECT and START.
  void SwitchToKeyboardMode() override;
  void SwitchToMouseMode() override;

  // An App button pressed: its action armed for the release, the long-press
  // timer started when asked.
  void ArmApp(int32_t index, bool longPress);
  // The release of an armed App button runs its action.
  void RunArmedApp();

  // Key repeat.
  void StartKey(uint32_t param, uint16_t key);
  void DelayTimerTimer();
  void RepeatTimerTimer();
  void DisConnectTimer();

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
  void SetCurrentAppMap(int32_t n) override { CurrentAppMap = n; }
  int32_t ArmedAppIndex() const override { return AppIndex; }
  bool LongPressed() const override { return LongPressReached; }
  void SetLongPressed(bool reached) override { LongPressReached = reached; }

  void SetMouseDriver(MouseDriver* driver) { mouse_ = driver; }
  void SetCursorHiding(CursorHiding* hiding) { hiding_ = hiding; }

  KeyMap ActiveMap;
  bool MouseMode = false;
  int32_t CurrentAppMap = 0;

  // Chord state.
  uint16_t CurKey = 0;
  uint32_t CurParam = 0;
  uint16_t MouseKey = 0;
  bool AppArmed = false;
  int32_t AppIndex = 0;
  bool LongPressReached = false;

  bool RemoteHeld = false;  // a remote (or a replayed session) is the input

  Timer DelayTimer;
  Timer RepeatTimer;
  Timer DisConnect;
  Timer DisableExec;

  // Something is held or moving: a key, a modifier, a mouse action, a repeat.
  bool Busy() const {
    return CurKey != 0 || CurParam != 0 || MouseKey != 0 || DelayTimer.Enabled() || RepeatTimer.Enabled() ||
           DisConnect.Enabled() || DisableExec.Enabled();
  }

  // A key, modifier or mouse button of Corvid's is down.
  bool HoldsInput() const {
    return CurKey != 0 || CurParam != 0 || MouseKey != 0 || injector_.HeldModifiers() != 0 ||
           injector_.HeldButtons() != 0;
  }

  ReportDecoder& Decoder() { return decoder_; }
  Injector& Input() { return injector_; }
  int32_t HomeMode() const { return data_.settings.HomeMode(); }

 private:
  uint32_t ActiveParam(uint8_t code) override { return ActiveMap[code].Param; }
  void StopRepeatTimers() override {
    DelayTimer.Stop();
    RepeatTimer.Stop();
  }
  void ShowAfterWait(std::string_view text);

  ConfigData& data_;
  ActionPorts ports_;
  Injector injector_;
  ReportDecoder decoder_;
  MouseDriver* mouse_ = nullptr;
  CursorHiding* hiding_ = nullptr;
};

}  // namespace corvid
