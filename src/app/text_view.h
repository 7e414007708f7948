#pragma once
// An append-only text view: the receive log, the code monitor, the debug window.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace corvid {

class TextView {
 public:
  virtual ~TextView() = default;
  virtual void Append(std::string_view line) = 0;
  virtual void Clear() = 0;
  virtual bool Visible() const = 0;
};

// Keeps its lines in memory; what the windows show and what tests read.
class LineView : public TextView {
 public:
  void Append(std::string_view line) override {
    if (onLine) onLine(line);
    if (keep) lines_.emplace_back(line);
  }
  void Clear() override {
    if (onClear) onClear();
    lines_.clear();
  }
  bool Visible() const override { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  const std::vector<std::string>& Lines() const { return lines_; }

  std::function<void(std::string_view)> onLine;  // e.g. print as it happens
  std::function<void()> onClear;
  bool keep = true;

 private:
  std::vector<std::string> lines_;
  bool visible_ = false;
};

}  // namespace corvid
