// The message window on a real desktop: a message shows centred in the top
// tenth of the screen with its shadow, smooth edges and Japanese glyphs, and
// is gone after the fade. The capture is written as osd_capture.png into the
// build folder for a look by eye.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "actions/mouse_motion_win32.h"
#include "app/platform_win32.h"
#include "osd/glyphs_win32.h"
#include "osd/osd_message.h"
#include "osd/osd_window_win32.h"
#include "win32/wine_check_win32.h"

using namespace corvid;

namespace {

Win32TimerHost* g_timers = nullptr;

LRESULT CALLBACK OwnerProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && g_timers && g_timers->Owns(wp)) {
    Win32TimerHost::OnTimerMessage(wp);
    return 0;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

struct CountingBoxes : MessageBoxes {
  int Show(std::string_view text, std::string_view, Kind) override {
    std::printf("box: %.*s\n", int(text.size()), text.data());
    ++shown;
    return kAnswerOk;
  }
  int shown = 0;
};

struct Capture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB
  uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

Capture CaptureScreen() {
  Capture c;
  c.width = GetSystemMetrics(SM_CXSCREEN);
  c.height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = c.width;
  info.bmiHeader.biHeight = -c.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(mem, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, c.width, c.height, screen, 0, 0, SRCCOPY | CAPTUREBLT);
  GdiFlush();
  c.pixels.resize(size_t(c.width) * size_t(c.height));
  const auto* p = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < c.pixels.size(); ++i) c.pixels[i] = p[i] & 0xFFFFFF;
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return c;
}

// PNG with stored (uncompressed) deflate blocks: no library needed.
uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
  static uint32_t table[256];
  if (!table[1])
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[i] = c;
    }
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
}

void Chunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
  Put32(png, uint32_t(data.size()));
  std::vector<uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  png.insert(png.end(), body.begin(), body.end());
  Put32(png, Crc32(body.data(), body.size()));
}

bool WritePng(const std::string& path, const Capture& c, int rows) {
  std::vector<uint8_t> raw;
  for (int y = 0; y < rows; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < c.width; ++x) {
      const uint32_t p = c.At(x, y);
      raw.push_back(uint8_t(p >> 16));
      raw.push_back(uint8_t(p >> 8));
      raw.push_back(uint8_t(p));
    }
  }
  std::vector<uint8_t> z = {0x78, 0x01};
  for (size_t at = 0; at < raw.size() || at == 0;) {
    const size_t n = std::min<size_t>(65535, raw.size() - at);
    const bool last = at + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(uint8_t(n));
    z.push_back(uint8_t(n >> 8));
    z.push_back(uint8_t(~n));
    z.push_back(uint8_t(~n >> 8));
    z.insert(z.end(), raw.begin() + long(at), raw.begin() + long(at + n));
    at += n;
    if (last) break;
  }
  uint32_t a = 1, b = 0;
  for (uint8_t v : raw) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  Put32(z, (b << 16) | a);
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<uint8_t> header;
  Put32(header, uint32_t(c.width));
  Put32(header, uint32_t(rows));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", z);
  Chunk(png, "IEND", {});
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
  return bool(out);
}

bool Bright(uint32_t p) { return (p & 0xFF) >= 200 && ((p >> 8) & 0xFF) >= 200 && ((p >> 16) & 0xFF) >= 200; }
bool Dark(uint32_t p) { return (p & 0xFF) < 80 && ((p >> 8) & 0xFF) < 80 && ((p >> 16) & 0xFF) < 80; }

// Pixels of the top tenth that turned bright since `before`, and their box.
struct Found {
  int count = 0;
  RECT box{INT_MAX, INT_MAX, -1, -1};
};
Found BrightChanges(const Capture& before, const Capture& now, int rows) {
  Found f;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < now.width; ++x)
      if (Bright(now.At(x, y)) && now.At(x, y) != before.At(x, y)) {
        ++f.count;
        f.box = {std::min<LONG>(f.box.left, x), std::min<LONG>(f.box.top, y), std::max<LONG>(f.box.right, x + 1),
                 std::max<LONG>(f.box.bottom, y + 1)};
      }
  return f;
}

int DarkChanges(const Capture& before, const Capture& now, RECT r) {
  int n = 0;
  for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, now.height); ++y)
    for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, now.width); ++x)
      if (Dark(now.At(x, y)) && now.At(x, y) != before.At(x, y)) ++n;
  return n;
}

// A grey window behind the message, so that its black shadow shows (the
// virtual desktop is black).
HWND MakeBackdrop() {
  return wine_check::MakeFrontWindow(L"CorvidOsdTestBackdrop", DefWindowProcW, 0, WS_POPUP,
                                     {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) / 5},
                                     RGB(128, 128, 128));
}

void GlyphChecks(GdiGlyphRenderer& glyphs, const Settings& s) {
  const OsdFont font{s.MesFont, s.MesSize};
  bool complete = false;
  const std::wstring latin = glyphs.FaceFor("KBD Mode", font, &complete);
  std::printf("face for \"KBD Mode\": %ls%s\n", latin.c_str(), complete ? "" : " (glyphs missing)");
  WCHECK(complete);
  const std::wstring japanese = glyphs.FaceFor("常駐解除 KBD Mode", font, &complete);
  std::printf("face for Japanese text: %ls%s\n", japanese.c_str(), complete ? "" : " (glyphs missing)");
  WCHECK(complete);

  // Plain drawing gives only the glyphs' own pixels, smooth drawing edges in between.
  OsdBitmap b;
  b.Resize(600, 100);
  const OsdSize size = glyphs.Measure("常駐解除", font);
  WCHECK(size.width > 2 * s.MesSize);
  WCHECK(size.height >= s.MesSize);
  for (int aa : {0, 4}) {
    b.Clear();
    glyphs.Draw(b, "常駐解除", font, 10, 10, 0xFFFFFF, aa);
    int full = 0, partial = 0;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        const uint8_t a = b.Row(y)[x * 4 + 3];
        full += a == 255;
        partial += a > 0 && a < 255;
      }
    std::printf("antialias %d: %d full, %d partial pixels\n", aa, full, partial);
    WCHECK(full > 200);
    WCHECK(aa == 0 ? partial == 0 : partial > 100);
  }
  // Text put together from kept glyphs matches the text drawn whole at the
  // large size, at every horizontal phase the pen takes.
  for (const char* t : {"With MOUSE Mode(3)", "常駐解除 KBD Mode"}) {
    OsdBitmap whole, pieced;
    whole.Resize(900, 100);
    pieced.Resize(900, 100);
    glyphs.glyphCache = false;
    glyphs.Draw(whole, t, font, 13, 17, 0xFFFFFF, 4);
    glyphs.glyphCache = true;
    glyphs.Draw(pieced, t, font, 13, 17, 0xFFFFFF, 4);
    int differ = 0, worst = 0, inked = 0;
    for (int y = 0; y < whole.Height(); ++y)
      for (int x = 0; x < whole.Width(); ++x) {
        const int a = whole.Row(y)[x * 4 + 3], b2 = pieced.Row(y)[x * 4 + 3];
        inked += a > 0;
        differ += a != b2;
        worst = std::max(worst, std::abs(a - b2));
      }
    std::printf("\"%s\" from kept glyphs: %d of %d inked pixels differ, by %d at most\n", t, differ, inked, worst);
    WCHECK(inked > 1000);
    WCHECK(differ * 100 <= inked);  // touching glyphs may add up a little differently
  }
  std::printf("glyph scratch: %zu bytes\n", glyphs.ScratchBytes());
}

void MouseTo(int x, int y, DWORD buttons = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = LONG((x * 65535LL + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1));
  in.mi.dy = LONG((y * 65535LL + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  SendInput(1, &in, sizeof in);
}

// The user drags the message by a letter; the system's move loop runs on
// this thread, so the hand is another thread.
void DragChecks(OsdMessage& osd, const Settings& settings, const Capture& shown, const RECT& letters) {
  POINT grip{-1, -1};
  for (int y = letters.top; y < letters.bottom && grip.x < 0; ++y)
    for (int x = letters.left; x < letters.right && grip.x < 0; ++x)
      if (Bright(shown.At(x, y)) && Bright(shown.At(x + 1, y)) && Bright(shown.At(x, y + 1))) grip = {x, y};
  WCHECK(grip.x >= 0);
  if (grip.x < 0) return;
  osd.ShowMessage("KBD Mode");
  wine_check::Pump(100);
  struct Hand {
    POINT from;
    static DWORD WINAPI Run(void* p) {
      const POINT f = static_cast<Hand*>(p)->from;
      MouseTo(f.x, f.y);
      Sleep(60);
      MouseTo(f.x, f.y, MOUSEEVENTF_LEFTDOWN);
      Sleep(120);
      for (int k = 1; k <= 10; ++k) {
        MouseTo(f.x + 12 * k, f.y + 15 * k);
        Sleep(25);
      }
      Sleep(80);
      MouseTo(f.x + 120, f.y + 150, MOUSEEVENTF_LEFTUP);
      return 0;
    }
  } hand{grip};
  HANDLE thread = CreateThread(nullptr, 0, &Hand::Run, &hand, 0, nullptr);
  while (WaitForSingleObject(thread, 0) == WAIT_TIMEOUT) wine_check::Pump(10);
  CloseHandle(thread);
  wine_check::Pump(200);
  std::printf("dragged from (%ld,%ld): message now at %d,%d, dragging %d\n", grip.x, grip.y, settings.MesPosx,
              settings.MesPosy, int(osd.OsdDragging));
  WCHECK_EQ(settings.MesPosx, 120);
  WCHECK_EQ(settings.MesPosy, 150);
  WCHECK(!osd.OsdDragging);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::printf("usage: osd_test_win32 CORVID.EXE SOURCE_DIR BUILD_DIR\n");
    return 2;
  }
  const std::string buildDir = argv[3];
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"CorvidOsdTestOwner";
  RegisterClassW(&wc);
  HWND owner = CreateWindowExW(0, wc.lpszClassName, L"owner", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  WCHECK(owner != nullptr);

  Win32TimerHost timers;
  g_timers = &timers;
  timers.Attach(owner);
  CountingBoxes boxes;
  GdiGlyphRenderer glyphs;
  OsdWindowWin32 window;
  Win32ScreenSize screen;
  OsdMessage osd(timers, glyphs, window, screen, boxes);
  Settings settings;
  int32_t battery = 0;
  osd.Bind(settings, battery);

  osd.ShowMessage("before the window");  // harmless
  WCHECK(!osd.DecIdleTimer.Enabled());
  WCHECK(window.Create(owner, osd));
  wine_check::Pump(200);

  GlyphChecks(glyphs, settings);

  HWND backdrop = MakeBackdrop();
  const Capture before = CaptureScreen();
  const int tenth = before.height / 10;
  const DWORD shownAt = GetTickCount();
  osd.ShowMessage("KBD Mode");
  const DWORD renderMs = GetTickCount() - shownAt;
  wine_check::Pump(250);
  const Capture shown = CaptureScreen();
  WCHECK(WritePng(buildDir + "/osd_capture.png", shown, std::min(shown.height, 3 * tenth)));
  std::printf("ShowMessage took %lu ms; capture in %s/osd_capture.png\n", renderMs, buildDir.c_str());

  const Found text = BrightChanges(before, shown, shown.height);
  std::printf("text pixels: %d in (%ld,%ld)-(%ld,%ld) on %dx%d\n", text.count, text.box.left, text.box.top,
              text.box.right, text.box.bottom, shown.width, shown.height);
  WCHECK(text.count > 300);
  WCHECK(text.box.bottom <= tenth);  // all of it in the top tenth
  const int centreX = (text.box.left + text.box.right) / 2;
  const int centreY = (text.box.top + text.box.bottom) / 2;
  WCHECK(std::abs(centreX - shown.width / 2) <= 6);
  WCHECK(std::abs(centreY - tenth / 2) <= 12);
  // The shadow: dark pixels just left of, right of and below the letters.
  const RECT& t = text.box;
  const int left = DarkChanges(before, shown, {t.left - 10, t.top, t.left - 1, t.bottom});
  const int right = DarkChanges(before, shown, {t.right + 1, t.top, t.right + 10, t.bottom});
  const int below = DarkChanges(before, shown, {t.left, t.bottom, t.right, t.bottom + 6});
  std::printf("shadow pixels: %d left, %d right, %d below\n", left, right, below);
  WCHECK(left > 20 && right > 20 && below > 20);
  // Nothing far from the letters.
  WCHECK(DarkChanges(before, shown, {0, 0, t.left - 40, tenth}) == 0);

  // Held for a second, then 25 fade steps.
  while (GetTickCount() - shownAt < 900) wine_check::Pump(20);
  WCHECK(osd.DecIdleTimer.Enabled());
  const DWORD deadline = shownAt + 3000;
  while (osd.AlphDecTimer.Enabled() || osd.DecIdleTimer.Enabled()) {
    if (static_cast<LONG>(deadline - GetTickCount()) < 0) break;
    wine_check::Pump(10);
  }
  const DWORD fadedAt = GetTickCount() - shownAt;
  std::printf("faded out %lu ms after the show\n", fadedAt);
  WCHECK(!osd.AlphDecTimer.Enabled());
  WCHECK(osd.OsdAlpha == 255);
  wine_check::Pump(100);
  const Capture gone = CaptureScreen();
  const Found left_over = BrightChanges(before, gone, tenth);
  std::printf("bright pixels after the fade: %d\n", left_over.count);
  WCHECK(left_over.count == 0);
  WCHECK(DarkChanges(before, gone, {0, 0, gone.width, tenth}) == 0);

  // An empty text shows nothing.
  osd.ShowMessage("");
  wine_check::Pump(100);
  WCHECK(BrightChanges(before, CaptureScreen(), tenth).count == 0);
  WCHECK(boxes.shown == 0);

  DragChecks(osd, settings, shown, text.box);

  DestroyWindow(backdrop);
  DestroyWindow(owner);
  return WineCheckResult("osd_test_win32");
}
