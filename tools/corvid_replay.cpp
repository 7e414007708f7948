// corvid-replay: plays recorded remote sessions through the program as
// Corvid.exe assembles it, on a headless platform, and prints what the
// running program would show: the receive log, the code monitor, the
// on-screen messages and message boxes; in mouse mode also the pointer path
// and the buttons and wheel it produced.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/corvid_app.h"
#include "app/headless_platform.h"
#include "app/trace.h"
#include "base/texts.h"
#include "config/settings_store.h"
#include "remote/recorded_session.h"

using namespace corvid;

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: corvid-replay [--config Corvid.ini] [--quiet-monitor] [--language ja|en] SESSION.txt...\n"
               "Replays recorded remote sessions (hex reports, \"wait N\", # comments)\n"
               "and prints the receive log (log), the code monitor (mon), the\n"
               "on-screen messages (osd) and message boxes (box) with the replay time\n"
               "in milliseconds. --config starts from that settings file (it is only\n"
               "read); without it Corvid starts as on a first run, with the factory\n"
               "key maps. --language en replays as on a Windows whose display\n"
               "language is English (Japanese without it); a settings file that\n"
               "names a language (Language=ja|en) has the last word.\n");
  return 2;
}

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
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<const char*> files;
  bool showMonitor = true;
  const char* config = nullptr;
  uint16_t uiLanguage = kJapaneseLanguageId;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--quiet-monitor")) showMonitor = false;
    else if (!std::strcmp(argv[i], "--config") && i + 1 < argc) config = argv[++i];
    else if (!std::strcmp(argv[i], "--language") && i + 1 < argc)
      uiLanguage = ChooseLanguage(argv[++i], kJapaneseLanguageId) == Language::English ? kEnglishLanguageId
                                                                                     : kJapaneseLanguageId;
    else if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) return Usage();
    else if (argv[i][0] == '-') {
      std::fprintf(stderr, "corvid-replay: unknown option %s\n", argv[i]);
      return Usage();
    } else files.push_back(argv[i]);
  }
  if (files.empty()) return Usage();

  std::string settings;
  if (config && !ReadFile(config, settings)) {
    std::fprintf(stderr, "corvid-replay: cannot read the settings file %s\n", config);
    return 1;
  }

  int status = 0;
  for (const char* path : files) {
    std::string text;
    if (!ReadFile(path, text)) {
      std::fprintf(stderr, "corvid-replay: cannot read %s\n", path);
      status = 1;
      continue;
    }
    std::printf("== %s\n", path);

    HeadlessPlatform p;
    p.uiLanguage = uiLanguage;
    p.input.keep = false;
    // A copy of the user's file: Corvid's start-up may rebuild it, the
    // original stays as it is.
    if (config) p.memoryFiles.files[p.configFolder + kSettingsFileName] = settings;
    const auto now = [&p] { return static_cast<unsigned long long>(p.clock.NowMs()); };
    p.boxes.onShow = [&](std::string_view text, std::string_view caption) {
      std::printf("%6llu ms  box  %.*s: %.*s\n", now(), int(caption.size()), caption.data(), int(text.size()),
                  text.data());
    };
    // The pointer starts in the middle of the screen; moves are relative.
    int64_t x = p.screen.width / 2, y = p.screen.height / 2;
    p.input.onEvent = [&](const InputEvent& e) {
      if (e.type != InputEvent::Type::Mouse) return;
      if (e.flags == mouseflag::kMove) {
        x += e.dx;
        y += e.dy;
        std::printf("%6llu ms  ptr  move %+d %+d to %lld,%lld\n", now(), e.dx, e.dy, static_cast<long long>(x),
                    static_cast<long long>(y));
      } else if (e.flags == mouseflag::kWheel) {
        std::printf("%6llu ms  ptr  wheel %+d at %lld,%lld\n", now(), e.mouseData, static_cast<long long>(x),
                    static_cast<long long>(y));
      } else if (const char* name = ButtonEventName(e.flags)) {
        std::printf("%6llu ms  ptr  %s at %lld,%lld\n", now(), name, static_cast<long long>(x),
                    static_cast<long long>(y));
      }
    };

    CorvidApp app(p);
    app.ReceiveLog().SetCapacity(0);
    app.MonitorLines().SetCapacity(0);
    AttachTrace(app, [&](std::string_view kind, std::string_view line) {
      if (kind == "mon" && !showMonitor) return;
      std::printf("%6llu ms  %.*s  %.*s\n", now(), int(kind.size()), kind.data(), int(line.size()), line.data());
    });
    app.StartUp();
    app.StartReplay(ParseRecordedSession(text), false);
    // The end of the session lets go of whatever it still holds, as in
    // Corvid.exe.
    while (app.ReplayRunning() && p.clock.AdvanceToNext()) {
    }
    std::fflush(stdout);
  }
  return status;
}
