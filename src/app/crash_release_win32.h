#pragma once
// The ends of the process that Corvid can see besides a quit: a crash (an
// unhandled exception, std::terminate) lets go of every key, modifier and
// mouse button Corvid holds and gives the cursors back before the process
// goes. (A hard kill cannot be caught.)
namespace corvid {

class CorvidApp;

// Installs the handlers once; `app`, while it is set, is told to let go.
void InstallCrashRelease();

class ReleaseOnCrash {
 public:
  explicit ReleaseOnCrash(CorvidApp& app);
  ~ReleaseOnCrash();
  ReleaseOnCrash(const ReleaseOnCrash&) = delete;
  ReleaseOnCrash& operator=(const ReleaseOnCrash&) = delete;
};

}  // namespace corvid
