// The settings file's store on a disk with no room left, a small file system
// the test run mounts where it can (scripts/small-disk).
#include <windows.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "config/file_store_win32.h"
#include "win32/wine_support_win32.h"

using namespace corvid;
using namespace wine_test;

namespace {

// The folder of the small file system, when the run mounted one.
std::wstring SmallDisk() {
  wchar_t buf[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"CORVID_SMALL_DISK_UNIX", buf, MAX_PATH)) return L"";
  std::wstring folder = L"Z:" + std::wstring(buf) + L"\\";
  std::replace(folder.begin(), folder.end(), L'/', L'\\');
  return GetFileAttributesW((folder + L"mounted").c_str()) == INVALID_FILE_ATTRIBUTES ? L"" : folder;
}

// Writes into `path` until the disk takes no more.
void FillUp(const std::wstring& path) {
  const corvid::UniqueHandle f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  const std::string block(4096, 'f');
  DWORD n = 0;
  for (const DWORD size : {4096u, 1u})  // blocks, then the last bytes
    while (WriteFile(f.Get(), block.data(), size, &n, nullptr) && n == size) {
    }
}

TEST(FullDisk, AFailedSaveKeepsTheFileAndLeavesNothingBehind) {
  const std::wstring disk = SmallDisk();
  if (disk.empty()) GTEST_SKIP() << "no small file system was mounted for this run (see scripts/small-disk)";
  const std::wstring ini = disk + L"Corvid.ini";
  const std::string old(6000, 'o'), larger(12000, 'n');
  ASSERT_TRUE(WriteAll(ini, old));
  Win32FileStore files;
  std::string why;
  // With room, a save that grows the file goes through.
  ASSERT_TRUE(files.Replace(Utf8(ini), larger, why)) << why;
  ASSERT_TRUE(files.Replace(Utf8(ini), old, why)) << why;

  // A failed save leaves the file as it was and nothing half-written beside it.
  FillUp(disk + L"filler");
  EXPECT_FALSE(files.Replace(Utf8(ini), larger, why));
  EXPECT_EQ(ReadAll(ini), old);
  EXPECT_EQ(GetFileAttributesW((ini + L".new").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(files.CopyNew(Utf8(ini), Utf8(ini + L".bad"), why));
  EXPECT_EQ(GetFileAttributesW((ini + L".bad").c_str()), INVALID_FILE_ATTRIBUTES);

  // No entry left for a new file: the save is written in place, and only
  // when the room for it could be taken first.
  DeleteFileW((disk + L"filler").c_str());
  for (int i = 0; i < 10000; ++i) {  // empty files until no more can be made
    const std::wstring entry = disk + L"entry" + std::to_wstring(i);
    if (!corvid::UniqueHandle(CreateFileW(entry.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr))) break;
  }
  ASSERT_TRUE(files.Replace(Utf8(ini), larger, why)) << why;
  EXPECT_EQ(ReadAll(ini), larger);
  ASSERT_TRUE(files.Replace(Utf8(ini), old, why)) << why;
  FillUp(disk + L"entry0");
  EXPECT_FALSE(files.Replace(Utf8(ini), larger, why));
  EXPECT_EQ(ReadAll(ini), old);
  // A save that shrinks the file needs no room and goes through in place.
  EXPECT_TRUE(files.Replace(Utf8(ini), "short", why)) << why;
  EXPECT_EQ(ReadAll(ini), "short");
}

}  // namespace
