#pragma once
// When to give the working set back to the system. Trimming on every empty
// queue, as a timer ticks every 10 ms while a button is held, only buys page
// faults; trim once each time Corvid comes to rest.
namespace corvid {

class IdleTrim {
 public:
  // Called at every idle turn; true when the trim should be made now.
  bool OnIdle(bool busy) {
    if (busy) {
      trimmed_ = false;
      return false;
    }
    if (trimmed_) return false;
    trimmed_ = true;
    return true;
  }

 private:
  bool trimmed_ = false;
};

}  // namespace corvid
