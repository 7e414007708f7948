#include "config/file_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "app/headless_platform.h"
#include "config/file_ops.h"
#include "config/settings_store.h"

namespace corvid {
namespace {

namespace fs = std::filesystem;

// A start mends a copy a failed start cut short; a save writes through a link.
TEST(DiskFileStoreTest, StartsSavesAndCopiesOnARealDisk) {
  struct TempDir {
    TempDir() { fs::create_directories(path); }
    ~TempDir() { fs::remove_all(path, ec); }
    fs::path path = fs::temp_directory_path() / ("corvid-files-" + std::to_string(::getpid()));
    std::error_code ec;
  } dir;
  DiskFileStore files;
  auto At = [&](const char* name) { return (dir.path / name).string(); };
  auto Contents = [&](const std::string& path) {
    std::string bytes;
    return files.Read(path, bytes) ? bytes : "<none>";
  };
  const std::string ini = At("Corvid.ini"), bytes = "[System]\r\nMesColorBg=black\r\n";
  std::ofstream(ini, std::ios::binary) << bytes;
  std::ofstream(ini + ".bad", std::ios::binary) << bytes.substr(0, 12);
  ConfigData data;
  RecordingBoxes boxes;
  EXPECT_EQ(StartUpSettings(data, (dir.path / "").string(), files, boxes, 1920, 1080).keptAs, ini + ".bad");
  EXPECT_EQ(Contents(ini + ".bad"), bytes);
  EXPECT_FALSE(fs::exists(ini + ".bad2"));

  const std::string real = At("real.ini"), link = At("link.ini");
  std::ofstream(real) << "old";
  std::error_code ec;
  fs::create_symlink(real, link, ec);
  if (ec) GTEST_SKIP() << "no links here: " << ec.message();
  std::string why;
  ASSERT_TRUE(files.Replace(link, "new", why)) << why;
  EXPECT_TRUE(fs::is_symlink(link));  // still the user's link
  EXPECT_EQ(Contents(real), "new");
  EXPECT_EQ(files.Size(link), 3);

  EXPECT_FALSE(files.CopyNew(link, At("Corvid.ini.bad"), why));  // never over an earlier copy
  EXPECT_FALSE(files.CopyNew(At("missing"), At("x"), why));
  EXPECT_EQ(files.Size(At("missing")), -1);
}

// Full after `room` more bytes, perhaps taking no new file, deleting no open file as
// Windows does; `dieWhenFull`: Corvid is killed the moment it says no.
class FailingDisk : public FileOps {
 public:
  struct File : WritableFile {
    File(FailingDisk& d, std::string p) : disk(d), path(std::move(p)) { ++disk.open[path]; }
    ~File() override { Close(); }
    bool WriteAt(uint64_t offset, std::string_view bytes) override {
      if (disk.dead) return false;
      for (size_t i = 0; i < bytes.size(); ++i) {
        if (offset + i >= disk.files[path].size() && !SetLength(offset + i + 1)) return false;
        disk.files[path][offset + i] = bytes[i];
      }
      disk.unflushed.insert(path);
      return true;
    }
    // A sparse disk says yes and takes the room only as the file is written.
    bool Reserve(uint64_t size) override { return disk.sparse || size <= disk.files[path].size() || SetLength(size); }
    bool SetLength(uint64_t size) override {
      std::string& f = disk.files[path];
      if (disk.dead) return false;
      if (size > f.size() + disk.room) {
        disk.dead = disk.dieWhenFull;
        return false;
      }
      disk.room = disk.room + f.size() - size;
      f.resize(size);
      return true;
    }
    bool Flush() override { return disk.unflushed.erase(path), true; }
    bool Close() override {
      if (closed) return false;
      closed = true;
      --disk.open[path];
      return true;
    }
    FailingDisk& disk;
    std::string path;
    bool closed = false;
  };
  bool Exists(const std::string& path) override { return files.count(path) != 0; }
  bool Read(const std::string& path, std::string& bytes) override {
    if (!files.count(path)) return false;
    bytes = files[path];
    return true;
  }
  std::unique_ptr<WritableFile> Create(const std::string& path, bool mustBeNew) override {
    if (dead || (noNewFiles && !files.count(path)) || (mustBeNew && files.count(path))) return nullptr;
    room += files[path].size();
    files[path].clear();
    return std::make_unique<File>(*this, path);
  }
  std::unique_ptr<WritableFile> OpenExisting(const std::string& path) override {
    return files.count(path) && !dead ? std::make_unique<File>(*this, path) : nullptr;
  }
  bool Delete(const std::string& path) override {
    if (open[path] > 0 || !files.count(path)) return false;
    room += files[path].size();
    files.erase(path);
    return true;
  }
  bool MoveOver(const std::string& from, const std::string& to) override {
    if (open[from] > 0 || !files.count(from)) return false;
    room += files[to].size();
    files[to] = files[from];
    files.erase(from);
    if (unflushed.erase(from)) unflushed.insert(to);
    return true;
  }
  std::string LastError() override { return "disk says no"; }

  std::map<std::string, std::string> files;
  std::map<std::string, int> open;
  std::set<std::string> unflushed;  // written since their last flush: lost if the power goes
  uint64_t room = 1 << 20;
  bool noNewFiles = false, sparse = false, dieWhenFull = false, dead = false;
};

TEST(FailingDiskTest, AFullDiskNeverCutsTheFileShortNorLeavesAHalfWrittenFile) {
  const std::string ini = "Corvid.ini", old = "[Keys]\r\nA=1\r\n[MyOwnMap]\r\nB=2\r\n";
  const std::string larger = "[Keys]\r\nA=1\r\n[App-2]\r\nAutoStart=0\r\n[MyOwnMap]\r\nB=2\r\n";
  std::string why;
  // Bits of the mode: 1 in place (no new file can be made), 2 a sparse disk, 4 killed the moment it says no.
  for (int mode : {0, 1, 2, 3, 5}) {
    SCOPED_TRACE(mode);
    FailingDisk disk;
    disk.files[ini] = old;
    disk.noNewFiles = mode & 1;
    if (!disk.noNewFiles) disk.files[ini + ".new"] = "debris of a save that was killed";
    disk.sparse = mode & 2;
    disk.dieWhenFull = mode & 4;
    disk.room = 10;  // less than the file grows by
    EXPECT_FALSE(ReplaceFileBytes(disk, ini, larger, why));
    EXPECT_FALSE(why.empty());
    // Every byte the user had (killed: the room was taken first); the new file closed, then deleted.
    EXPECT_EQ(disk.files, (std::map<std::string, std::string>{{ini, old}}));
    if (disk.dead) continue;
    disk.room = 1 << 20;
    EXPECT_TRUE(ReplaceFileBytes(disk, ini, larger, why)) << why;
    EXPECT_EQ(disk.files[ini], larger);
    EXPECT_TRUE(ReplaceFileBytes(disk, ini, "short", why)) << why;
    EXPECT_EQ(disk.files, (std::map<std::string, std::string>{{ini, "short"}}));
    EXPECT_TRUE(disk.unflushed.empty());
  }
}

TEST(FailingDiskTest, ACopyThatFailsIsRemovedAndACopyCutShortIsMadeWhole) {
  FailingDisk disk;
  const std::string bytes(100, 'x');
  disk.files["Corvid.ini"] = bytes;
  disk.room = 40;
  std::string why;
  EXPECT_FALSE(CopyFileBytes(disk, "Corvid.ini", "Corvid.ini.bad", why));
  EXPECT_EQ(disk.files.count("Corvid.ini.bad"), 0u);
  // Debris of a failed copy of these bytes is made whole; a backup stays.
  disk.room = 1 << 20;
  disk.files["Corvid.ini.bad"] = bytes.substr(0, 40);
  EXPECT_TRUE(CopyFileBytes(disk, "Corvid.ini", "Corvid.ini.bad", why)) << why;
  EXPECT_EQ(disk.files["Corvid.ini.bad"], bytes);
  disk.files["Corvid.ini.bad2"] = "a user's own backup";
  EXPECT_FALSE(CopyFileBytes(disk, "Corvid.ini", "Corvid.ini.bad2", why));
  EXPECT_EQ(disk.files["Corvid.ini.bad2"], "a user's own backup");
}

}  // namespace
}  // namespace corvid
