#pragma once
// Owners of the Win32 handles Corvid makes: each gives its handle back the
// one way the system wants it back, when it goes. Move-only, no allocation.
#include <windows.h>

#include <utility>

#include "base/unique_resource.h"

namespace corvid {

// A kernel object (file, process, thread, event, token, snapshot), closed
// with CloseHandle. Some functions fail with null and others with
// INVALID_HANDLE_VALUE; neither is held. The latter is also what
// GetCurrentProcess() returns, which must never be closed.
struct KernelHandleTraits {
  using Value = HANDLE;
  static Value Empty() { return nullptr; }
  static bool Held(Value h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static bool Free(Value h) { return CloseHandle(h) != FALSE; }
};
using UniqueHandle = UniqueResource<KernelHandleTraits>;

// A font, bitmap, brush, pen or region, deleted with DeleteObject. The
// system refuses to delete one still selected into a DC: let a
// SelectedObject declared after it put the old one back first.
template <typename T>
struct GdiObjectTraits {
  using Value = T;
  static Value Empty() { return nullptr; }
  static bool Held(Value o) { return o != nullptr; }
  static bool Free(Value o) { return DeleteObject(o) != FALSE; }
};
template <typename T>
using GdiObject = UniqueResource<GdiObjectTraits<T>>;

// A DC made with CreateCompatibleDC, deleted with DeleteDC.
struct MemoryDcTraits {
  using Value = HDC;
  static Value Empty() { return nullptr; }
  static bool Held(Value dc) { return dc != nullptr; }
  static bool Free(Value dc) { return DeleteDC(dc) != FALSE; }
};
using MemoryDc = UniqueResource<MemoryDcTraits>;

// A window's DC (the screen's for no window), from GetDC, given back with
// ReleaseDC to the window it came from.
class WindowDc {
 public:
  WindowDc() = default;
  explicit WindowDc(HWND window) : held_(State{window, GetDC(window)}) {}

  HDC Get() const { return held_.Get().dc; }
  explicit operator bool() const { return static_cast<bool>(held_); }

 private:
  struct State {
    HWND window;
    HDC dc;
  };
  struct Traits {
    using Value = State;
    static Value Empty() { return {}; }
    static bool Held(Value v) { return v.dc != nullptr; }
    static bool Free(Value v) { return ReleaseDC(v.window, v.dc) != 0; }
  };
  UniqueResource<Traits> held_;
};

// An object selected into a DC; the DC's selection from before goes back
// when this goes. Selecting again (another font into the same DC) keeps
// the first one found, so the DC gets back what it had at the start. Not
// for regions, which SelectObject copies instead.
class SelectedObject {
 public:
  SelectedObject() = default;
  SelectedObject(HDC dc, HGDIOBJ object) { Select(dc, object); }

  bool Select(HDC dc, HGDIOBJ object) {
    if (held_ && held_.Get().dc != dc) held_.Reset();
    if (!dc || !object) return false;
    const HGDIOBJ previous = SelectObject(dc, object);
    if (!previous || previous == HGDI_ERROR) return false;
    if (!held_) held_.Reset(State{dc, previous});
    return true;
  }
  // Puts the DC's first selection back now.
  void Reset() { held_.Reset(); }
  explicit operator bool() const { return static_cast<bool>(held_); }

 private:
  struct State {
    HDC dc;
    HGDIOBJ previous;
  };
  struct Traits {
    using Value = State;
    static Value Empty() { return {}; }
    static bool Held(Value v) { return v.previous != nullptr; }
    static bool Free(Value v) { return SelectObject(v.dc, v.previous) != nullptr; }
  };
  UniqueResource<Traits> held_;
};

// A DIB section selected into a DC: the DC's old bitmap goes back into it,
// and then the section is deleted.
class DibSection {
 public:
  DibSection() = default;
  DibSection(DibSection&& other) noexcept
      : bitmap_(std::move(other.bitmap_)),
        selected_(std::move(other.selected_)),
        bits_(std::exchange(other.bits_, nullptr)) {}
  // Member by member would delete this bitmap while it is still selected.
  DibSection& operator=(DibSection&& other) noexcept {
    if (this != &other) {
      Reset();
      bitmap_ = std::move(other.bitmap_);
      selected_ = std::move(other.selected_);
      bits_ = std::exchange(other.bits_, nullptr);
    }
    return *this;
  }

  // A new section of `info`'s format, selected into `dc` in place of the
  // one held, which is then deleted. False, keeping the one held, when the
  // new one cannot be made.
  bool Create(HDC dc, const BITMAPINFO& info) {
    void* bits = nullptr;
    GdiObject<HBITMAP> made(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!made || !bits || !selected_.Select(dc, made.Get())) return false;
    bitmap_ = std::move(made);
    bits_ = bits;
    return true;
  }
  void Reset() {
    selected_.Reset();
    bitmap_.Reset();
    bits_ = nullptr;
  }

  HBITMAP Get() const { return bitmap_.Get(); }
  void* Bits() const { return bits_; }
  explicit operator bool() const { return static_cast<bool>(bitmap_); }

 private:
  GdiObject<HBITMAP> bitmap_;
  SelectedObject selected_;  // after the bitmap: gone first, so the DC lets go before the delete
  void* bits_ = nullptr;
};

}  // namespace corvid
