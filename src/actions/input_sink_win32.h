#pragma once
// The system's input stream: SendInput with one record per call.
#include "actions/input_sink.h"

namespace corvid {

class Win32InputSink : public InputSink {
 public:
  bool Send(const InputEvent& event) override;
  uint16_t ScanCodeOf(uint16_t vk) override;
  uint64_t MessageExtraInfo() override;
};

}  // namespace corvid
