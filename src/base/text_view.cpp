#include "base/text_view.h"

namespace corvid {

void LineView::Append(std::string_view line) {
  if (onLine) onLine(line);
  if (capacity_ == 0) return;
  ++appended_;
  if (size_ == capacity_) {
    slots_[head_].assign(line);
    head_ = (head_ + 1) % capacity_;
  } else {
    const size_t slot = (head_ + size_) % capacity_;
    if (slot == slots_.size()) slots_.emplace_back(line);
    else slots_[slot].assign(line);
    ++size_;
  }
  if (onChanged) onChanged();
}

void LineView::Clear() {
  if (onClear) onClear();
  for (std::string& s : slots_) s.clear();
  head_ = 0;
  size_ = 0;
  ++clears_;
  if (onChanged) onChanged();
}

void LineView::SetCapacity(size_t capacity) {
  std::vector<std::string> kept = Lines();
  const size_t from = kept.size() > capacity ? kept.size() - capacity : 0;
  slots_.clear();
  slots_.shrink_to_fit();
  head_ = size_ = 0;
  capacity_ = capacity;
  auto observer = std::move(onLine);  // the kept lines are not new
  onLine = nullptr;
  for (size_t i = from; i < kept.size(); ++i) Append(kept[i]);
  onLine = std::move(observer);
}

std::vector<std::string> LineView::Lines() const {
  std::vector<std::string> out;
  out.reserve(size_);
  for (size_t i = 0; i < size_; ++i) out.push_back(Line(i));
  return out;
}

size_t LineView::MemoryBytes() const {
  size_t bytes = slots_.capacity() * sizeof(std::string);
  for (const std::string& s : slots_)
    if (s.capacity() > 15) bytes += s.capacity() + 1;  // beyond the in-place buffer
  return bytes;
}

}  // namespace corvid
