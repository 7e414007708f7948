#include "ui/key_map_editor.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "fakes/headless_app.h"

namespace corvid {
namespace {

constexpr uint8_t kEject = 0x16, kTriangle = 0x5C, kNum1 = 0x00, kCircle = 0x5D;
constexpr uint16_t kCtrl = 17;  // its virtual-key code

class EditorTest : public ::testing::Test, public HeadlessApp {
 protected:
  KeyMapEditor& editor = app.Windows().Editor();
  const KeyMapEntry& Kbd(uint8_t code, int map) { return data.KeyboardMap.at(code, map); }
  void Type(uint8_t code, uint16_t vk, bool ctrl = false, bool shift = false, bool alt = false) {
    editor.BoxClicked(code);
    editor.BoxKeyDown(code, vk, {ctrl, shift, alt});
    editor.KeyUp(code);
  }
};

TEST_F(EditorTest, KeysCombinationsAndDivertedKeysAreCaptured) {
  EXPECT_TRUE(editor.Visible());  // shown at the start: HideStart is off
  Type(kEject, 'A', false, true);
  EXPECT_EQ(p.hooks.installs.back(), HookKind::KeyCapture);
  EXPECT_EQ(editor.IndexText + " " + editor.CodeText + " " + editor.BoxOf(kEject).text, "16 0100-41 Shift.A");
  EXPECT_EQ(Kbd(kEject, 5), (KeyMapEntry{0x41, 0x100, "Shift.A"}));  // the basic map reaches every map

  // The keys the key-capture hook diverts, as it delivers them.
  std::vector<int> keys;
  for (uint16_t vk : {136, 137, 140, 141, 142, 143, 158, 159}) {
    Type(kEject, vk);
    keys.push_back(engine.ActiveMap()[kEject].Key);
  }
  EXPECT_EQ(keys, (std::vector<int>{9, 46, 45, 145, 144, 20, 27, 44}));
  Type(kEject, 'C', false, false, true);
  EXPECT_EQ(engine.ActiveMap()[kEject].Param, 0x1u);  // Alt
  Type(kNum1, kCtrl, true);                           // Ctrl alone: a chord part
  EXPECT_EQ(engine.ActiveMap()[kNum1], (KeyMapEntry{0, 0x10, "Ctrl"}));
  // The left Windows key: its press is diverted and latched by the hook.
  app.Hooks().WinKeyLatched = true;
  Type(kTriangle, 138);
  EXPECT_EQ(engine.ActiveMap()[kTriangle], (KeyMapEntry{0, 0x1000, "Win."}));  // a mask box keeps its message
  app.Hooks().WinKeyLatched = true;
  Type(kNum1, 139);  // the right one, alone
  EXPECT_EQ(engine.ActiveMap()[kNum1], (KeyMapEntry{0, 0x1000, "Win"}));
}

TEST_F(EditorTest, ACaptureIsArmedByAClickOrSpaceAndTakesOneKey) {
  // Focus by Tab arms nothing: Tab, Esc and Alt+F4 are the window's. Space arms, binding nothing
  // (held, it repeats); Ctrl+C is bound and ends the capture. Ups are negative, +1000 Ctrl, +2000 Alt;
  // after each key, whether the box took it (1) and whether the capture hook is in (h).
  std::string seen;
  for (int k : {9, 27, 2115, -27, 32, 32, -32, 1017, 1067, -67, 9}) {
    const uint16_t vk = static_cast<uint16_t>(std::abs(k) % 1000);
    const bool taken =
        k < 0 ? editor.KeyUp(kEject, vk) : editor.BoxKeyDown(kEject, vk, {k / 1000 == 1, false, k / 1000 == 2});
    seen += std::string(taken ? " 1" : " 0") + (app.Hooks().Installed(HookKind::KeyCapture) ? "h" : "");
  }
  EXPECT_EQ(seen, " 0 0 0 0 1h 1h 1h 1h 1h 1 0");
  EXPECT_EQ(engine.ActiveMap()[kEject], (KeyMapEntry{0x43, 0x10, "Ctrl.C"}));

  // A double click's menu opens without the hook, so that Esc reaches the menu.
  editor.BoxClicked(kCircle);
  EXPECT_EQ(editor.DoubleClick(kCircle), EditorMenu::Mouse);
  EXPECT_FALSE(editor.CaptureArmed() || app.Hooks().Installed(HookKind::KeyCapture));
  // Focus moved elsewhere ends an arming without a binding.
  editor.BoxClicked(kNum1);
  editor.EndCapture();
  EXPECT_FALSE(editor.BoxKeyDown(kNum1, 'Q', {}));
}

TEST_F(EditorTest, ProgramActionsOnlyInTheBasicMapAndOnlyAfterNop) {
  data.Apps[2].Registered = true;
  editor.DoubleClick(kCircle);  // a mask box in keyboard mode: the mouse menu
  editor.PrepareMouseMenu();
  auto enabled = [&](EditorCommand c) {
    for (const EditorMenuItem& i : editor.MousePopupMenu())
      if (i.command == c && i.caption != "-") return i.enabled;
    return false;
  };
  EXPECT_TRUE(enabled(EditorCommand::App3) && !enabled(EditorCommand::App1));  // App-1 is not registered
  editor.MenuClick(EditorCommand::App3);
  EXPECT_EQ(data.MouseMap.at(kCircle, 4).Key, action::kApp);  // both tables, every map
  EXPECT_EQ(editor.BoxOf(kCircle).colour, 0xE0C0C0u);

  editor.BoxClicked(kCircle);
  editor.BoxKeyDown(kCircle, 'X', {});
  ASSERT_EQ(p.boxes.shown.size(), 1u);
  EXPECT_EQ(p.boxes.shown[0].caption, "アプリケーションキー設定済");
  EXPECT_EQ(engine.ActiveMap()[kCircle].Key, action::kApp);

  // In App-3's own map the program items are greyed and the box refuses.
  data.Apps[2].OwnKeyMap = true;
  engine.SetCurrentAppMap(3);
  engine.SwitchToKeyboardMode();
  editor.PrepareMouseMenu();
  EXPECT_FALSE(enabled(EditorCommand::App3) || enabled(EditorCommand::QuitAll));
  EXPECT_EQ(editor.DoubleClick(kCircle), EditorMenu::None);
  EXPECT_EQ(p.boxes.shown.back().caption, "個別アプリケーションキーマップ設定中");

  engine.SetCurrentAppMap(0);
  engine.SwitchToKeyboardMode();
  editor.DoubleClick(kCircle);
  editor.MenuClick(EditorCommand::Nop);  // clears it in both tables
  EXPECT_EQ(data.MouseMap.at(kCircle, 0).Key, 0);
  Type(kCircle, 'X');
  EXPECT_EQ(engine.ActiveMap()[kCircle].Key, 'X');
}

TEST_F(EditorTest, OwnMapsTheMouseMenuAndTheMessageTextStayInTheirColumn) {
  data.Apps[2].OwnKeyMap = true;
  engine.SetCurrentAppMap(3);
  engine.SwitchToKeyboardMode();
  Type(kNum1, 'Q');
  EXPECT_EQ((std::pair{Kbd(kNum1, 3).Key, Kbd(kNum1, 0).Key}), (std::pair<uint16_t, uint16_t>{'Q', 0}));  // own, basic
  EXPECT_EQ(editor.BoxOf(kNum1).colour, 0x00A5FFu);  // differs from the basic map
  editor.CopyBasicMap();                             // "標準復帰"
  EXPECT_EQ(Kbd(kNum1, 3).Key, 0);
  EXPECT_EQ(Log().back(), "【 App-3 】基本マップに復帰しました。");

  engine.SetCurrentAppMap(0);
  engine.SwitchToMouseMode();
  EXPECT_EQ(editor.DoubleClick(kTriangle), EditorMenu::App);
  editor.MenuClick(EditorCommand::WheelUp);
  EXPECT_EQ(data.MouseMap.at(kTriangle, 0), (KeyMapEntry{4, 0x100, "WheelUp."}));
  EXPECT_EQ(Kbd(kTriangle, 0).Key, 0);  // a mouse action lives in the mouse table only
  EXPECT_EQ(editor.BoxOf(kTriangle).colour, 0xD0C0B0u);

  editor.SendCodeFocused();
  EXPECT_EQ(p.hooks.removed.size(), 1u);  // the hook goes when typing starts
  editor.SendCodeTyped("wheel!");
  EXPECT_EQ(data.MouseMap.at(kTriangle, 0).Message, "wheel!");
  EXPECT_EQ(data.MouseMap.at(kTriangle, 2).Message, "WheelUp.");  // the basic map's column only
}

TEST_F(EditorTest, UseWithoutSavingReloadAndTheTrayMonitorAndEditorOpenAndCloseTogether) {
  const std::string before = p.memoryFiles.files[app.Settings().Path()];
  Type(kEject, 'Z');
  editor.UseNow();  // "一時使用"
  EXPECT_FALSE(editor.Visible());
  EXPECT_EQ(engine.ActiveMap()[kEject].Key, 'Z');
  EXPECT_EQ(p.memoryFiles.files[app.Settings().Path()], before);
  app.RunTrayCommand(TrayCommand::ShowKeyMapEditor);
  editor.BoxClicked(kEject);
  editor.Reload();  // "復帰"
  EXPECT_EQ(engine.ActiveMap()[kEject].Key, 0x1B);
  EXPECT_EQ(editor.BoxOf(kEject).text, "ESC");
  Type(kEject, 'Z');
  editor.Save();  // "保存"
  EXPECT_NE(p.memoryFiles.files[app.Settings().Path()].find("BD16=0000,5A,Z"), std::string::npos);

  engine.SetCurrentAppMap(2);
  app.RunTrayCommand(TrayCommand::ShowKeyMapEditor);  // the double click keeps the map
  EXPECT_EQ(engine.CurrentAppMap(), 2);
  app.RunTrayCommand(app.Menu().Click(MenuItem::KeyMapEditor));
  EXPECT_EQ(engine.CurrentAppMap(), 0);

  CodeMonitor& monitor = app.Windows().Monitor();
  auto Place = [&] { return std::array{monitor.Place().left, monitor.Place().top, monitor.Place().height}; };
  app.RunTrayCommand(app.Menu().Click(MenuItem::CodeMonitor));
  EXPECT_TRUE(monitor.Visible());
  EXPECT_EQ(monitor.Place().left, editor.Place().Right());
  app.MonitorLines().Append(" 0x43");
  monitor.Hide();  // its close box
  EXPECT_TRUE(Monitor().empty());
  app.RunTrayCommand(app.Menu().Click(MenuItem::CodeMonitor));
  editor.UseNow();  // closing the editor takes the monitor along
  EXPECT_FALSE(monitor.Visible());
  EXPECT_FALSE(app.Menu().Entry(MenuItem::CodeMonitor).checked);

  // No room right of a large editor (high DPI): the monitor opens on its left, as tall.
  app.RunTrayCommand(app.Menu().Click(MenuItem::KeyMapEditor));
  editor.Moved({900, 40, 960, 900});
  app.RunTrayCommand(app.Menu().Click(MenuItem::CodeMonitor));
  EXPECT_EQ(Place(), (std::array{900 - CodeMonitor::kWidth, 40, 900}));

  // With only the launch-program settings shown, beside them.
  editor.UseNow();
  app.RunTrayCommand(app.Menu().Click(MenuItem::LaunchSettings));
  app.Windows().Launch().Moved({300, 100, 440, 600});
  app.RunTrayCommand(app.Menu().Click(MenuItem::CodeMonitor));
  EXPECT_EQ(Place(), (std::array{740, 100, 600}));
}

}  // namespace
}  // namespace corvid
