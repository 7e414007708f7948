#include "config/settings_store.h"

#include <gtest/gtest.h>

#include "app/headless_platform.h"
#include "base/utf16.h"
#include "config/profile_file.h"
#include "config/profile_values.h"
#include "config/settings_file.h"
#include "config/settings_text.h"
#include "fakes/expected_text.h"

namespace corvid {
namespace {

// Latin-1 as the code page, but 0x81 is refused (as undefined bytes of a real code page are).
class Latin1Codec : public AnsiCodec {
 public:
  bool ToUtf8(std::string_view in, std::string& out) override {
    out = Utf16ToUtf8(std::u16string(reinterpret_cast<const unsigned char*>(in.data()),
                                     reinterpret_cast<const unsigned char*>(in.data() + in.size())));
    return in.find('\x81') == std::string_view::npos;
  }
  bool FromUtf8(std::string_view in, std::string& out) override {
    out.clear();
    for (char16_t c : Utf8ToUtf16(in)) {
      if (c > 0xFF) return false;
      out += static_cast<char>(c);
    }
    return true;
  }
};

class SettingsStoreTest : public ::testing::Test {
 protected:
  std::string Get(const char* s, const char* k) {
    return ProfileFile::Parse(files.files[path]).GetString(s, k, "<none>");
  }
  StartupReport Start(AnsiCodec& codec = DefaultCodePage()) {
    return StartUpSettings(data, folder, files, boxes, 1920, 1080, codec);
  }
  RecordingBoxes boxes;
  ConfigData data;
  MemoryFileStore files;
  const std::string folder = "/docs/.corvid/";
  const std::string path = "/docs/.corvid/Corvid.ini";
};

TEST(SettingsValues, IntegersAndKeyMapValues) {
  int32_t v;
  for (auto [text, want] : {std::pair{"0x1f4", 500}, {"-12", -12}, {"$10", 16}})
    EXPECT_TRUE(ParseProfileInteger(text, v) && v == want) << text;
  for (const char* bad : {"yes", "0x", "99999999999", ""}) EXPECT_FALSE(ParseProfileInteger(bad, v)) << bad;
  KeyMapEntry e;
  for (auto [text, want] : {std::pair{"12,5", KeyMapEntry{0x05, 0x12, ""}}, {"0000,00,A,B", {0, 0, "A"}}})
    EXPECT_TRUE(ParseKeyMapValue(text, e) && e == want) << text;
  EXPECT_FALSE(ParseKeyMapValue(",,7,Text", e));  // "Text" is no number
  const std::string longValue = "0001,43," + std::string(400, 'm');
  EXPECT_TRUE(ParseKeyMapValue(CutToEncodedBytes(longValue, 255, TextEncoding::Ansi, DefaultCodePage()), e));
  EXPECT_EQ(e.Message.size(), 255u - 8u);  // the working buffer holds 255 bytes
  EXPECT_EQ(FormatKeyMapValue({0x0D, 0x12345, ""}), "12345,0D,");
}

TEST_F(SettingsStoreTest, FirstStartCreatesTheFileAndEverySaveReproducesIt) {
  EXPECT_EQ(Start().outcome, StartupOutcome::Created);
  EXPECT_EQ(files.folders, std::vector<std::string>{folder});
  EXPECT_EQ(files.writes, 1);  // the whole file at once
  EXPECT_TRUE(boxes.shown.empty());
  ExpectSameLines(files.files[path], Expected("settings/first_start.ini"));

  Settings& s = data.settings;
  s.KeyIdle = 700;
  s.CurSpeed = 12.9;  // 12 in the file
  s.MesColorFg = 0x123456;
  s.MesFont = "メイリオ";
  s.NoCursor = s.StartMouse = true;
  data.KeyboardMap.at(0x43, 6) = {0x41, 0x0110, "Shift.Ctrl.A"};
  data.KeyboardMap.at(0x00, 3) = data.MouseMap.at(0x00, 3) = {0x31, 0, "1"};
  data.Apps[2].Registered = true;
  data.Apps[2].AppProg = "C:\\Tools\\player.exe";
  data.Apps[2].LongPressTime = 1500;
  auto saveAll = [&](const ConfigData& d) {
    SaveKeyMaps(d, path, files, nullptr);
    SaveSystemSettings(d, path, files, nullptr);
    SaveAppEntries(d, path, files, nullptr, 1920, 1080);
  };
  saveAll(data);
  SaveAutoStart(path, 2, true, files, nullptr);
  ExpectSameLines(files.files[path], Expected("settings/saved.ini"));

  ConfigData again;
  ASSERT_EQ(LoadSettings(again, path, files), 0);
  saveAll(again);
  const int writes = files.writes;
  SaveAutoStart(path, 2, again.Apps[2].AutoStart, files, nullptr);
  EXPECT_EQ(files.writes, writes);  // the mark it holds already: nothing written
  ExpectSameLines(files.files[path], Expected("settings/saved.ini"));

  data.KeyboardMap.at(0x00, 3) = data.KeyboardMap.at(0x00, 0);
  SaveKeyMaps(data, path, files, nullptr);
  EXPECT_EQ(Get("Items-3", "BD00"), "<none>");  // equal again: deleted
}

TEST_F(SettingsStoreTest, DefaultsForMissingAndInvalidNumbers) {
  files.files[path] =
      "[System]\nMesSize=30\nAdjustAspect=yes\nNoPsRep=0x0\nMesColorFg=0xff0000\n[Times]\nKeyIdle=0x2BC\n"
      "CurRepeat=2147483647\n[App-1]\nAppSetConst=1,1,0,1,0,0,0,0,0,0,10,20,800,600,0,0,2147483647,0\nAutoStart=2\n";
  data.Apps[0].ProcessId = 5;  // running when a dialog reloads
  data.Apps[0].TargetWindow = 7;
  EXPECT_EQ(LoadSettings(data, path, files), 0);
  const AppEntry& a = data.Apps[0];
  EXPECT_EQ((std::array{a.LastLeft, a.LastTop, a.LastRight, a.LastBottom}), (std::array{10, 20, 800, 600}));
  EXPECT_EQ(a.ProcessId + a.TargetWindow, 0u);
  EXPECT_TRUE(a.AutoStart);
  EXPECT_EQ((std::array{data.settings.MesSize, data.settings.KeyIdle}), (std::array{30, 700}));
  // What would sleep for weeks is brought into the dialogs' range.
  EXPECT_EQ((std::array{a.ActivateDelay, a.LongPressTime, data.settings.CurRepeat}),
            (std::array{kDelayMax, kDelayMin, kCurRepeatRange.max}));
  EXPECT_EQ(data.KeyboardMap.at(0x0B, 5), (KeyMapEntry{}));
  SaveSystemSettings(data, path, files, nullptr);
  EXPECT_EQ(Get("System", "MesColorFg"), "0xFF0000");
  EXPECT_EQ(Get("System", "AdjustAspect"), "0");

  // The message's look is read last: a bad colour leaves it as it was.
  ConfigData stopped;
  stopped.settings.MesSize = 99;
  files.files[path] = "[System]\nMesColorFg=red\nMesSize=20\nStartMouse=1\n";
  EXPECT_EQ(LoadSettings(stopped, path, files), -1);
  EXPECT_EQ(std::pair(stopped.settings.StartMouse, stopped.settings.MesSize), std::pair(true, 99));
}

TEST_F(SettingsStoreTest, UnusableFilesAreKeptByteForByteBeforeTheyAreRebuilt) {
  const std::string bad =
      "[App-1]\nAppProg=one.exe\nAppSetConst=2,1,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0\n"
      "[App-3]\nAppSetConst=1,1,x\n[Items-0]\nBD00=0000,31,\xED\x40mine\n";
  files.files[path] = bad;
  EXPECT_EQ(Start().keptAs, path + ".bad");    // rebuilt: the odd files below check the outcome
  EXPECT_EQ(files.files[path + ".bad"], bad);  // the user's bytes, not decoded and encoded again
  ASSERT_EQ(boxes.shown.size(), 1u);
  ExpectSameLines(boxes.shown[0].text + "\n" + files.files[path], Expected("settings/rebuilt.txt"));

  // The same bytes again need no second copy; other bad bytes get their own.
  files.files[path] = bad;
  EXPECT_EQ(Start().keptAs, path + ".bad");
  files.files[path] = "[System]\nMesColorFg=red\n";
  EXPECT_EQ(Start().keptAs, path + ".bad2");
  EXPECT_EQ(files.files[path + ".bad"], bad);
  EXPECT_NE(boxes.shown.back().text.find("[System] MesColorFg"), std::string::npos);

  // UTF-16 without its byte-order mark: its form cannot be told.
  std::string noMark;
  for (char c : std::string("[System]\r\nHideStart=1\r\n")) noMark += {c, '\0'};
  const std::string tooLarge = "[System]\nMesSize=30\n" + std::string(size_t(kMaxSettingsBytes), ';');
  for (const std::string& odd : {std::string(), std::string(4096, '\0'), std::string("; only a note\r\n"), noMark,
                                 std::string("[Items-4]\nBM0B=,\n"), tooLarge}) {
    files.files.clear();
    files.files[path] = odd;
    EXPECT_EQ(Start().outcome, StartupOutcome::Rebuilt);
    EXPECT_TRUE(files.files[path + ".bad"] == odd);
    EXPECT_EQ(Get("Items-0", "BD0B"), "0000,0D,RETURN");
    EXPECT_EQ(data.settings.MesSize, 46);
  }
  EXPECT_NE(boxes.shown.back().text.find("MB"), std::string::npos);
}

TEST_F(SettingsStoreTest, WhenNoCopyCanBeMadeOrAWriteIsRefusedTheFileIsLeft) {
  const std::string bad = "[App-2]\nAppSetConst=1,1,0\n[Items-0]\nBD00=0000,31,mine\n";
  files.files[path] = bad;
  files.readOnly.insert(path + ".bad");  // an old copy that cannot be replaced, or a folder of that name
  for (int n = 2; n <= 99; ++n) files.files[path + ".bad" + std::to_string(n)] = "older";
  const int writes = files.writes;
  FixedScreen screen;
  SettingsFile settings(data, files, DefaultCodePage(), boxes, screen);
  settings.SetFolder(folder);
  EXPECT_EQ(settings.StartUp().outcome, StartupOutcome::Refused);
  EXPECT_EQ(files.writes, writes + 1);  // the attempted copy only
  EXPECT_NE(boxes.shown.back().text.find("初期設定で動作します"), std::string::npos);
  EXPECT_EQ(data.KeyboardMap.at(0x0B, 0).Key, 0x0D);  // the factory maps, in memory
  // No save goes over the user's only copy until a reload reads it mended.
  EXPECT_FALSE(settings.SaveKeyMaps() || settings.SaveSystemSettings() || settings.SaveAppEntries() ||
               settings.SaveAutoStartMarks(1, 1));
  EXPECT_EQ(files.files[path], bad);
  EXPECT_NE(boxes.shown.back().text.find(path), std::string::npos);
  EXPECT_EQ(settings.Reload(), -1);
  files.files[path] = "[Items-0]\nBD00=0000,31,mine\n";
  EXPECT_EQ(settings.Reload(), 0);
  EXPECT_TRUE(settings.SaveKeyMaps());
  EXPECT_NE(files.files[path].find("BD00=0000,31,mine"), std::string::npos);

  files.readOnly.insert(path);
  const std::string kept = files.files[path];
  EXPECT_FALSE(SaveSystemSettings(data, path, files, &boxes));
  EXPECT_EQ(files.files[path], kept);
  EXPECT_NE(boxes.shown.back().text.find("read-only"), std::string::npos);
  EXPECT_NE(boxes.shown.back().text.find("変更されていません"), std::string::npos);
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
  EXPECT_NE(boxes.shown.back().text.find("元に戻すこともできません"), std::string::npos);
}

// In the code page, UTF-16 of either byte order or UTF-8 without a mark: each goes back in its own form.
TEST_F(SettingsStoreTest, EachFileIsReadAsTextAndWrittenBackInItsOwnForm) {
  Latin1Codec codec;
  const std::u16string wide = u"[Items-0]\r\nBD00=0000,31,\u30AD\u30FC\r\n";
  std::string little = "\xFF\xFE", big;
  for (char16_t u : wide) little += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  for (size_t i = 0; i < little.size(); i += 2) big += {little[i + 1], little[i]};
  const std::string key = "\xE3\x82\xAD\xE3\x83\xBC", cafe = "caf\xC3\xA9";
  for (auto [text, message] : {std::pair<std::string, std::string>{"[Mine]\r\nodd=\x81\xE9\r\n", ""},  // unreadable
                               {little, key},
                               {big, key},
                               {"[Items-0]\r\nBD00=0000,31," + key + "\r\n", key},
                               {"[Items-0]\r\nBD00=0000,31,caf\xE9\r\n", cafe}}) {
    files.files[path] = text;
    ASSERT_EQ(LoadSettings(data, path, files, codec), 0);
    EXPECT_EQ(data.KeyboardMap.at(0x00, 0).Message, message);
    SaveSystemSettings(data, path, files, nullptr, codec);
    EXPECT_EQ(files.files[path].substr(0, text.size()), text);  // in its form, the key where it was
    if (text[0] != '[') EXPECT_EQ(files.files[path].size() % 2, 0u);
  }

  // A text the code page cannot hold: the file turns to UTF-8, nothing lost.
  data.KeyboardMap.at(0x01, 0) = {0x32, 0, key};
  SaveKeyMaps(data, path, files, nullptr, codec);
  EXPECT_EQ(files.files[path].substr(0, 3), "\xEF\xBB\xBF");
  ConfigData again;
  ASSERT_EQ(LoadSettings(again, path, files, codec), 0);
  EXPECT_EQ(again.KeyboardMap.at(0x00, 0).Message + again.KeyboardMap.at(0x01, 0).Message, cafe + key);

  // A message is cut at 255 bytes of the file's encoding, between characters.
  files.files[path] = "[Items-0]\nBD00=0000,31," + std::string(249, '\xE9') + "\n";
  ASSERT_EQ(LoadSettings(again, path, files, codec), 0);
  EXPECT_EQ(again.KeyboardMap.at(0x00, 0).Message.size(), 2u * 247);
}

}  // namespace
}  // namespace corvid
