#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "fakes/expected_text.h"
#include "fakes/headless_app.h"
#include "osd/osd_message.h"

namespace corvid {
namespace {

uint32_t PixelAt(const OsdBitmap& b, int32_t x, int32_t y) {
  const uint8_t* p = b.Row(y) + size_t(x) * 4;
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

std::vector<uint8_t> Pixels(const OsdBitmap& b) { return {b.Row(0), b.Row(0) + b.Stride() * size_t(b.Height())}; }

// The blur as written down: the rectangle's averages on a fresh transparent picture.
std::vector<uint8_t> ReferenceBlur(const OsdBitmap& b, OsdRect r) {
  r = {std::max(r.left, 1), std::max(r.top, 1), std::min(r.right, b.Width() - 1), std::min(r.bottom, b.Height() - 1)};
  std::vector<uint8_t> out(b.Stride() * size_t(b.Height()), 0);
  for (int32_t y = r.top; y < r.bottom; ++y)
    for (int32_t x = r.left; x < r.right; ++x)
      for (int c = 0; c < 4; ++c) {
        int sum = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) sum += b.Row(y + dy)[(x + dx) * 4 + c];
        out[size_t(y) * b.Stride() + size_t(x) * 4 + c] = uint8_t(sum / 9);
      }
  return out;
}

TEST(OsdBitmap, BlurMatchesTheReferenceOnRandomPicturesAndRectangles) {
  std::mt19937 rng(7);
  auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 300; ++round) {
    OsdBitmap b;
    b.Resize(in(0, 40), in(0, 24));
    if (round % 2) {  // a few boxes, or noise everywhere
      std::vector<uint8_t> mask(64);
      for (uint8_t& m : mask) m = uint8_t(in(0, 255));
      for (int k = in(0, 3); k > 0; --k)
        b.DrawCoverage(in(-8, 40), in(-8, 24), mask.data(), 8, 8, 8, uint32_t(in(0, 0xFFFFFF)));
    } else {
      for (int32_t y = 0; y < b.Height(); ++y)
        for (size_t i = 0; i < b.Stride(); ++i) b.Row(y)[i] = uint8_t(in(0, 255));
    }
    // Edge, inverted, empty and out-of-range rectangles among the rest.
    const OsdRect r{in(-3, 42), in(-3, 26), in(-3, 42), in(-3, 26)};
    for (int pass = 0; pass < 6; ++pass) {
      const std::vector<uint8_t> want = ReferenceBlur(b, r);
      b.BlurRect(r);
      ASSERT_EQ(Pixels(b), want) << "round " << round << " pass " << pass;
    }
  }
}

TEST(OsdBitmap, CoverageBlendsAndClipsCentringTruncatesAndTheShadowStaysInside) {
  OsdBitmap b;
  b.Resize(4, 2);
  const uint8_t full[4] = {255, 255, 255, 255};
  const uint8_t half[4] = {128, 128, 128, 128};
  b.DrawCoverage(-2, 0, full, 4, 1, 4, 0x000000);  // black, half of it off the left edge
  b.DrawCoverage(1, 0, half, 4, 1, 4, 0x0000FF);   // half red, off the right edge
  // Red over opaque black: R 128, still opaque; red over nothing: premultiplied.
  EXPECT_EQ((std::array{PixelAt(b, 0, 0), PixelAt(b, 1, 0), PixelAt(b, 3, 0), PixelAt(b, 0, 1)}),
            (std::array{0xFF000000u, 0xFF800000u, 0x80800000u, 0u}));
  EXPECT_EQ(CentreText({1920, 108}, {2501, 111}), (OsdPoint{-290, -1}));
  EXPECT_EQ(ShadowRect({850, 23}, {220, 61}, {1920, 108}), (OsdRect{824, 17, 1096, 90}));
  EXPECT_EQ(ShadowRect({-420, 23}, {2760, 61}, {1920, 108}), (OsdRect{1, 17, 1919, 90}));
}

class OsdMessageTest : public ::testing::Test {
 protected:
  OsdMessageTest() {
    osd.Bind(settings, battery);
    glyphs.record = surface.record = true;
  }
  Lines Fade() {
    surface.log.clear();
    clock.Advance(1000);
    for (int i = 0; i < 30; ++i) clock.Advance(5);
    return surface.log;
  }
  uint32_t At(int32_t x, int32_t y) { return PixelAt(osd.Bitmap(), x, y); }

  ManualClock clock;
  BoxGlyphs glyphs;
  RecordingSurface surface;
  FixedScreen screen;
  RecordingBoxes boxes;
  Settings settings;
  int32_t battery = 0;
  OsdMessage osd{clock, glyphs, surface, screen, boxes};
};

TEST_F(OsdMessageTest, TextCentredInTheTopTenthWithASoftShadowAroundAndThePictureFollowsTheScreen) {
  osd.ShowMessage("KBD Mode");  // 220 x 61 at (850, 23) on 1920 x 108
  EXPECT_EQ(glyphs.calls, (Lines{"KBD Mode 852,25 0 aa0", "KBD Mode 850,25 0 aa4", "KBD Mode 850,23 16777215 aa4"}));
  EXPECT_EQ(At(846, 50), 0x09000000u);  // black, partly transparent
  EXPECT_EQ(At(823, 50), 0u);           // outside the shadow rectangle
  settings.BkMessage = false;
  glyphs.calls.clear();
  osd.ShowMessage("KBD Mode");
  EXPECT_EQ(glyphs.calls, (Lines{"KBD Mode 850,23 16777215 aa4"}));
  EXPECT_EQ(At(846, 50), 0u);

  osd.ShowMessage(std::string(100, 'W'));  // 2760 wide: centred and clipped
  EXPECT_EQ(glyphs.calls.back().substr(101), "-420,23 16777215 aa4");
  EXPECT_EQ(At(1919, 50), 0xFFFFFFFFu);
  std::tie(screen.width, screen.height) = std::tuple(1280, 1024);
  osd.ShowMessage("A");
  EXPECT_EQ(osd.Bitmap().Size(), (OsdSize{1280, 102}));
  EXPECT_EQ(At(640, 51), 0xFFFFFFFFu);
}

TEST_F(OsdMessageTest, EmptyTextHidesTheLastMessageAndTheBatteryLevelFollowsTheText) {
  osd.ShowMessage("Exec");
  surface.log.clear();
  clock.Advance(300);
  osd.ShowMessage("");
  EXPECT_EQ(surface.log, (Lines{"push 0 at 0,0", "top", "push 255 at 0,0"}));
  EXPECT_EQ(Pixels(osd.Bitmap()), std::vector<uint8_t>(1920 * 108 * 4, 0));
  settings.DispBatt = true;
  battery = 3;
  osd.ShowMessage("KBD Mode");
  EXPECT_EQ(glyphs.calls.back().substr(0, 12), "KBD Mode(3) ");
  battery = -1;
  osd.RenderMessage("", 128);
  EXPECT_EQ(osd.DrawnText(), "(-1)");
  EXPECT_EQ(surface.log.back(), "push 128 at 0,0");
}

TEST_F(OsdMessageTest, HoldsOneSecondThenFadesInTwentyFiveStepsAndANewMessageRestartsTheHold) {
  osd.ShowMessage("KBD Mode");
  const size_t drawn = glyphs.calls.size();
  clock.Advance(999);
  ExpectSameLines(Joined(Fade()), Expected("osd_fade.txt"));  // only the constant alpha changes
  EXPECT_EQ(glyphs.calls.size(), drawn);

  osd.ShowMessage("one");
  clock.Advance(600);
  osd.ShowMessage("two");
  surface.log.clear();
  clock.Advance(1005);  // 1605 after the first
  EXPECT_EQ(surface.log, (Lines{"alpha 245"}));
  clock.Advance(50);  // during the fade as well
  osd.ShowMessage("three");
  EXPECT_EQ(Fade().front(), "alpha 245");
}

TEST_F(OsdMessageTest, NothingHappensBeforeTheWindowExistsAndAPushFailureShowsOneBoxWhileTheTimersGoOn) {
  surface.exists = false;
  osd.ShowMessage("early");
  osd.PushOsd(0);
  EXPECT_FALSE(osd.fadeDelayTimer.Enabled());
  surface.exists = true;
  OsdMessage{clock, glyphs, surface, screen, boxes}.ShowMessage("early");  // without settings
  EXPECT_TRUE(surface.log.empty());

  surface.refuse = true;
  int nested = 0;
  boxes.onShow = [&](std::string_view, std::string_view) {
    if (nested++ == 0) osd.ShowMessage("again");  // a timer firing inside the box's loop
  };
  osd.ShowMessage("KBD Mode");
  ASSERT_EQ(boxes.shown.size(), 1u);  // not a second one for the inner message
  EXPECT_EQ(std::tuple(boxes.shown[0].text, boxes.shown[0].caption, boxes.shown[0].kind),
            std::tuple("Cannat Create ExSTYLE", "Oh!", MessageBoxes::kOkCancel));
  EXPECT_EQ(Fade().back(), "alpha 0");
}

TEST_F(OsdMessageTest, DraggingMovesTheMessageExceptToTheVeryTopOrBelowTheScreen) {
  std::vector<std::pair<int32_t, int32_t>> bars;
  osd.onDragMove = [&](int32_t x, int32_t y) { bars.push_back({x, y}); };
  osd.OsdWindowPosChanged(300, 200);  // not dragging: a move of our own
  EXPECT_TRUE(osd.OsdWindowLButtonDown());
  for (auto [x, y] : {std::pair{300, 200}, {40, 0}, {40, 1080}, {-50, -20}}) osd.OsdWindowPosChanged(x, y);
  osd.OsdWindowMoveEnded();
  osd.OsdWindowPosChanged(7, 7);
  EXPECT_EQ(bars, (std::vector<std::pair<int32_t, int32_t>>{{300, 200}, {-50, -20}}));
  osd.ShowMessage("here");
  EXPECT_EQ(surface.log.back(), "push 255 at -50,-20");
}

}  // namespace
}  // namespace corvid
