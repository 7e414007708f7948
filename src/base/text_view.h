#pragma once
// The append-only text views: the receive log, the code monitor and the
// debug trace; and the one-line field above the trace.
#include <cstddef>
#include <cstdint>
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
  // Whether an appended line goes anywhere; a writer may skip making it.
  virtual bool Keeps() const { return true; }
};

// The last `capacity` lines of a view, in a ring: a resident program that
// logs every repeat of a held key must not grow for as long as it runs.
// Observers see each line as it comes (the window that shows it, a replay
// that prints it).
class LineView : public TextView {
 public:
  static constexpr size_t kDefaultCapacity = 3000;
  explicit LineView(size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

  void Append(std::string_view line) override;
  void Clear() override;
  bool Visible() const override { return visible_; }
  bool Keeps() const override { return capacity_ > 0 || static_cast<bool>(onLine); }
  void SetVisible(bool v) { visible_ = v; }

  // 0 keeps nothing (observers still see every line).
  void SetCapacity(size_t capacity);
  size_t Size() const { return size_; }
  // Line i of those kept, 0 the oldest.
  const std::string& Line(size_t i) const { return slots_[(head_ + i) % capacity_]; }
  std::vector<std::string> Lines() const;
  // Heap bytes held by the kept lines.
  size_t MemoryBytes() const;

  // Every line appended since the view was made, and every clearing: a window
  // that shows the view catches up from these.
  uint64_t Appended() const { return appended_; }
  uint64_t Clears() const { return clears_; }

  std::function<void(std::string_view)> onLine;
  std::function<void()> onClear;
  // After any change; a window marks itself out of date.
  std::function<void()> onChanged;

 private:
  // Grows to `capacity_` slots and stays: a full ring reuses the oldest
  // slot's buffer, a cleared one its slots.
  std::vector<std::string> slots_;
  size_t head_ = 0;  // slot of the oldest line
  size_t size_ = 0;
  size_t capacity_;
  uint64_t appended_ = 0, clears_ = 0;
  bool visible_ = false;
};

// A one-line box: each Set replaces its text (the last match of the target
// window search, shown at the top of the debug window).
class TextField {
 public:
  void Set(std::string_view text) {
    text_.assign(text);
    if (onSet) onSet(text_);
    if (onChanged) onChanged();
  }
  // Emptied by its window (not a new value of the program's).
  void Clear() {
    text_.clear();
    if (onChanged) onChanged();
  }
  const std::string& Text() const { return text_; }

  std::function<void(std::string_view)> onSet;
  // After any change; the window that shows it refreshes.
  std::function<void()> onChanged;

 private:
  std::string text_;
};

}  // namespace corvid
