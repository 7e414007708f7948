#include "config/settings_store.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/headless_platform.h"
#include "config/settings_text.h"
#include "config/profile_file.h"
#include "config/profile_values.h"
#include "config/settings_file.h"
#include "config/settings_schema.h"
#include "fakes/headless_app.h"
#include "fakes/latin1_codec.h"

namespace corvid {
namespace {

class SettingsStoreTest : public ::testing::Test {
 protected:
  std::string Get(const char* s, const char* k) {
    return ProfileFile::Parse(files.files[path]).GetString(s, k, "<none>");
  }
  RecordingBoxes boxes;
  ConfigData data;
  MemoryFileStore files;
  const std::string folder = "/docs/.corvid/";
  const std::string path = "/docs/.corvid/Corvid.ini";
};

TEST(SettingsValues, IntegersAndKeyMapValues) {
  int32_t v;
  for (auto [text, want] : {std::pair{"0x1F4", 500}, {"-12", -12}, {"$10", 16}}) {
    EXPECT_TRUE(ParseProfileInteger(text, v)) << text;
    EXPECT_EQ(v, want) << text;
  }
  for (const char* bad : {"yes", "0x", "99999999999", ""}) EXPECT_FALSE(ParseProfileInteger(bad, v)) << bad;

  KeyMapEntry e;
  EXPECT_TRUE(ParseKeyMapValue("12,5", e));
  EXPECT_EQ(e, (KeyMapEntry{0x05, 0x12, ""}));
  EXPECT_TRUE(ParseKeyMapValue("0000,00,A,B", e));
  EXPECT_EQ(e.Message, "A");
  EXPECT_FALSE(ParseKeyMapValue(",,7,Text", e));  // "Text" is no number
  EXPECT_FALSE(ParseKeyMapValue("", e));
  const std::string longValue = "0001,43," + std::string(400, 'm');
  EXPECT_TRUE(ParseKeyMapValue(CutToEncodedBytes(longValue, 255, TextEncoding::Ansi, DefaultCodePage()), e));
  EXPECT_EQ(e.Message.size(), 255u - 8u);  // the working buffer holds 255 bytes
  EXPECT_EQ(FormatKeyMapValue({0x0D, 0x12345, ""}), "12345,0D,");
}

TEST_F(SettingsStoreTest, FirstStartCreatesTheCompleteFile) {
  EXPECT_EQ(StartUpSettings(data, folder, files, boxes, 1920, 1080).outcome, StartupOutcome::Created);
  EXPECT_EQ(files.folders, std::vector<std::string>{folder});
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(files.writes, 1);  // the whole file at once
  EXPECT_EQ(Get("Items-0", "BM5C"), "4010,02,Dbl.LClick");
  EXPECT_EQ(Get("Items-0", "BD00"), "0000,00,");
  EXPECT_EQ(Get("Items-0", "BD50"), "<none>");
  EXPECT_EQ(Get("Items-1", "BD0B"), "<none>");
  EXPECT_EQ(Get("App-8", "AppSetConst"), "1,1,0,0,0,0,0,0,0,0,0,0,1920,1080,0,0,1000,1000");
  EXPECT_EQ(Get("Times", "CurRepeat"), "10");
}

TEST_F(SettingsStoreTest, DefaultsForMissingAndInvalidNumbers) {
  files.files[path] = "[System]\nMesSize=30\nAdjustAspect=yes\nNoPsRep=0x0\nMesColorFg=0xff0000\n[Times]\nKeyIdle=0x2BC\nKeyRepeat=40\nCurRepeat=2147483647\n[App-1]\nAppSetConst=1,1,0,1,0,0,0,0,0,0,10,20,800,600,0,0,2147483647,0\nAutoStart=2\n";
  data.Apps[0].ProcessId = 5;  // running when a dialog reloads
  data.Apps[0].TargetWindow = 7;
  EXPECT_EQ(LoadSettings(data, path, files), 0);
  const AppEntry& a = data.Apps[0];
  EXPECT_EQ((std::array{a.LastLeft, a.LastTop, a.LastRight, a.LastBottom}), (std::array{10, 20, 800, 600}));
  EXPECT_EQ(a.ProcessId + a.TargetWindow, 0u);
  EXPECT_TRUE(a.AutoStart);
  EXPECT_EQ(data.settings.MesSize, 30);
  EXPECT_FALSE(data.settings.AdjustAspect);
  EXPECT_FALSE(data.settings.NoPsRep);
  EXPECT_EQ(data.settings.MesColorFg, 0xFF0000u);
  EXPECT_EQ(data.settings.KeyIdle, 700);
  EXPECT_EQ(data.settings.KeyRepeat, 40);
  // What would sleep for weeks is brought into the dialogs' range.
  EXPECT_EQ(data.Apps[0].ActivateDelay, kDelayMax);
  EXPECT_EQ(data.Apps[0].LongPressTime, kDelayMin);
  EXPECT_EQ(data.settings.CurRepeat, kCurRepeatRange.max);
  EXPECT_EQ(data.KeyboardMap.at(0x0B, 5), (KeyMapEntry{}));
  SaveSystemSettings(data, path, files, nullptr);
  EXPECT_EQ(Get("System", "MesColorFg"), "0xFF0000");
  EXPECT_EQ(Get("System", "AdjustAspect"), "0");
}

TEST_F(SettingsStoreTest, PerProgramMapsAreDifferencesFromTheBasicMap) {
  StartUpSettings(data, folder, files, boxes, 800, 600);
  data.KeyboardMap.at(0x00, 3) = {0x31, 0, "1"};
  data.MouseMap.at(0x00, 3) = {0x31, 0, "1"};
  SaveKeyMaps(data, path, files, nullptr);
  auto ini = ProfileFile::Parse(files.files[path]);
  EXPECT_EQ(ini.GetString("Items-3", "BD00", ""), "0000,31,1");
  EXPECT_EQ(ini.GetString("Items-3", "BM00", ""), "0000,31,1");
  EXPECT_FALSE(ini.HasKey("Items-3", "BD01"));

  ConfigData again;
  ASSERT_EQ(LoadSettings(again, path, files), 0);
  EXPECT_EQ(again.KeyboardMap.at(0x00, 3).Key, 0x31);
  EXPECT_EQ(again.KeyboardMap.at(0x00, 2).Key, 0);
  EXPECT_EQ(again.KeyboardMap.at(0x0B, 3).Key, 0x0D);  // inherited

  data.KeyboardMap.at(0x00, 3) = data.KeyboardMap.at(0x00, 0);
  SaveKeyMaps(data, path, files, nullptr);
  EXPECT_EQ(Get("Items-3", "BD00"), "<none>");  // equal again: deleted
}

TEST_F(SettingsStoreTest, LoadThenSaveAllReproducesTheFileByteForByte) {
  StartUpSettings(data, folder, files, boxes, 1920, 1080);
  data.KeyboardMap.at(0x43, 6) = {0x41, 0x0110, "Shift.Ctrl.A"};
  data.Apps[2].Registered = true;
  data.Apps[2].AppProg = "C:\\Tools\\player.exe";
  data.Apps[2].LongPressTime = 1500;
  data.Apps[2].ActivateDelay = 1000;
  SaveKeyMaps(data, path, files, nullptr);
  SaveAppEntries(data, path, files, nullptr, 1920, 1080);
  SaveAutoStart(path, 2, true, files, nullptr);
  const std::string written = files.files[path];
  ConfigData again;
  ASSERT_EQ(LoadSettings(again, path, files), 0);
  SaveKeyMaps(again, path, files, nullptr);
  SaveSystemSettings(again, path, files, nullptr);
  SaveAppEntries(again, path, files, nullptr, 1920, 1080);
  const int writes = files.writes;
  SaveAutoStart(path, 2, again.Apps[2].AutoStart, files, nullptr);
  EXPECT_EQ(files.writes, writes);  // the mark it holds already: nothing written
  EXPECT_EQ(files.files[path], written);
}

TEST_F(SettingsStoreTest, UnusableFileIsKeptByteForByteBeforeItIsRebuilt) {
  const std::string bad =
      "[App-1]\nAppProg=one.exe\nAppSetConst=2,1,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0\n"
      "[App-3]\nAppSetConst=1,1,x\n[Items-0]\nBD00=0000,31,\xED\x40mine\n";
  files.files[path] = bad;
  const StartupReport report = StartUpSettings(data, folder, files, boxes, 1920, 1080);
  EXPECT_EQ(report.outcome, StartupOutcome::Rebuilt);
  EXPECT_EQ(report.keptAs, path + ".bad");
  EXPECT_EQ(files.files[path + ".bad"], bad);  // the user's bytes, not decoded and encoded again
  ASSERT_EQ(boxes.shown.size(), 1u);
  const std::string& box = boxes.shown[0].text;
  EXPECT_EQ(box.rfind("環境ファイルが適正ではありません。\n設定値をすべて初期化します。\n\n", 0), 0u);
  EXPECT_NE(box.find("[App-3] AppSetConst"), std::string::npos);
  EXPECT_NE(box.find(path + ".bad"), std::string::npos);
  EXPECT_EQ(Get("App-1", "AppProg"), "one.exe");  // read before the bad value
  EXPECT_EQ(Get("App-3", "AppSetConst"), "1,1,0,0,0,0,0,0,0,0,0,0,1920,1080,0,0,1000,1000");
  EXPECT_EQ(Get("Items-0", "BD00"), "0000,00,");

  // The same bytes again (a rebuild that could not be written): the copy
  // made before holds them; no second one is added at each start.
  files.files[path] = bad;
  EXPECT_EQ(StartUpSettings(data, folder, files, boxes, 1920, 1080).keptAs, path + ".bad");
  EXPECT_EQ(files.files.count(path + ".bad2"), 0u);

  // A second bad start keeps the first copy too.
  files.files[path] = "[System]\nMesColorFg=red\n";
  EXPECT_EQ(StartUpSettings(data, folder, files, boxes, 1920, 1080).keptAs, path + ".bad2");
  EXPECT_EQ(files.files[path + ".bad"], bad);
  EXPECT_NE(boxes.shown.back().text.find("[System] MesColorFg"), std::string::npos);
}

TEST_F(SettingsStoreTest, FilesWithoutKeysOrTooLargeAreKeptAsideToo) {
  // UTF-16 without its byte-order mark: its form cannot be told.
  std::string noMark;
  for (char c : std::string("[System]\r\nHideStart=1\r\n")) noMark += {c, '\0'};
  for (const std::string& odd : {std::string(), std::string(4096, '\0'), std::string("; only a note\r\n"), noMark,
                                std::string("[Items-4]\nBM0B=,\n")}) {
    files.files.clear();
    files.files[path] = odd;
    EXPECT_EQ(StartUpSettings(data, folder, files, boxes, 1920, 1080).outcome, StartupOutcome::Rebuilt);
    EXPECT_EQ(files.files[path + ".bad"], odd);
    EXPECT_EQ(Get("Items-0", "BD0B"), "0000,0D,RETURN");
  }
  files.files.clear();
  files.files[path] = "[System]\nMesSize=30\n" + std::string(size_t(kMaxSettingsBytes), ';');
  const StartupReport big = StartUpSettings(data, folder, files, boxes, 1920, 1080);
  EXPECT_EQ(big.outcome, StartupOutcome::Rebuilt);
  EXPECT_NE(boxes.shown.back().text.find("MB"), std::string::npos);
  EXPECT_EQ(data.settings.MesSize, 46);
}

TEST_F(SettingsStoreTest, WhenNoCopyCanBeMadeTheFileIsLeftAndCorvidRunsOnDefaults) {
  const std::string bad = "[App-2]\nAppSetConst=1,1,0\n[Items-0]\nBD00=0000,31,mine\n";
  files.files[path] = bad;
  files.readOnly.insert(path + ".bad");  // an old copy that cannot be replaced, or a folder of that name
  for (int n = 2; n <= 99; ++n) files.files[path + ".bad" + std::to_string(n)] = "older";
  const int writes = files.writes;
  FixedScreen screen;
  SettingsFile settings(data, files, DefaultCodePage(), boxes, screen);
  settings.SetFolder(folder);
  const StartupReport report = settings.StartUp();
  EXPECT_EQ(report.outcome, StartupOutcome::Refused);
  EXPECT_EQ(files.files[path], bad);
  EXPECT_EQ(files.writes, writes + 1);  // the attempted copy only
  EXPECT_NE(boxes.shown.back().text.find("初期設定で動作します"), std::string::npos);
  EXPECT_EQ(data.KeyboardMap.at(0x0B, 0).Key, 0x0D);  // the factory maps, in memory
  // No save writes the factory settings over the user's only copy, each
  // says so; once the user has mended the file, a reload ends that.
  EXPECT_FALSE(settings.SaveKeyMaps());
  EXPECT_FALSE(settings.SaveSystemSettings());
  EXPECT_FALSE(settings.SaveAppEntries());
  EXPECT_FALSE(settings.SaveAutoStartMarks(1, 1));
  EXPECT_EQ(files.files[path], bad);
  EXPECT_NE(boxes.shown.back().text.find(path), std::string::npos);
  EXPECT_EQ(settings.Reload(), -1);
  EXPECT_TRUE(settings.Refused());
  files.files[path] = "[Items-0]\nBD00=0000,31,mine\n";
  EXPECT_EQ(settings.Reload(), 0);
  EXPECT_TRUE(settings.SaveKeyMaps());
  EXPECT_NE(files.files[path].find("BD00=0000,31,mine"), std::string::npos);
}

TEST_F(SettingsStoreTest, RefusedWriteIsToldAndLeavesTheFile) {
  files.files[path] = "[System]\nMesSize=30\n";
  files.readOnly.insert(path);
  data.settings.MesSize = 50;
  EXPECT_FALSE(SaveSystemSettings(data, path, files, &boxes));
  EXPECT_EQ(files.files[path], "[System]\nMesSize=30\n");
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_NE(boxes.shown[0].text.find("read-only"), std::string::npos);
  EXPECT_NE(boxes.shown[0].text.find("変更されていません"), std::string::npos);
  // A store that failed and could not put the file back: the box says so.
  struct CuttingStore : MemoryFileStore {
    bool Replace(const std::string& p, const std::string&, std::string& why) override {
      files[p].resize(3);
      why = "cut";
      return false;
    }
  } cutting;
  cutting.files[path] = "[System]\nMesSize=30\n";
  EXPECT_FALSE(SaveSystemSettings(data, path, cutting, &boxes));
  EXPECT_EQ(boxes.shown.back().text.find("変更されていません"), std::string::npos);
  EXPECT_NE(boxes.shown.back().text.find("元に戻すこともできません"), std::string::npos);
}

TEST_F(SettingsStoreTest, FileInTheCodePageIsReadAsTextAndWrittenBackInIt) {
  Latin1Codec codec;
  StartUpSettings(data, folder, files, boxes, 1920, 1080, codec);
  // The factory arrows have no form in Latin-1.
  for (uint8_t c = 0x54; c <= 0x57; ++c)
    for (int m = 0; m < kMapCount; ++m) data.MouseMap.at(c, m).Message = "arrow";
  files.files.erase(path);
  data.KeyboardMap.at(0x00, 0) = {0x31, 0, "caf\xC3\xA9"};  // "café" in the core
  SaveKeyMaps(data, path, files, nullptr, codec);
  EXPECT_EQ(Get("Items-0", "BD00"), "0000,31,caf\xE9");  // one byte in the file
  ConfigData again;
  ASSERT_EQ(LoadSettings(again, path, files, codec), 0);
  EXPECT_EQ(again.KeyboardMap.at(0x00, 0).Message, "caf\xC3\xA9");

  // A text the code page cannot hold: the file turns to UTF-8, nothing lost.
  data.KeyboardMap.at(0x01, 0) = {0x32, 0, "\xE3\x82\xAD\xE3\x83\xBC"};
  SaveKeyMaps(data, path, files, nullptr, codec);
  EXPECT_EQ(files.files[path].substr(0, 3), "\xEF\xBB\xBF");
  ConfigData third;
  ASSERT_EQ(LoadSettings(third, path, files, codec), 0);
  EXPECT_EQ(third.KeyboardMap.at(0x01, 0).Message, "\xE3\x82\xAD\xE3\x83\xBC");
  EXPECT_EQ(third.KeyboardMap.at(0x00, 0).Message, "caf\xC3\xA9");

  // A message is cut at 255 bytes of the file's encoding, between characters.
  std::string accents;
  for (int i = 0; i < 300; ++i) accents += "\xC3\xA9";
  files.files[path] = "[Items-0]\nBD00=0000,31," + std::string(247, '\xE9') + "\xE9\xE9\n";
  ASSERT_EQ(LoadSettings(third, path, files, codec), 0);
  EXPECT_EQ(third.KeyboardMap.at(0x00, 0).Message, accents.substr(0, 2 * 247));
}

TEST_F(SettingsStoreTest, UnicodeFilesAreReadAndWrittenBackInTheirOwnForm) {
  Latin1Codec codec;
  // UTF-16 with its byte-order mark, as the system's profile functions read it.
  // Either byte order.
  const std::u16string wide = u"[Items-0]\r\nBD00=0000,31,\u30AD\u30FC\r\n";
  for (bool big : {false, true}) {
    std::string utf16 = big ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t u : wide) {
      const char low = static_cast<char>(u & 0xFF), high = static_cast<char>(u >> 8);
      utf16 += big ? std::string{high, low} : std::string{low, high};
    }
    files.files[path] = utf16;
    data.KeyboardMap.at(0x00, 0).Message.clear();
    ASSERT_EQ(LoadSettings(data, path, files, codec), 0);
    EXPECT_EQ(data.KeyboardMap.at(0x00, 0).Message, "\xE3\x82\xAD\xE3\x83\xBC");
    SaveSystemSettings(data, path, files, nullptr, codec);
    EXPECT_EQ(files.files[path].substr(0, utf16.size()), utf16);  // still UTF-16, the key where it was
    EXPECT_EQ(files.files[path].size() % 2, 0u);
  }

  // UTF-8 without a byte-order mark (Notepad's default) stays so.
  const std::string utf8 = "[Items-0]\r\nBD00=0000,31,\xE3\x82\xAD\r\n";
  files.files[path] = utf8;
  ASSERT_EQ(LoadSettings(data, path, files, codec), 0);
  EXPECT_EQ(data.KeyboardMap.at(0x00, 0).Message, "\xE3\x82\xAD");
  SaveSystemSettings(data, path, files, nullptr, codec);
  EXPECT_EQ(files.files[path].substr(0, utf8.size()), utf8);
}

TEST_F(SettingsStoreTest, BytesTheCodePageCannotReadGoBackUnchanged) {
  Latin1Codec codec;
  StartUpSettings(data, folder, files, boxes, 1920, 1080, codec);
  std::string text = files.files[path];
  text += "[Mine]\r\nodd=\x81\xE9\r\n";
  files.files[path] = text;
  ASSERT_EQ(LoadSettings(data, path, files, codec), 0);
  SaveSystemSettings(data, path, files, nullptr, codec);
  EXPECT_EQ(files.files[path], text);
}

TEST(SettingsSchema, EveryKeyRoundTripsAndAFailingColourStopsTheReadThere) {
  Settings changed;
  changed.KeyIdle = 700;
  changed.CurSpeed = 12.9;  // written truncated
  changed.MesColorFg = 0x123456;
  changed.MesFont = "メイリオ";
  changed.NoCursor = true;
  changed.StartMouse = true;
  ProfileFile file = ProfileFile::Parse("");
  for (const SettingKey& k : SystemSettingKeys()) WriteSetting(file, k, changed);
  EXPECT_EQ(file.GetString("Times", "CurRepeat", ""), "10");
  Settings back;
  for (const SettingKey* k : SystemSettingReadOrder()) ASSERT_TRUE(ReadSetting(file, *k, back)) << k->key;
  EXPECT_EQ(back.CurSpeed, 12);
  back.CurSpeed = changed.CurSpeed;
  EXPECT_EQ(back.MesFont, changed.MesFont);
  EXPECT_EQ(back.MesColorFg, changed.MesColorFg);
  EXPECT_TRUE(back.NoCursor && back.StartMouse);
  EXPECT_EQ(back.HomeMode(), 2);

  // The message's look comes last: a bad foreground colour leaves it as it was.
  ConfigData data;
  data.settings.MesSize = 99;
  MemoryFileStore files;
  files.files["f"] = "[System]\nMesColorFg=red\nMesSize=20\nStartMouse=1\n";
  EXPECT_EQ(LoadSettings(data, "f", files), -1);
  EXPECT_TRUE(data.settings.StartMouse);
  EXPECT_EQ(data.settings.MesSize, 99);
  EXPECT_NE(FindSettingKey("MesPosy"), nullptr);
}

TEST(SettingsFileReload, TheTimersFollowEveryLoad) {
  HeadlessApp a;
  a.p.memoryFiles.files[a.app.Settings().Path()] = "[Times]\nKeyIdle=700\nKeyRepeat=40\nCurRepeat=15\n";
  EXPECT_EQ(a.app.Settings().Reload(), 0);
  EXPECT_EQ(a.engine.RepeatDelayTimer().Interval(), 700u);
  EXPECT_EQ(a.engine.RepeatTimer().Interval(), 40u);
  EXPECT_EQ(a.app.Mouse().cursorTimer.Interval(), 15u);
}

}  // namespace
}  // namespace corvid
