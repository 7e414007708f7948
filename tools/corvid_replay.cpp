// corvid-replay: plays recorded remote sessions through the real core with
// the factory key maps and prints what the running program would show: the
// receive log, the code monitor and the on-screen messages; in mouse mode
// also the pointer path and the buttons and wheel it produced.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "actions/mouse_motion.h"
#include "app/headless_platform.h"
#include "app/session_player.h"
#include "config/file_store.h"
#include "config/settings_store.h"
#include "remote/recorded_session.h"

using namespace corvid;

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: corvid-replay [--config Corvid.ini] [--quiet-monitor] SESSION.txt...\n"
               "Replays recorded remote sessions (hex reports, \"wait N\", # comments)\n"
               "and prints the receive log (log), the code monitor (mon) and the\n"
               "on-screen messages (osd) with the replay time in milliseconds.\n"
               "--config replays against the key maps and settings of that file\n"
               "(read only); without it the factory key maps are used.\n");
  return 2;
}

// The replay's desktop: a 1920 x 1080 screen without Corvid's windows on it.
struct ReplayScreen : ScreenSize, OwnWindows {
  int32_t ScreenWidth() override { return 1920; }
  int32_t ScreenHeight() override { return 1080; }
  bool IsOverOwnWindow() override { return false; }
};

const char* ButtonEventName(uint32_t flags) {
  switch (flags) {
    case mouseflag::kLeftDown: return "left down";
    case mouseflag::kLeftUp: return "left up";
    case mouseflag::kRightDown: return "right down";
    case mouseflag::kRightUp: return "right up";
    case mouseflag::kMiddleDown: return "middle down";
    case mouseflag::kMiddleUp: return "middle up";
    default: return nullptr;
  }
}

bool ReadFile(const char* path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  out = ss.str();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<const char*> files;
  bool showMonitor = true;
  const char* config = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--quiet-monitor")) showMonitor = false;
    else if (!std::strcmp(argv[i], "--config") && i + 1 < argc) config = argv[++i];
    else if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) return Usage();
    else if (argv[i][0] == '-') {
      std::fprintf(stderr, "corvid-replay: unknown option %s\n", argv[i]);
      return Usage();
    } else files.push_back(argv[i]);
  }
  if (files.empty()) return Usage();

  int status = 0;
  for (const char* path : files) {
    std::string text;
    if (!ReadFile(path, text)) {
      std::fprintf(stderr, "corvid-replay: cannot read %s\n", path);
      status = 1;
      continue;
    }
    RecordedSession session = ParseRecordedSession(text);
    for (const SessionProblem& p : session.problems)
      std::fprintf(stderr, "%s:%d: skipped: %s\n", path, p.line, p.text.c_str());

    HeadlessPlatform platform;
    auto print = [&](const char* what) {
      return [&platform, what](std::string_view line) {
        std::printf("%6llu ms  %s  %.*s\n", static_cast<unsigned long long>(platform.clock.NowMs()), what,
                    static_cast<int>(line.size()), line.data());
      };
    };
    platform.receiveLog.onLine = print("log");
    platform.receiveLog.keep = false;
    if (showMonitor) platform.codeMonitor.onLine = print("mon");
    platform.codeMonitor.keep = false;
    platform.osd.onMessage = print("osd");
    platform.boxes.onShow = [&](std::string_view text, std::string_view caption) {
      std::printf("%6llu ms  box  %.*s: %.*s\n", static_cast<unsigned long long>(platform.clock.NowMs()),
                  static_cast<int>(caption.size()), caption.data(), static_cast<int>(text.size()), text.data());
    };
    platform.input.keep = false;
    // The pointer starts in the middle of the screen; moves are relative.
    int64_t x = 960, y = 540;
    platform.input.onEvent = [&](const InputEvent& e) {
      if (e.type != InputEvent::Type::Mouse) return;
      const auto now = static_cast<unsigned long long>(platform.clock.NowMs());
      if (e.flags == mouseflag::kMove) {
        x += e.dx;
        y += e.dy;
        std::printf("%6llu ms  ptr  move %+d %+d to %lld,%lld\n", now, e.dx, e.dy, static_cast<long long>(x),
                    static_cast<long long>(y));
      } else if (e.flags == mouseflag::kWheel) {
        std::printf("%6llu ms  ptr  wheel %+d at %lld,%lld\n", now, e.mouseData, static_cast<long long>(x),
                    static_cast<long long>(y));
      } else if (const char* name = ButtonEventName(e.flags)) {
        std::printf("%6llu ms  ptr  %s at %lld,%lld\n", now, name, static_cast<long long>(x),
                    static_cast<long long>(y));
      }
    };

    std::printf("== %s\n", path);
    TForm1 form(platform.services());
    ReplayScreen screen;
    MouseMotion motion(form, screen, screen);
    if (config) {
      DiskFileStore files;
      if (!files.Exists(config)) {
        std::fprintf(stderr, "corvid-replay: no settings file %s\n", config);
        return 1;
      }
      if (LoadSettings(form, config, files) != 0) {
        std::fprintf(stderr, "corvid-replay: %s has a value that does not convert; Corvid would rebuild it\n", config);
        return 1;
      }
    } else {
      ApplyFactoryDefaults(form);
    }
    form.RemoteHeld = true;
    if (form.HomeMode() == 2) form.SwitchToMouseMode(); else form.SwitchToKeyboardMode();
    PlaySession(session, form, platform.clock);
    form.ReleaseEverything();
    std::fflush(stdout);
  }
  return status;
}
