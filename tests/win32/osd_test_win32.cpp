// The message window on a real desktop: centred in the top tenth with its
// shadow, smooth edges and Japanese glyphs, gone after the fade, letting
// clicks and window picks through, dragged by a letter while the settings
// allow it. osd_capture.png in the build folder is for a look by eye.
#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

#include "osd/glyphs_win32.h"
#include "win32/wine_support_win32.h"

using namespace corvid;
using namespace wine_test;

namespace {

class OsdOnTheDesktop : public ::testing::Test {
 protected:
  // The mode message of the start-up fades first: the test shows its own.
  OsdOnTheDesktop() { Faded(3000); }
  bool Faded(unsigned ms) {
    return Until([&] { return !osd.fadeDelayTimer.Enabled() && !osd.fadeStepTimer.Enabled(); }, ms);
  }
  InProcessCorvid corvid{L"osd-test"};
  OsdMessage& osd = corvid.app->Osd();
  Settings& settings = corvid.app->Data().settings;
};

int DarkChanges(const Capture& before, const Capture& now, RECT r) { return ChangedPixels(before, now, r, Dark).count; }

// The drawing DCs' owners: a new section takes the old one's place, and
// however often a font or section was swapped, the DC ends with its own.
TEST(DrawingDc, GetsItsOwnBitmapAndFontBack) {
  const MemoryDc dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  const HGDIOBJ ownBitmap = GetCurrentObject(dc.Get(), OBJ_BITMAP), ownFont = GetCurrentObject(dc.Get(), OBJ_FONT);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, 8, -8, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  {
    const GdiObject<HFONT> small(CreateFontW(12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma"));
    const GdiObject<HFONT> large(CreateFontW(40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma"));
    DibSection section;
    ASSERT_TRUE(section.Create(dc.Get(), info));
    info.bmiHeader.biWidth = 16;
    ASSERT_TRUE(section.Create(dc.Get(), info));
    const DibSection moved = std::move(section);
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), moved.Get());
    SelectedObject font(dc.Get(), small.Get());
    EXPECT_TRUE(font.Select(dc.Get(), large.Get()));
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), large.Get());
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), ownBitmap);
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), ownFont);
}

// The face chosen for Latin and Japanese texts has every glyph; plain
// drawing gives only the glyphs' own pixels, smooth drawing edges between;
// text put together from kept glyphs matches the text drawn whole.
TEST_F(OsdOnTheDesktop, GlyphsOfTheRealFonts) {
  GdiGlyphRenderer& glyphs = static_cast<GdiGlyphRenderer&>(corvid.platform->Glyphs());
  const OsdFont font{settings.MesFont, settings.MesSize};
  const OsdSize size = glyphs.Measure("常駐解除", font);
  EXPECT_TRUE(size.width > 2 * settings.MesSize && size.height >= settings.MesSize);
  for (const char* t : {"With MOUSE Mode(3)", "常駐解除 KBD Mode"}) {
    bool complete = false;
    const std::wstring face = glyphs.FaceFor(t, font, &complete);
    EXPECT_TRUE(complete) << t << ": " << Utf8(face);
    // Plain, then smooth at every horizontal phase the pen takes.
    for (int aa : {0, 4}) {
      OsdBitmap whole, pieced;
      whole.Resize(900, 100);
      pieced.Resize(900, 100);
      glyphs.glyphCache = false;
      glyphs.Draw(whole, t, font, 13, 17, 0xFFFFFF, aa);
      glyphs.glyphCache = true;
      glyphs.Draw(pieced, t, font, 13, 17, 0xFFFFFF, aa);
      int full = 0, partial = 0, differ = 0, worst = 0;
      for (int y = 0; y < whole.Height(); ++y)
        for (int x = 0; x < whole.Width(); ++x) {
          const int a = whole.Row(y)[x * 4 + 3], b = pieced.Row(y)[x * 4 + 3];
          full += a == 255;
          partial += a > 0 && a < 255;
          differ += a != b;
          worst = std::max(worst, std::abs(a - b));
        }
      EXPECT_GT(full, 200) << t << aa;
      EXPECT_TRUE(aa == 0 ? partial == 0 : partial > 100) << t << aa << ": " << partial;
      // Touching glyphs may add up a little differently.
      EXPECT_LE(differ * 100, full + partial) << t << aa << ", by " << worst << " at most";
    }
  }
}

TEST_F(OsdOnTheDesktop, MessageShowsFadesAndIsDraggedByALetter) {
  // A grey window behind the message, so that its black shadow shows (the virtual desktop is black).
  HWND backdrop =
      MakeFrontWindow(L"CorvidOsdTestBackdrop", DefWindowProcW, 0, WS_POPUP,
                      {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) / 5}, RGB(128, 128, 128));
  const Capture before = CaptureScreen();
  const int tenth = before.height / 10;
  const DWORD shownAt = GetTickCount();
  osd.ShowMessage("KBD Mode");
  Pump(250);
  const Capture shown = CaptureScreen();
  EXPECT_TRUE(WritePng(BuildFile(L"osd_capture.png"), shown, std::min(shown.height, 3 * tenth)));
  const Changed text = ChangedPixels(before, shown, {0, 0, shown.width, shown.height}, Bright);
  EXPECT_GT(text.count, 300);
  EXPECT_LE(text.box.bottom, tenth);  // all of it in the top tenth
  EXPECT_LE(std::abs((text.box.left + text.box.right) / 2 - shown.width / 2), 6);
  EXPECT_LE(std::abs((text.box.top + text.box.bottom) / 2 - tenth / 2), 12);
  // The shadow: dark pixels just left of, right of and below the letters.
  const RECT& t = text.box;
  const int left = DarkChanges(before, shown, {t.left - 10, t.top, t.left - 1, t.bottom});
  const int right = DarkChanges(before, shown, {t.right + 1, t.top, t.right + 10, t.bottom});
  const int below = DarkChanges(before, shown, {t.left, t.bottom, t.right, t.bottom + 6});
  EXPECT_TRUE(left > 20 && right > 20 && below > 20) << left << " left, " << right << " right, " << below << " below";
  EXPECT_EQ(DarkChanges(before, shown, {0, 0, t.left - 40, tenth}), 0);  // nothing far from the letters

  // Held for a second, then 25 fade steps.
  while (GetTickCount() - shownAt < 900) Pump(20);
  EXPECT_TRUE(osd.fadeDelayTimer.Enabled());
  EXPECT_TRUE(Faded(2100));
  EXPECT_EQ(osd.OsdAlpha, 255);
  Pump(100);
  const Capture gone = CaptureScreen();
  EXPECT_EQ(ChangedPixels(before, gone, {0, 0, gone.width, tenth}, Bright).count, 0);
  EXPECT_EQ(DarkChanges(before, gone, {0, 0, gone.width, tenth}), 0);
  // Faded, nothing lies over the band to catch a click or a window pick.
  std::vector<bool> layeredShown;
  for (HWND w : WindowsOfClass(L"Static"))
    if (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_LAYERED) layeredShown.push_back(IsWindowVisible(w));
  EXPECT_EQ(layeredShown, std::vector<bool>{false});  // the message's window, hidden

  // The user drags the message by a letter; the system's move loop runs on
  // this thread, so the hand is another thread.
  POINT grip{-1, -1};
  for (int y = text.box.top; y < text.box.bottom && grip.x < 0; ++y)
    for (int x = text.box.left; x < text.box.right && grip.x < 0; ++x)
      if (Bright(shown.At(x, y)) && Bright(shown.At(x + 1, y)) && Bright(shown.At(x, y + 1))) grip = {x, y};
  ASSERT_GE(grip.x, 0);
  // As while the environment settings show; otherwise clicks pass through.
  osd.SetDraggable(true);
  osd.ShowMessage("KBD Mode");
  Pump(100);
  const DWORD owner = GetCurrentThreadId();  // the thread the move loop runs on
  std::atomic<bool> done{false};
  std::thread hand([&] {
    MouseTo(grip.x, grip.y);
    Sleep(60);
    MouseTo(grip.x, grip.y, MOUSEEVENTF_LEFTDOWN);
    GUITHREADINFO loop{sizeof loop};
    for (const DWORD end = GetTickCount() + 2000; GetTickCount() < end; Sleep(5))
      if (GetGUIThreadInfo(owner, &loop) && (loop.flags & GUI_INMOVESIZE)) break;
    for (int k = 1; k <= 10; ++k) {
      MouseTo(grip.x + 12 * k, grip.y + 15 * k);
      Sleep(25);
    }
    Sleep(80);
    MouseTo(grip.x + 120, grip.y + 150, MOUSEEVENTF_LEFTUP);
    done = true;
  });
  Until([&] { return done.load(); }, 10000);
  hand.join();
  Pump(200);
  EXPECT_EQ(settings.MesPosx, 120);
  EXPECT_EQ(settings.MesPosy, 150);
  EXPECT_TRUE(!osd.OsdDragging);
  DestroyWindow(backdrop);
}

// Another program's title bar under the shown message: a click goes
// through the message to it, and a window pick reads its class even while
// the message can be dragged (and so catches clicks).
TEST_F(OsdOnTheDesktop, ClicksAndPicksGoThroughTheMessage) {
  const corvid::UniqueHandle other = Start(BuildFile(L"corvid-window.exe"), L"");
  HWND w = WaitForWindow([] { return FindWindowW(L"CorvidWindow", nullptr); }, 10000);
  ASSERT_NE(w, nullptr);
  SetWindowPos(w, nullptr, 100, 0, 400, 300, SWP_NOZORDER);
  const POINT title{300, GetSystemMetrics(SM_CYCAPTION) / 2 + 2};
  for (const bool draggable : {false, true}) {
    osd.SetDraggable(draggable);  // as while the environment settings show
    osd.ShowMessage("KBD Mode");
    Pump(100);
    EXPECT_EQ(WindowFromPoint(title) == w, !draggable);  // a draggable message is hit
  }
  EXPECT_EQ(corvid.platform->Hooks().WindowClassAt(title.x, title.y), "CorvidWindow");
  osd.SetDraggable(false);
  PostMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitExit(other.Get(), 5000));
}

}  // namespace
