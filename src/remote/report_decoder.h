#pragma once
// Turns the remote's input reports into button events: the held-button
// mask, the button code (derived from the change of the mask when the report
// carries none), the battery level, and the two mode buttons.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/text_view.h"

namespace corvid {

class ReportDecoderHost {
 public:
  virtual ~ReportDecoderHost() = default;
  // Param of the active key map entry of a mask button.
  virtual uint32_t ActiveParam(uint8_t code) = 0;
  virtual void SwitchToKeyboardMode() = 0;
  virtual void SwitchToMouseMode() = 0;
  virtual void StopRepeatTimers() = 0;
  virtual void DispatchCode(uint8_t code) = 0;
};

inline constexpr size_t kRawReportSize = 1024;

class ReportDecoder {
 public:
  ReportDecoder(ReportDecoderHost& host, TextView& receiveLog) : host_(host), log_(receiveLog) {
    line_.reserve(160);
    names_.reserve(160);
  }

  // One report as the HID layer delivers it; any length, any identifier.
  void OnReport(uint8_t reportId, const uint8_t* data, size_t size);
  void DecodeReport(std::array<uint8_t, 9> state);
  // The remote went away: no button counts as held any more.
  void Reset() {
    PrevMask = 0;
    HeldName.clear();
  }
  // Another remote, or none: its battery level is not known yet.
  void ForgetBattery() { BatteryRead = false; }

  std::array<uint8_t, kRawReportSize> RawReport{};
  // mask bytes 0..2, code, data bytes 4..7, battery
  std::array<uint8_t, 9> ReportState{};
  uint32_t PrevMask = 0;
  uint16_t HeldBits = 0;
  std::string HeldName;
  int32_t BatteryLevel = 0;
  bool BatteryRead = false;  // BatteryLevel came from a report of the remote held now

 private:
  ReportDecoderHost& host_;
  TextView& log_;
  std::string line_;   // reused so a report costs no allocation
  std::string names_;
};

}  // namespace corvid
