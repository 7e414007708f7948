#include "osd/osd_window_win32.h"

#include <windows.h>
#include <windowsx.h>

#include <cstring>

#include "base/handles_win32.h"

namespace corvid {

struct OsdWindowWin32::Surface {
  MemoryDc dc;
  DibSection dib;  // after the DC: let go of before it is deleted
};

namespace {
constexpr DWORD kExStyle = WS_EX_LAYERED | WS_EX_TOPMOST;
// Clicks pass through the message to the program below (a maximised
// program's title bar lies under it), except while it is being placed.
constexpr DWORD kClickThrough = WS_EX_TRANSPARENT;
constexpr DWORD kStyle = WS_POPUP | WS_VISIBLE;
// SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOSENDCHANGING
constexpr UINT kToTopFlags = 0x051B;
}  // namespace

OsdWindowWin32::OsdWindowWin32() : surface_(std::make_unique<Surface>()) {}

OsdWindowWin32::~OsdWindowWin32() = default;

bool OsdWindowWin32::Create(HWND owner, OsdMessage& core) {
  if (Handle()) return true;
  surface_->dc.Reset(CreateCompatibleDC(nullptr));
  if (!surface_->dc) return false;
  // Created hidden and shown without activation with the first message: a
  // top-level window created visible takes the foreground, and the keys the
  // user (or a remote) types would go to the message instead of the program
  // in front.
  HWND w = CreateWindowExW(kExStyle | kClickThrough, L"STATIC", L"", kStyle & ~WS_VISIBLE, 0, 0, 0, 0, owner,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!w) return false;
  core_ = &core;
  core.OsdDragging = false;
  Subclass(w);
  hidden_ = true;
  return true;
}

intptr_t OsdWindowWin32::OnMessage(unsigned msg, uintptr_t wp, intptr_t lp) {
  if (core_) {
    OsdMessage& core = *core_;
    switch (msg) {
      case WM_LBUTTONDOWN:
        if (core.OsdWindowLButtonDown()) {
          // The system drags a window by its caption; the press point goes
          // along in screen coordinates, as that message carries it.
          POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
          ClientToScreen(Handle(), &p);
          PostMessageW(Handle(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(p.x, p.y));
        }
        break;
      case WM_WINDOWPOSCHANGED: {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
        if (pos && !(pos->flags & SWP_NOMOVE)) core.OsdWindowPosChanged(pos->x, pos->y);
        break;
      }
      case WM_LBUTTONUP:
        core.OsdWindowLButtonUp();
        break;
      case WM_EXITSIZEMOVE:
        core.OsdWindowMoveEnded();
        break;
    }
  }
  // The default procedure, not the static control's: that one answers
  // HTTRANSPARENT to hit tests and the letters could not be dragged.
  return DefWindowProcW(Handle(), msg, wp, lp);
}

bool OsdWindowWin32::EnsureSurface(int32_t width, int32_t height) {
  if (surface_->dib && width == width_ && height == height_) return true;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, as the picture's rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  if (!surface_->dib.Create(surface_->dc.Get(), info)) return false;
  bits_ = static_cast<uint8_t*>(surface_->dib.Bits());
  width_ = width;
  height_ = height;
  return true;
}

bool OsdWindowWin32::UpdateWindow(bool move, uint8_t alpha) {
  BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
  POINT to{x_, y_};
  SIZE size{width_, height_};
  POINT from{0, 0};
  return UpdateLayeredWindow(Handle(), nullptr, move ? &to : nullptr, &size, surface_->dc.Get(), &from, 0, &blend,
                             ULW_ALPHA);
}

bool OsdWindowWin32::Push(const OsdBitmap& picture, int32_t x, int32_t y, uint8_t alpha) {
  if (!Handle() || !surface_->dc) return false;
  if (picture.Width() <= 0 || picture.Height() <= 0) {
    // Nothing to show on a screen without size; hide what was shown.
    return !shown_ || SetAlpha(0);
  }
  if (!EnsureSurface(picture.Width(), picture.Height())) return false;
  GdiFlush();
  for (int32_t row = 0; row < height_; ++row)
    std::memcpy(bits_ + size_t(row) * picture.Stride(), picture.Row(row), picture.Stride());
  x_ = x;
  y_ = y;
  // Hidden while nothing shows (no window over the band to catch a click
  // or a window pick); a layered window faded to nothing also stays unseen
  // under Wine whatever is pushed into it next, until it is shown anew.
  if (alpha > 0 && hidden_) {
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    hidden_ = false;
  }
  const bool ok = UpdateWindow(true, alpha);
  shown_ = shown_ || ok;
  if (alpha == 0) Hide();
  return ok;
}

void OsdWindowWin32::Hide() {
  if (hidden_) return;
  ShowWindow(Handle(), SW_HIDE);
  hidden_ = true;
}

void OsdWindowWin32::SetClickThrough(bool on) {
  if (!Handle()) return;
  const LONG_PTR ex = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  const LONG_PTR want = on ? (ex | kClickThrough) : (ex & ~static_cast<LONG_PTR>(kClickThrough));
  if (want != ex) SetWindowLongPtrW(Handle(), GWL_EXSTYLE, want);
}

bool OsdWindowWin32::SetAlpha(uint8_t alpha) {
  if (!Handle() || !shown_) return false;
  // The form without a source (alpha alone) is accepted but ignored by some
  // window systems (Wine without a compositor), so the kept picture goes
  // along unchanged. No position: a drag under way is not undone.
  const bool ok = UpdateWindow(false, alpha);
  if (alpha == 0) Hide();
  return ok;
}

void OsdWindowWin32::BringToTop() {
  if (Handle()) SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, kToTopFlags);
}

}  // namespace corvid
