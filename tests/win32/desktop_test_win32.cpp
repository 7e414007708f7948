// Win32 pieces on a real (emulated) desktop: the HID layer without the remote, the profile reader against
// the system's, the file store, and the ends of the process.
#include <windows.h>
#include <dbt.h>

#include <gtest/gtest.h>

#include "app/crash_release_win32.h"
#include "base/text_win32.h"
#include "config/file_store_win32.h"
#include "config/profile_file.h"
#include "remote/device_connection.h"
#include "remote/hid_layer_win32.h"
#include "win32/wine_support_win32.h"

using namespace corvid;
using namespace wine_test;

namespace {

struct HidRecorder : HidEvents {
  void OnDevicesChanged() override { ++changes; }
  void OnReport(HidDevice&, uint8_t, const uint8_t*, size_t) override { ++reports; }
  int changes = 0, reports = 0;
};

TEST(HidLayer, FirstChangeComesWithTheLoopAndNoRemoteIsFound) {
  HidRecorder events;
  {
    HidControllerWin32 hid;
    hid.SetEvents(&events);
    EXPECT_TRUE(hid.LibrariesLoaded());
    ASSERT_TRUE(hid.Create());
    EXPECT_EQ(events.changes, 0);  // only once the loop runs
    Pump(200);
    EXPECT_EQ(events.changes, 1);
    HWND w = FindWindowW(L"CorvidHidLayer", nullptr);
    ASSERT_NE(w, nullptr);
    SendMessageW(w, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    SendMessageW(w, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    EXPECT_LE(events.changes, 2);  // the same devices: no change, at most a first sight
    HidDevice* remote = reinterpret_cast<HidDevice*>(1);
    EXPECT_FALSE(hid.CheckOutByID(remote, kRemoteVendorId, kRemoteProductId));
    EXPECT_EQ(remote, nullptr);
    hid.CheckIn(remote);  // checking in none is harmless
    EXPECT_EQ(events.reports, 0);
  }
  EXPECT_EQ(FindWindowW(L"CorvidHidLayer", nullptr), nullptr);
}

const char kMissing[] = "\x01missing";

struct Case {
  const char* name;
  std::string text;
  std::vector<std::pair<std::string, std::string>> probes;  // section, key
};

// The system's reading: the names of the sections (none given) or of a section's keys, or a key's value.
std::vector<std::string> SystemNames(const std::string& path, const char* section) {
  std::vector<char> buf(65536);
  const DWORD n = GetPrivateProfileStringA(section, nullptr, "", buf.data(), DWORD(buf.size()), path.c_str());
  std::vector<std::string> out;
  for (size_t i = 0; i < n && buf[i]; i += out.back().size() + 1) out.emplace_back(&buf[i]);
  return out;
}

std::string SystemValue(const std::string& path, const std::string& section, const std::string& key) {
  std::vector<char> buf(corvid::kProfileValueMax + 1);
  GetPrivateProfileStringA(section.c_str(), key.c_str(), kMissing, buf.data(), DWORD(buf.size()), path.c_str());
  return buf.data();
}

// Every section and key the system lists, and names probed on purpose (other case, names only in comments,
// missing ones): the system's GetPrivateProfileStringA and Corvid's reader give the same text.
TEST(ProfileFile, ReadsAwkwardFilesAsTheSystemDoes) {
  const std::string folder = Utf8(FreshFolder(L"profile-compare"));
  const std::vector<Case> cases = {
      {"duplicates",
       "[Main]\r\nKey=first\r\nkey=second\r\nKEY=third\r\n[main]\r\nKey=other\r\nOnly=later\r\n"
       "[Main]\r\nMore=x\r\n",
       {{"MAIN", "key"}, {"main", "Only"}, {"Main", "More"}}},
      {"quotes",
       "[Q]\r\ndouble=\"quoted value\"\r\nsingle='single'\r\nmixed=\"mixed'\r\nhalf=\"open\r\n"
       "inner=a\"b\"c\r\nspaced=  \" padded \"  \r\nempty=\"\"\r\nlone=\"\r\ntwice=\"\"x\"\"\r\n",
       {}},
      {"blanks",
       "  [ Spaced ]  \r\n  key one  =  value one  \r\n\tTabbed\t=\tvalue\t\r\nnoequals line\r\n"
       "=no name\r\nempty=\r\n   \r\n[Next]\r\nk = v = w\r\n",
       {{"Spaced", "key one"}, {"Spaced", "noequals line"}, {"Next", "k"}}},
      {"odd_case",
       "[KeyBoard]\r\nItems-0-1=0,0,0,0,0,0,1\r\nITEMS-0-2=2\r\n[keyboard]\r\nitems-0-1=lost\r\n",
       {{"KEYBOARD", "items-0-1"}, {"keyBOARD", "Items-0-2"}}},
      {"no_final_ending", "[A]\nlf=only\n[B]\nlast=line without ending", {{"B", "last"}}},
      {"lone_cr", "[R]\r\nk=v\rx=2\r\nlast=end\r", {{"R", "k"}, {"R", "x"}, {"R", "last"}}},
      {"long_value", "[L]\r\nlong=" + std::string(3000, 'x') + "\r\nafter=ok\r\n", {{"L", "long"}}},
      {"comments",
       "; leading comment\r\n[C]\r\n;commented=1\r\nreal=2\r\n# hash=3\r\n  ; indented=4\r\n",
       {{"C", ";commented"}, {"C", "commented"}, {"C", "indented"}, {"C", "; indented"}, {"C", "# hash"}}},
      {"before_first_section", "orphan=1\r\n[S]\r\nk=v\r\n", {{"S", "orphan"}, {"S", "k"}}},
      {"bom", "\xEF\xBB\xBF[Bom]\r\nk=v\r\n", {{"Bom", "k"}}},
      {"missing", "[Here]\r\nk=v\r\n", {{"Here", "absent"}, {"Absent", "k"}}},
  };

  int compared = 0;
  for (const Case& c : cases) {
    const std::string path = folder + c.name + ".ini";
    ASSERT_TRUE(WriteAll(corvid::Widen(path), c.text));
    const ProfileFile ours = ProfileFile::Parse(c.text);
    std::vector<std::pair<std::string, std::string>> pairs = c.probes;
    for (const std::string& s : SystemNames(path, nullptr))
      for (const std::string& k : SystemNames(path, s.c_str())) pairs.emplace_back(s, k);
    for (const auto& [section, key] : pairs) {
      std::string got;
      if (!ours.Get(section, key, got)) got = kMissing;
      EXPECT_EQ(got, SystemValue(path, section, key)) << c.name << ": [" << section << "] " << key;
      ++compared;
    }
  }
  EXPECT_GT(compared, 40);
}

TEST(Win32FileStore, ReplacesWholeKeepsLinksAndNeverCopiesOverACopy) {
  const std::wstring folder = FreshFolder(L"file-store");
  const std::string path = Utf8(folder) + "Corvid.ini";
  Win32FileStore files;
  std::string why;
  ASSERT_TRUE(files.Replace(path, "first", why)) << why;
  ASSERT_TRUE(files.Replace(path, "second, longer", why)) << why;
  std::string bytes;
  ASSERT_TRUE(files.Read(path, bytes));
  EXPECT_EQ(bytes, "second, longer");
  EXPECT_EQ(files.Size(path), 14);
  EXPECT_FALSE(files.Exists(path + ".new"));  // nothing left beside it
  ASSERT_TRUE(files.CopyNew(path, path + ".bad", why)) << why;
  EXPECT_FALSE(files.CopyNew(path, path + ".bad", why));
  SetFileAttributesW(corvid::Widen(path).c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(files.Replace(path, "third", why));
  EXPECT_NE(why.find("read-only"), std::string::npos);
  SetFileAttributesW(corvid::Widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);

  // A settings file that is a link to a file elsewhere stays a link.
  const std::wstring real = folder + L"real.ini", link = folder + L"link.ini";
  ASSERT_TRUE(WriteAll(real, "old"));
  CreateSymbolicLinkW(link.c_str(), real.c_str(), 0);
  const DWORD linkAttributes = GetFileAttributesW(link.c_str());
  if (linkAttributes == INVALID_FILE_ATTRIBUTES || !(linkAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
    GTEST_SKIP() << "this system makes no links (Wine 8 answers yes and makes none)";
  ASSERT_TRUE(files.Replace(Utf8(link), "new", why)) << why;
  EXPECT_EQ(ReadAll(real), "new");
  EXPECT_TRUE(GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool Down(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

// Logging off, and a crash: Ctrl held by the remote is let go on both.
TEST(EndPaths, LogOffAndACrashLetGoOfWhatCorvidHolds) {
  // Injected keys need a window in front to go to.
  HWND front = MakeFrontWindow(L"CorvidEndPathsTarget", DefWindowProcW, 0, WS_OVERLAPPEDWINDOW, {60, 60, 200, 120});
  InProcessCorvid corvid(L"end-paths");
  ActionEngine& engine = corvid.app->Engine();
  const uint8_t ctrl[] = {0, 0x80, 0, 0x5F, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 5};  // SQUARE: Ctrl
  engine.RemoteReport(1, ctrl, sizeof ctrl);
  ASSERT_TRUE(WaitUntil([] { return Down(VK_CONTROL); }, 2000));
  EXPECT_TRUE(SendMessageW(corvid.platform->MainWindow(), WM_QUERYENDSESSION, 0, 0));
  EXPECT_TRUE(WaitUntil([] { return !Down(VK_CONTROL); }, 2000));

  ReleaseOnCrash onCrash(*corvid.app);
  engine.RemoteReport(1, ctrl, sizeof ctrl);
  ASSERT_TRUE(WaitUntil([] { return Down(VK_CONTROL); }, 2000));
  // The filter an unhandled exception would reach.
  const LPTOP_LEVEL_EXCEPTION_FILTER filter = SetUnhandledExceptionFilter(nullptr);
  SetUnhandledExceptionFilter(filter);
  ASSERT_NE(filter, nullptr);
  EXCEPTION_RECORD record{};
  CONTEXT context{};
  EXCEPTION_POINTERS info{&record, &context};
  filter(&info);
  EXPECT_TRUE(WaitUntil([] { return !Down(VK_CONTROL); }, 2000));
  DestroyWindow(front);
}

}  // namespace
