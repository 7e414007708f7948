#include "ui/environment_dialog.h"

#include <gtest/gtest.h>

#include <tuple>

#include "fakes/headless_app.h"

namespace corvid {
namespace {

class EnvironmentTest : public ::testing::Test, public HeadlessApp {
 protected:
  EnvironmentTest() : HeadlessApp(false) {}
  void Start(const std::string& system, const std::string& others = "", int32_t width = 1920, int32_t height = 1080) {
    File() = "[System]\r\nHideStart=1\r\n" + system + others;
    std::tie(p.screen.width, p.screen.height) = std::tuple(width, height);
    ASSERT_TRUE(app.StartUp());
    p.surface.record = true;
  }
  std::string& File() { return p.memoryFiles.files[p.configFolder + "Corvid.ini"]; }
  bool FileHas(const std::string& line) { return File().find(line + "\r\n") != std::string::npos; }
  EnvironmentDialog& dialog = app.Windows().Environment();
};

TEST_F(EnvironmentTest, PlaceBarsTakeTheirRangesFromTheScreenAndFollowTheDraggedMessage) {
  Start("", "", 1366, 768);
  dialog.Show();
  EXPECT_EQ((std::pair{dialog.Bar("MesPosx").min, dialog.Bar("MesPosx").max}), (std::pair{-683, 683}));
  EXPECT_EQ((std::pair{dialog.Bar("MesPosy").min, dialog.Bar("MesPosy").max}), (std::pair{-60, 708}));
  EXPECT_EQ(dialog.ValueText("MesPosy"), "60");  // MesPosy 0
  dialog.MoveBar("MesPosy", dialog.Bar("MesPosy").min);
  EXPECT_EQ(dialog.ValueText("MesPosy"), "0");
  EXPECT_EQ(p.surface.log.back(), "push 255 at 0,-60");  // the preview follows
  // Dragging the message moves the bars, which stop at their ends.
  OsdMessage& osd = app.Osd();
  osd.OsdWindowLButtonDown();
  osd.OsdWindowPosChanged(300, 200);
  EXPECT_EQ(dialog.ValueText("MesPosx") + "," + dialog.ValueText("MesPosy"), "300,260");
  osd.OsdWindowPosChanged(1500, 200);
  EXPECT_EQ(dialog.ValueText("MesPosx"), "683");
  EXPECT_EQ(p.surface.log.back(), "push 255 at 683,200");
}

// The file's language wins over the display's; one chosen here is for the next start.
TEST_F(EnvironmentTest, HideStartAndTheLanguageAreReadAtTheStartAndAChoiceIsForTheNext) {
  Start("Language= EN \r\n", "", 1365);
  EXPECT_FALSE(app.Windows().Editor().Visible());
  app.MonitorLines().Append("early");
  p.clock.Advance(5000);  // the monitor is cleared once, five seconds after the start
  EXPECT_TRUE(Monitor().empty());
  app.MonitorLines().Append("later");
  p.clock.Advance(20000);
  EXPECT_EQ(Monitor(), Lines{"later"});
  EXPECT_EQ(LanguageInUse(), Language::English);
  dialog.Show();
  EXPECT_EQ((std::pair{dialog.Bar("MesPosx").min, dialog.Bar("MesPosx").max}), (std::pair{-682, 682}));  // odd width
  EXPECT_EQ(dialog.LanguageChoice(), 2);
  dialog.SetLanguageChoice(1);
  dialog.Save();
  EXPECT_TRUE(FileHas("Language=ja"));
  EXPECT_EQ(LanguageInUse(), Language::English);
  data.settings.Language = "klingon";  // unread: Auto
  EXPECT_EQ(dialog.LanguageChoice(), 0);
  UseLanguage(Language::Japanese);
}

TEST_F(EnvironmentTest, ValuesBeyondABarComeInWhenShownAndAreSaved) {
  Start("MesPosx=5000\r\nMesSize=4\r\n", "[Times]\r\nKeyIdle=1000\r\n");
  EXPECT_EQ(engine.RepeatDelayTimer().Interval(), 800u);  // brought in at load already
  EXPECT_EQ(data.settings.MesPosx, 960);
  dialog.Show();
  EXPECT_EQ(dialog.ValueText("KeyIdle"), "800");
  EXPECT_EQ(data.settings.MesSize, 10);
  EXPECT_EQ(p.surface.log.back(), "push 255 at 960,0");
  dialog.Save();  // "保存"
  EXPECT_FALSE(dialog.Visible());
  for (const char* line : {"KeyIdle=800", "MesPosx=960", "MesSize=10"}) EXPECT_TRUE(FileHas(line)) << line;
}

TEST_F(EnvironmentTest, CancelReadsTheFileAgainAndEveryCloseHidesThePreview) {
  Start("StartMouse=0\r\n", "[Cursor]\r\nNoCursor=1\r\n[Times]\r\nCurSpeed=10\r\nKeyIdle=300\r\nKeyRepeat=40\r\n");
  dialog.Show();
  app.Hider().HideCursor();
  ASSERT_FALSE(app.Hider().CursorVisible);
  dialog.Tick("NoCursor", false);  // hiding switched off shows the cursor at once
  EXPECT_EQ(p.cursors.log.back(), "restore");
  EXPECT_FALSE(app.Hider().hideDelayTimer.Enabled());
  dialog.MoveBar("CurSpeed", 15);
  dialog.MoveBar("KeyIdle", 700);
  dialog.MoveBar("KeyRepeat", 120);
  EXPECT_EQ(engine.RepeatDelayTimer().Interval(), 700u);  // tried at once
  EXPECT_EQ(engine.RepeatTimer().Interval(), 120u);
  engine.SetCurrentAppMap(3);
  File() += "CurRepeat=15\r\n";  // the timers follow every load
  dialog.Cancel();               // "中止"
  EXPECT_FALSE(dialog.Visible());
  EXPECT_EQ(engine.RepeatDelayTimer().Interval(), 300u);
  EXPECT_EQ(engine.RepeatTimer().Interval(), 40u);
  EXPECT_EQ(app.Mouse().cursorTimer.Interval(), 15u);
  EXPECT_EQ(engine.CurrentAppMap(), 0);
  EXPECT_EQ(p.surface.log.back(), "push 0 at 0,0");

  // The close box keeps the change in memory, not in the file.
  dialog.Show();
  EXPECT_FALSE(p.surface.clickThrough);  // the message can be dragged while the dialog shows
  dialog.Tick("StartMouse", true);
  engine.SetCurrentAppMap(2);
  dialog.Close();
  EXPECT_EQ(engine.HomeMode(), 2);  // the mouse
  EXPECT_TRUE(FileHas("StartMouse=0"));
  EXPECT_EQ(engine.CurrentAppMap(), 0);
  EXPECT_EQ(p.surface.log.back(), "push 0 at 0,0");
  EXPECT_TRUE(p.surface.clickThrough);
}

TEST_F(EnvironmentTest, ThePreviewStaysFontsAreSortedAndTheChooserOpensAtTheColourInUse) {
  p.fonts.names = {"Century Gothic", "@MS Gothic", "MS Gothic", "@", "arial", "MS Gothic"};
  Start("MesFont=Gone Face\r\n");
  EXPECT_EQ(dialog.Faces(), (std::vector<std::string>{"arial", "Century Gothic", "MS Gothic"}));
  app.Osd().ShowMessage("KBD Mode");
  p.clock.Advance(500);
  dialog.Show();
  EXPECT_EQ(app.Osd().DrawnText(), "MESSAGE");
  p.surface.log.clear();
  p.clock.Advance(3000);  // the earlier message would fade by now
  EXPECT_TRUE(p.surface.log.empty());
  dialog.Tick("DispBatt", true);  // the battery level joins the text
  EXPECT_EQ(app.Osd().DrawnText(), "MESSAGE(0)");
  EXPECT_EQ(p.surface.log.back(), "push 255 at 0,0");
  // The face the file names is listed, in its place, though not installed.
  EXPECT_EQ(dialog.FaceText(), "Gone Face");
  EXPECT_EQ(dialog.Faces(), (std::vector<std::string>{"arial", "Century Gothic", "Gone Face", "MS Gothic"}));
  dialog.ChooseFace("No Such Face");  // typed: taken as it is
  EXPECT_EQ(data.settings.MesFont, "No Such Face");

  p.colours.answer = 0x0000FF;
  dialog.PickColour("MesColorFg");
  p.colours.answer.reset();  // cancelled
  dialog.PickColour("MesColorBg");
  dialog.PickColour("MesColorFg");
  EXPECT_EQ(p.colours.openedAt, (std::vector<uint32_t>{0xFFFFFF, 0, 0x0000FF}));
  EXPECT_EQ(data.settings.MesColorBg, 0u);
}

}  // namespace
}  // namespace corvid
