#include "app/trace.h"

#include "app/corvid_app.h"

namespace corvid {

void AttachTrace(CorvidApp& app, const TraceSink& sink) {
  app.ReceiveLog().onLine = [sink](std::string_view line) { sink("log", line); };
  app.MonitorLines().onLine = [sink](std::string_view line) { sink("mon", line); };
  app.DebugLog().onLine = [sink](std::string_view line) { sink("dbg", line); };
  app.DebugMatch().onSet = [sink](std::string_view text) { sink("hit", text); };
  app.Osd().onShow = [sink](std::string_view text) { sink("osd", text); };
}

}  // namespace corvid
