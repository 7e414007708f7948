#pragma once
// What the running program shows, as lines of "kind text": the receive log
// ("log"), the code monitor ("mon"), the debug window ("dbg", and "hit" for
// its one-line field) and the on-screen messages ("osd"). corvid-replay prints them; Corvid.exe writes
// them to a file with --trace, so the two can be compared.
#include <functional>
#include <string_view>

namespace corvid {

class CorvidApp;

using TraceSink = std::function<void(std::string_view kind, std::string_view text)>;
void AttachTrace(CorvidApp& app, const TraceSink& sink);

}  // namespace corvid
