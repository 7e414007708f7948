#pragma once
// A platform without a desktop: every service records what the core asked
// of it. Tests drive the core with it, and corvid-replay prints from it.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "actions/input_sink.h"
#include "app/main_window.h"
#include "app/manual_clock.h"
#include "app/tform1.h"
#include "app/text_view.h"
#include "control/program_control.h"
#include "osd/message_display.h"

namespace corvid {

class RecordingInputSink : public InputSink {
 public:
  bool Send(const InputEvent& e) override {
    if (keep) events.push_back(e);
    if (onEvent) onEvent(e);
    return !refuse;
  }
  uint16_t ScanCodeOf(uint16_t vk) override { return static_cast<uint16_t>(vk & 0xFF); }
  uint64_t MessageExtraInfo() override { return 0; }

  std::vector<InputEvent> events;
  std::function<void(const InputEvent&)> onEvent;
  bool refuse = false;
  bool keep = true;
};

class RecordingDisplay : public MessageDisplay {
 public:
  void ShowMessage(std::string_view text) override {
    messages.emplace_back(text);
    if (onMessage) onMessage(text);
  }
  std::vector<std::string> messages;
  std::function<void(std::string_view)> onMessage;
};

class RecordingQueue : public MainWindowQueue {
 public:
  void RemovePendingMouseMessages() override { log.push_back("mouse"); }
  void RemovePendingKeyboardMessages() override { log.push_back("keyboard"); }
  std::vector<std::string> log;
};

class RecordingBoxes : public MessageBoxes {
 public:
  int Show(std::string_view text, std::string_view caption, Kind kind) override {
    shown.push_back({std::string(text), std::string(caption)});
    if (onShow) onShow(text, caption);
    return kind == kYesNo ? answer : kAnswerOk;
  }
  struct Box {
    std::string text, caption;
  };
  std::vector<Box> shown;
  int answer = kAnswerYes;
  std::function<void(std::string_view, std::string_view)> onShow;
};

class RecordingPrograms : public AppActions, public PowerActions {
 public:
  void RunAppAction(int32_t index) override { log.push_back("app " + std::to_string(index)); }
  void DisableExecTimer() override { log.push_back("long press"); }
  void SuspendSystem(bool hibernate) override { log.push_back(hibernate ? "hibernate" : "suspend"); }
  void ExitSystem(int32_t how) override { log.push_back("exit " + std::to_string(how)); }
  std::vector<std::string> log;
};

// Everything a TForm1 needs, headless, with the factory key maps applied.
struct HeadlessPlatform {
  ManualClock clock;
  RecordingInputSink input;
  RecordingDisplay osd;
  RecordingQueue queue;
  RecordingBoxes boxes;
  RecordingPrograms programs;
  LineView receiveLog, codeMonitor, debugLog;

  Services services() {
    return Services{input, clock, clock, osd, queue, boxes, programs, programs,
                    receiveLog, codeMonitor, debugLog};
  }
};

}  // namespace corvid
