#include "ui/key_map_editor.h"

#include <gtest/gtest.h>

#include "fakes/headless_app.h"

namespace corvid {
namespace {

constexpr uint8_t kEject = 0x16, kTriangle = 0x5C, kNum1 = 0x00, kCircle = 0x5D;
constexpr uint16_t kCtrl = 17, kShift = 16;

class EditorTest : public ::testing::Test, public HeadlessApp {
 protected:
  TForm2& editor = app.Windows().Editor();
  const KeyMapEntry& Kbd(uint8_t code, int map) { return form.KeyboardMap.at(code, map); }
  // Press and release a key in a box, as the window delivers them.
  void Type(uint8_t code, uint16_t vk, bool ctrl = false, bool shift = false, bool alt = false) {
    editor.Edit16Click(code);
    editor.Edit16KeyDown(code, vk, ctrl, shift, alt);
    editor.KeyUp(code);
  }
};

TEST_F(EditorTest, KeysCombinationsAndDivertedKeysAreCaptured) {
  EXPECT_TRUE(editor.Visible());  // shown at the start: HideStart is off
  editor.Edit16Click(kEject);
  EXPECT_EQ(p.hooks.installs.back(), HookKind::KeyCapture);
  editor.Edit16KeyDown(kEject, 'A', false, true, false);  // Shift+A
  editor.KeyUp(kEject);
  EXPECT_EQ(editor.EditIndex, "16");
  EXPECT_EQ(editor.EditStat, "0100-41");
  EXPECT_EQ(editor.BoxOf(kEject).text, "Shift.A");
  EXPECT_EQ(Kbd(kEject, 5), (KeyMapEntry{0x41, 0x100, "Shift.A"}));  // the basic map reaches every map

  // The keys the key-capture hook diverts, as it delivers them.
  std::vector<int> keys;
  for (uint16_t vk : {136, 137, 140, 141, 142, 143, 158, 159}) {
    Type(kEject, vk);
    keys.push_back(form.ActiveMap[kEject].Key);
  }
  EXPECT_EQ(keys, (std::vector<int>{9, 46, 45, 145, 144, 20, 27, 44}));
  Type(kEject, 'C', false, false, true);
  EXPECT_EQ(form.ActiveMap[kEject].Param, 0x1u);  // Alt
  Type(kNum1, kCtrl, true);  // Ctrl alone: a chord part
  EXPECT_EQ(form.ActiveMap[kNum1], (KeyMapEntry{0, 0x10, "Ctrl"}));
  // The left Windows key: its press is diverted and latched by the hook.
  app.Hooks().WinKeyLatched = true;
  Type(kTriangle, 138);
  EXPECT_EQ(form.ActiveMap[kTriangle].Key, 0);
  EXPECT_EQ(form.ActiveMap[kTriangle].Param, 0x1000u);
  EXPECT_EQ(form.ActiveMap[kTriangle].Message, "Win.");  // a mask box keeps its message at the key-up
  app.Hooks().WinKeyLatched = true;
  Type(kNum1, 139);  // the right one, alone
  EXPECT_EQ(form.ActiveMap[kNum1].Key, 0);
  EXPECT_EQ(form.ActiveMap[kNum1].Param, 0x1000u);
}

TEST_F(EditorTest, ACaptureIsArmedByAClickOrSpaceAndTakesOneKey) {
  const KeyMapEntry esc = form.ActiveMap[kEject];  // the factory's ESC
  // Focus that arrives by Tab arms nothing: Tab, Esc and Alt+F4 are the window's.
  EXPECT_FALSE(editor.Edit16KeyDown(kEject, 9, false, false, false));
  EXPECT_FALSE(editor.Edit16KeyDown(kEject, 27, false, false, false));
  EXPECT_FALSE(editor.Edit16KeyDown(kEject, 115, false, false, true));
  EXPECT_FALSE(editor.KeyUp(kEject, 27));
  EXPECT_EQ(form.ActiveMap[kEject], esc);
  EXPECT_FALSE(app.Hooks().Installed(HookKind::KeyCapture));

  // Space arms the box; Space held and let go binds nothing; the next key
  // with its modifiers is bound, and that ends the capture.
  EXPECT_TRUE(editor.Edit16KeyDown(kEject, ' ', false, false, false));
  EXPECT_TRUE(app.Hooks().Installed(HookKind::KeyCapture));
  EXPECT_TRUE(editor.Edit16KeyDown(kEject, ' ', false, false, false));
  EXPECT_TRUE(editor.KeyUp(kEject, ' '));
  EXPECT_EQ(form.ActiveMap[kEject], esc);
  EXPECT_TRUE(editor.Edit16KeyDown(kEject, kCtrl, true, false, false));
  EXPECT_TRUE(editor.Edit16KeyDown(kEject, 'C', true, false, false));
  EXPECT_TRUE(editor.KeyUp(kEject, 'C'));
  EXPECT_EQ(form.ActiveMap[kEject].Key, 0x43);
  EXPECT_EQ(form.ActiveMap[kEject].Param, 0x10u);
  EXPECT_FALSE(editor.CaptureArmed());
  EXPECT_FALSE(app.Hooks().Installed(HookKind::KeyCapture));
  EXPECT_FALSE(editor.KeyUp(kEject, kCtrl));
  EXPECT_FALSE(editor.Edit16KeyDown(kEject, 9, false, false, false));  // Tab moves on again

  // Esc while armed, as the hook delivers it, is bound: ESC can be had back.
  editor.Edit16Click(kEject);
  EXPECT_TRUE(editor.Edit16KeyDown(kEject, 158, false, false, false));
  EXPECT_TRUE(editor.KeyUp(kEject, 158));
  EXPECT_EQ(form.ActiveMap[kEject].Key, 27);
  // The double click's first click arms; its menu opens without the hook,
  // so that Esc reaches the menu.
  editor.Edit16Click(kCircle);
  EXPECT_EQ(editor.DoubleClick(kCircle), EditorMenu::Mouse);
  EXPECT_FALSE(editor.CaptureArmed());
  EXPECT_FALSE(app.Hooks().Installed(HookKind::KeyCapture));
  // Focus moved elsewhere ends an arming without a binding.
  editor.Edit16Click(kNum1);
  editor.EndCapture();
  EXPECT_FALSE(editor.Edit16KeyDown(kNum1, 'Q', false, false, false));
}

TEST_F(EditorTest, ProgramActionsOnlyInTheBasicMapAndOnlyAfterNop) {
  form.Apps[2].Registered = true;
  editor.DoubleClick(kCircle);  // a mask box in keyboard mode: the mouse menu
  editor.MousePopupMenuPopup();
  auto enabled = [&](EditorCommand c) {
    for (const EditorMenuItem& i : editor.MousePopupMenu())
      if (i.command == c && i.caption != "-") return i.enabled;
    return false;
  };
  EXPECT_TRUE(enabled(EditorCommand::App31));
  EXPECT_FALSE(enabled(EditorCommand::App11));  // not registered
  editor.MenuClick(EditorCommand::App31);
  EXPECT_EQ(form.MouseMap.at(kCircle, 4).Key, action::kApp);  // both tables, every map
  EXPECT_EQ(editor.BoxOf(kCircle).colour, 0xE0C0C0u);

  editor.Edit16Click(kCircle);
  editor.Edit16KeyDown(kCircle, 'X', false, false, false);
  ASSERT_EQ(p.boxes.shown.size(), 1u);
  EXPECT_EQ(p.boxes.shown[0].caption, "アプリケーションキー設定済");
  EXPECT_EQ(form.ActiveMap[kCircle].Key, action::kApp);

  // In App-3's own map the program items are greyed and the box refuses.
  form.Apps[2].OwnKeyMap = true;
  form.CurrentAppMap = 3;
  form.SwitchToKeyboardMode();
  editor.MousePopupMenuPopup();
  EXPECT_FALSE(enabled(EditorCommand::App31));
  EXPECT_FALSE(enabled(EditorCommand::ALLQuit));
  EXPECT_EQ(editor.DoubleClick(kCircle), EditorMenu::None);
  EXPECT_EQ(p.boxes.shown.back().caption, "個別アプリケーションキーマップ設定中");

  form.CurrentAppMap = 0;
  form.SwitchToKeyboardMode();
  editor.DoubleClick(kCircle);
  editor.MenuClick(EditorCommand::Nop);  // clears it in both tables
  EXPECT_EQ(form.MouseMap.at(kCircle, 0).Key, 0);
  Type(kCircle, 'X');
  EXPECT_EQ(form.ActiveMap[kCircle].Key, 'X');
}

TEST_F(EditorTest, OwnMapsTheMouseMenuAndTheMessageTextStayInTheirColumn) {
  form.Apps[2].OwnKeyMap = true;
  form.CurrentAppMap = 3;
  form.SwitchToKeyboardMode();
  Type(kNum1, 'Q');
  EXPECT_EQ(Kbd(kNum1, 3).Key, 'Q');
  EXPECT_EQ(Kbd(kNum1, 0).Key, 0);
  EXPECT_EQ(editor.BoxOf(kNum1).colour, 0x00A5FFu);  // differs from the basic map
  editor.Button7Click();  // "標準復帰"
  EXPECT_EQ(Kbd(kNum1, 3).Key, 0);
  EXPECT_EQ(Log().back(), "【 App-3 】基本マップに復帰しました。");

  form.CurrentAppMap = 0;
  form.SwitchToMouseMode();
  EXPECT_EQ(editor.DoubleClick(kTriangle), EditorMenu::App);
  editor.MenuClick(EditorCommand::WheelUp);
  EXPECT_EQ(form.MouseMap.at(kTriangle, 0), (KeyMapEntry{4, 0x100, "WheelUp."}));
  EXPECT_EQ(Kbd(kTriangle, 0).Key, 0);  // a mouse action lives in the mouse table only
  EXPECT_EQ(editor.BoxOf(kTriangle).colour, 0xD0C0B0u);

  editor.EditCodeClick();
  EXPECT_EQ(p.hooks.removed.size(), 1u);  // the hook goes when typing starts
  editor.EditCodeKeyUp("wheel!");
  EXPECT_EQ(form.MouseMap.at(kTriangle, 0).Message, "wheel!");
  EXPECT_EQ(form.MouseMap.at(kTriangle, 2).Message, "WheelUp.");  // the basic map's column only
}

TEST_F(EditorTest, UseWithoutSavingKeepsChangesInMemoryAndReloadBringsTheFileBack) {
  const std::string before = p.memoryFiles.files[app.Settings().Path()];
  Type(kEject, 'Z');
  editor.Button2Click();  // "一時使用"
  EXPECT_FALSE(editor.Visible());
  EXPECT_EQ(form.ActiveMap[kEject].Key, 'Z');
  EXPECT_EQ(p.memoryFiles.files[app.Settings().Path()], before);
  app.RunTrayCommand(TrayCommand::ShowKeyMapEditor);
  editor.Edit16Click(kEject);
  editor.Button1Click();  // "復帰"
  EXPECT_EQ(form.ActiveMap[kEject].Key, 0x1B);
  EXPECT_EQ(editor.BoxOf(kEject).text, "ESC");
  Type(kEject, 'Z');
  editor.Button3Click();  // "保存"
  EXPECT_NE(p.memoryFiles.files[app.Settings().Path()].find("BD16=0000,5A,Z"), std::string::npos);
}

TEST_F(EditorTest, TrayMonitorAndEditorOpenAndCloseTogether) {
  form.CurrentAppMap = 2;
  app.RunTrayCommand(TrayCommand::ShowKeyMapEditor);  // the double click keeps the map
  EXPECT_EQ(form.CurrentAppMap, 2);
  app.RunTrayCommand(app.Menu().Click(MenuItem::C1));
  EXPECT_EQ(form.CurrentAppMap, 0);

  TForm3& monitor = app.Windows().Monitor();
  app.RunTrayCommand(app.Menu().Click(MenuItem::M1));
  EXPECT_TRUE(monitor.Visible());
  EXPECT_EQ(monitor.Place().left, editor.Place().Right());
  // CTRL+C released before the first repeat: four lines.
  form.KeyboardMap.at(kNum1, 0) = {'C', 0x10, "Ctrl.C"};
  form.SwitchToKeyboardMode();
  app.CodeMonitor().Clear();
  Report(kNum1);
  Release();
  EXPECT_EQ(Monitor(), (Lines{" CTRL", " 0x43", "-0x43", "-CTRL"}));

  monitor.Hide();  // its close box
  EXPECT_FALSE(app.Menu().Entry(MenuItem::M1).checked);
  EXPECT_TRUE(Monitor().empty());
  app.RunTrayCommand(app.Menu().Click(MenuItem::M1));
  EXPECT_TRUE(app.Menu().Entry(MenuItem::M1).checked);
  editor.Button2Click();  // closing the editor takes the monitor along
  EXPECT_FALSE(monitor.Visible());
  EXPECT_FALSE(app.Menu().Entry(MenuItem::M1).checked);

  // A large editor (high DPI) leaves no room on its right: the monitor opens
  // on its left instead of off the screen.
  app.RunTrayCommand(app.Menu().Click(MenuItem::C1));
  editor.Moved({900, 40, 960, 900});
  app.RunTrayCommand(app.Menu().Click(MenuItem::M1));
  EXPECT_EQ(monitor.Place().left, 900 - TForm3::kWidth);
  EXPECT_EQ(monitor.Place().top, 40);
  EXPECT_EQ(monitor.Place().height, 900);  // as tall as its neighbour

  // With only the launch-program settings shown, beside them.
  monitor.Hide();
  editor.Button2Click();
  app.RunTrayCommand(app.Menu().Click(MenuItem::E1));
  TForm5& launch = app.Windows().Launch();
  launch.Moved({300, 100, 440, 600});
  app.RunTrayCommand(app.Menu().Click(MenuItem::M1));
  EXPECT_EQ(monitor.Place().left, 740);
  EXPECT_EQ(monitor.Place().top, 100);
  EXPECT_EQ(monitor.Place().height, 600);
}

TEST(EditorStart, HiddenWithHideStartAndTheMonitorIsClearedOnceAfterFiveSeconds) {
  HeadlessApp a(false);
  a.p.memoryFiles.files[a.app.Settings().Folder() + "Corvid.ini"] = "[System]\nHideStart=1\n";
  a.app.StartUp();
  EXPECT_FALSE(a.app.Windows().Editor().Visible());
  a.app.CodeMonitor().Append("early");
  a.p.clock.Advance(5000);
  EXPECT_TRUE(a.app.CodeMonitor().Lines().empty());
  a.app.CodeMonitor().Append("later");
  a.p.clock.Advance(20000);
  EXPECT_EQ(a.app.CodeMonitor().Lines(), Lines{"later"});
}

}  // namespace
}  // namespace corvid
