#include "remote/report_decoder.h"

#include <algorithm>
#include <cstring>

#include "remote/button_codes.h"

namespace corvid {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendHex(std::string& s, uint8_t b) {
  s.push_back(kHex[b >> 4]);
  s.push_back(kHex[b & 0xF]);
}

}  // namespace

void ReportDecoder::OnReport(uint8_t reportId, const uint8_t* data,
                                                      size_t size) {
  if (data == nullptr) size = 0;
  const size_t n = std::min(size, RawReport.size());
  if (n) std::memcpy(RawReport.data(), data, n);
  if (reportId != 1) {
    line_.assign("Rep:");
    for (size_t i = 0; i < n; ++i) AppendHex(line_, RawReport[i]);
    log_.Append(line_);
    return;
  }
  // Bytes a short report did not deliver keep their earlier values.
  std::array<uint8_t, 9> state;
  std::memcpy(state.data(), RawReport.data(), 8);
  state[8] = RawReport[10];
  ReportState = state;
  DecodeReport(ReportState);
}

void ReportDecoder::DecodeReport(std::array<uint8_t, 9> state) {
  names_.clear();
  const char* codeName = "";
  const uint8_t codeByte = state[3];
  const uint8_t battery = state[8];
  BatteryLevel = battery;
  BatteryRead = true;
  HeldBits = 0;
  const uint32_t mask = (uint32_t{state[0]} << 16) | (uint32_t{state[1]} << 8) | state[2];
  uint8_t code = codeByte;

  if (mask != 0) {
    for (const MaskButton& b : kMaskButtons) {
      if (!(mask & b.bit)) continue;
      if (b.code == kButtonSelect) {
        host_.SwitchToKeyboardMode();
        return;
      }
      if (b.code == kButtonStart) {
        host_.SwitchToMouseMode();
        return;
      }
      names_ += ButtonLogName(b.code);
      HeldBits |= static_cast<uint16_t>(host_.ActiveParam(b.code) & 0xFFFF);
    }
    if (codeByte == kNoButton) {
      names_.insert(0, HeldName);
      code = ButtonForSingleMaskBit(PrevMask ^ mask);
    }
    PrevMask = mask;
  } else {
    if (code == kNoButton) {
      codeName = "--- ";
      HeldName.clear();
    } else if (const char* name = ButtonLogName(code)) {
      codeName = name;
      HeldName.assign(name);
    }
  }

  host_.StopRepeatTimers();

  if (log_.Keeps()) {
    line_.clear();
    AppendHex(line_, state[0]);
    line_.push_back('-');
    AppendHex(line_, state[1]);
    line_.push_back('-');
    AppendHex(line_, state[2]);
    line_.push_back('-');
    AppendHex(line_, code);
    line_.push_back('-');
    AppendHex(line_, battery);
    line_ += "  [ ";
    line_ += names_;
    line_ += codeName;
    line_ += " ]";
    log_.Append(line_);
  }

  host_.DispatchCode(code);
}

}  // namespace corvid
