#pragma once
namespace corvid {

// Whether the window directly under the cursor is one of Corvid's own.
class OwnWindows {
 public:
  virtual ~OwnWindows() = default;
  virtual bool IsOverOwnWindow() = 0;
};

}  // namespace corvid
