#pragma once
// The main resident window: owns the run-time state (settings, key maps,
// chord state, App entries), the timers, and the handlers that the Win32
// window, the HID layer and the dialogs call.
#include <array>
#include <cstdint>
#include <string>

#include "actions/injector.h"
#include "actions/input_sink.h"
#include "actions/cursor_hiding.h"
#include "actions/key_map.h"
#include "actions/mouse_driver.h"
#include "app/main_window.h"
#include "app/text_view.h"
#include "app/timer.h"
#include "config/settings.h"
#include "control/app_entry.h"
#include "control/program_control.h"
#include "osd/message_display.h"
#include "remote/report_decoder.h"

namespace corvid {

// The platform the core runs on; tests pass fakes, WinMain the Win32 pieces.
struct Services {
  InputSink& input;
  TimerHost& timers;
  Clock& clock;
  MessageDisplay& osd;
  MainWindowQueue& queue;
  MessageBoxes& boxes;
  AppActions& apps;
  PowerActions& power;
  TextView& receiveLog;   // the memo of the key map editor
  TextView& codeMonitor;  // "BD Mon."
  TextView& debugLog;
};

class TForm1 : private ReportDecoderHost {
 public:
  explicit TForm1(const Services& services);
  ~TForm1() override;

  // HID layer data event.
  void JvHidDeviceController1DeviceData(uint8_t reportId, const uint8_t* data, size_t size) {
    decoder_.JvHidDeviceController1DeviceData(reportId, data, size);
  }

  void DispatchCode(uint8_t code) override;
  // N 0..8; modeRequest 0 keep, 1 keyboard, 2 mouse, 3 the home mode.
  void SelectKeyMap(int32_t n, int32_t modeRequest);
  // The editor's "Keyboard" and "Mouse" buttons, SELECT and START.
  void SwitchToKeyboardMode() override;
  void SwitchToMouseMode() override;

  // Key repeat.
  void StartKey(uint32_t param, uint16_t key);
  void DelayTimerTimer();
  void RepeatTimerTimer();
  void DisConnectTimer();

  // Releases every key, modifier and mouse button Corvid holds and stops the
  // repeat, as a release report would (the remote went away, or shut-down).
  void ReleaseEverything();

  // Applies the interval settings to the timers.
  void ApplyTimerSettings();
  // Mouse motion is attached after construction (it needs this window).
  void SetMouseDriver(MouseDriver* driver) { mouse_ = driver; }
  void SetCursorHiding(CursorHiding* hiding) { hiding_ = hiding; }
  // Called when the refused-input box must be shown.
  void FreshBuffer();

  Settings settings;
  KeyboardMapTable KeyboardMap;
  MouseMapTable MouseMap;
  KeyMap ActiveMap;
  bool MouseMode = false;
  int32_t CurrentAppMap = 0;
  std::array<AppEntry, kAppCount> Apps;

  // Chord state.
  uint16_t CurKey = 0;
  uint32_t CurParam = 0;
  uint16_t MouseKey = 0;
  bool AppArmed = false;
  int32_t AppIndex = 0;
  bool LongPressReached = false;

  bool RemoteHeld = false;  // set by the device connection

  Timer DelayTimer;
  Timer RepeatTimer;
  Timer DisConnect;
  Timer DisableExec;

  // Something is held or moving: a key, a modifier, a mouse action, a repeat.
  bool Busy() const {
    return CurKey != 0 || CurParam != 0 || MouseKey != 0 || DelayTimer.Enabled() ||
           RepeatTimer.Enabled() || DisConnect.Enabled() || DisableExec.Enabled();
  }

  ReportDecoder& Decoder() { return decoder_; }
  Injector& Input() { return injector_; }
  const Services& Platform() const { return services_; }
  int32_t HomeMode() const { return settings.HomeMode(); }

 private:
  uint32_t ActiveParam(uint8_t code) override { return ActiveMap[code].Param; }
  void StopRepeatTimers() override {
    DelayTimer.Stop();
    RepeatTimer.Stop();
  }
  void ShowAfterWait(std::string_view text);

  Services services_;
  Injector injector_;
  ReportDecoder decoder_;
  MouseDriver* mouse_ = nullptr;
  CursorHiding* hiding_ = nullptr;
};

}  // namespace corvid
