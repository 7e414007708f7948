#pragma once
// One owner for something of the system's that must be given back exactly
// once (a handle, a device context, a selection). Moving hands it on and
// leaves the source empty; the last owner gives it back as it goes.
//
// Traits say what the value is and how it goes back:
//   using Value = ...;              // a handle, or a small struct of them
//   static Value Empty();           // what an empty owner holds
//   static bool Held(Value);        // whether it needs giving back
//   static bool Free(Value);        // gives it back; false when refused
#include <utility>

namespace corvid {

template <typename Traits>
class UniqueResource {
 public:
  using Value = typename Traits::Value;

  UniqueResource() = default;
  explicit UniqueResource(Value v) : value_(v) {}
  ~UniqueResource() { Reset(); }
  UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;

  Value Get() const { return value_; }
  explicit operator bool() const { return Traits::Held(value_); }

  // Gives back what is held and takes `v`.
  void Reset(Value v = Traits::Empty()) {
    const Value old = std::exchange(value_, v);
    if (Traits::Held(old)) Traits::Free(old);
  }
  // Gives back what is held and tells whether that worked (a file whose
  // close fails may not have been written).
  bool Close() {
    const Value old = Release();
    return !Traits::Held(old) || Traits::Free(old);
  }
  // The caller owns it from now on.
  Value Release() { return std::exchange(value_, Traits::Empty()); }
  // Empty, and where a function that hands out a new one writes it.
  Value* Put() {
    Reset();
    return &value_;
  }

 private:
  Value value_ = Traits::Empty();
};

}  // namespace corvid
