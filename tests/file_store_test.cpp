#include "config/file_store.h"

#include <gtest/gtest.h>

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

class DiskFileStoreTest : public ::testing::Test {
 protected:
  DiskFileStoreTest() : dir_(fs::temp_directory_path() / ("corvid-files-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()))) {
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  ~DiskFileStoreTest() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, ec);
    fs::remove_all(dir_, ec);
  }
  std::string At(const char* name) const { return (dir_ / name).string(); }
  std::string Contents(const std::string& path) {
    std::string bytes;
    files_.Read(path, bytes);
    return bytes;
  }
  fs::path dir_;
  DiskFileStore files_;
};

TEST_F(DiskFileStoreTest, ReplaceWritesThroughALinkAndCopiesAreNewFilesOnly) {
  const std::string real = At("real.ini"), link = At("Corvid.ini");
  std::ofstream(real) << "old";
  std::error_code ec;
  fs::create_symlink(real, link, ec);
  if (ec) GTEST_SKIP() << "no links here: " << ec.message();
  std::string why;
  ASSERT_TRUE(files_.Replace(link, "new", why)) << why;
  EXPECT_TRUE(fs::is_symlink(link));  // still the user's link
  EXPECT_EQ(Contents(real), "new");
  EXPECT_EQ(files_.Size(link), 3);

  ASSERT_TRUE(files_.CopyNew(link, At("Corvid.ini.bad"), why)) << why;
  EXPECT_EQ(Contents(At("Corvid.ini.bad")), "new");
  EXPECT_FALSE(files_.CopyNew(link, At("Corvid.ini.bad"), why));  // never over an earlier copy
  EXPECT_FALSE(files_.CopyNew(At("missing"), At("x"), why));
  EXPECT_EQ(files_.Size(At("missing")), -1);
}

TEST_F(DiskFileStoreTest, AReadOnlyFolderWithAWritableFileIsWrittenInPlace) {
  const std::string path = At("Corvid.ini");
  std::ofstream(path) << "a longer old content";
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  std::string why;
  if (std::ofstream(At("probe"))) GTEST_SKIP() << "this user writes into read-only folders";
  ASSERT_TRUE(files_.Replace(path, "short", why)) << why;
  EXPECT_EQ(Contents(path), "short");
}

// A disk that fails as real ones do: it fills up after `room` more bytes
// (a write stops part-way), may take no new file (an existing name can be
// written anew), and refuses to delete a file that is still open, as Windows
// does with a file opened unshared. With `dieWhenFull`, nothing more happens
// once it has said no, as if Corvid were killed right then.
class FailingDisk : public FileOps {
 public:
  struct Stored {
    std::string bytes;
    uint64_t allocated = 0;  // bytes with room on the disk
  };
  struct File : WritableFile {
    File(FailingDisk& d, std::string p) : disk(d), path(std::move(p)) { ++disk.open[path]; }
    ~File() override { Close(); }
    bool WriteAt(uint64_t offset, std::string_view bytes) override {
      if (disk.dead) return false;
      Stored& f = disk.files[path];
      for (size_t i = 0; i < bytes.size(); ++i) {
        const uint64_t at = offset + i;
        if (at >= f.allocated) {
          if (disk.room == 0) return disk.SaysNo();
          --disk.room;
          f.allocated = at + 1;
        }
        if (at >= f.bytes.size()) f.bytes.resize(at + 1);
        f.bytes[at] = bytes[i];
      }
      disk.unflushed.insert(path);
      return true;
    }
    bool Reserve(uint64_t size) override {
      if (disk.dead) return false;
      Stored& f = disk.files[path];
      if (!disk.sparse && size > f.allocated) {
        if (size - f.allocated > disk.room) return disk.SaysNo();
        disk.room -= size - f.allocated;
        f.allocated = size;
      }
      return SetLength(size);
    }
    bool SetLength(uint64_t size) override {
      if (disk.dead) return false;
      Stored& f = disk.files[path];
      f.bytes.resize(size);
      if (f.allocated > size) {
        disk.room += f.allocated - size;
        f.allocated = size;
      }
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
  bool SaysNo() {
    dead = dieWhenFull;
    return false;
  }
  void Put(const std::string& path, const std::string& bytes) { files[path] = {bytes, bytes.size()}; }
  std::string Bytes(const std::string& path) { return files.count(path) ? files[path].bytes : "<none>"; }
  bool Exists(const std::string& path) override { return files.count(path) != 0; }
  bool Read(const std::string& path, std::string& bytes) override {
    if (!files.count(path)) return false;
    bytes = files[path].bytes;
    return true;
  }
  std::unique_ptr<WritableFile> Create(const std::string& path, bool mustBeNew) override {
    if (dead || (noNewFiles && !files.count(path)) || (mustBeNew && files.count(path))) return nullptr;
    if (files.count(path)) room += files[path].allocated;
    files[path] = {};
    return std::make_unique<File>(*this, path);
  }
  std::unique_ptr<WritableFile> OpenExisting(const std::string& path) override {
    return files.count(path) && !dead ? std::make_unique<File>(*this, path) : nullptr;
  }
  bool Delete(const std::string& path) override {
    if (open[path] > 0 || !files.count(path)) return false;
    room += files[path].allocated;
    files.erase(path);
    return true;
  }
  bool MoveOver(const std::string& from, const std::string& to) override {
    if (open[from] > 0 || !files.count(from)) return false;
    if (files.count(to)) room += files[to].allocated;
    files[to] = files[from];
    files.erase(from);
    if (unflushed.erase(from)) unflushed.insert(to);
    return true;
  }
  std::string LastError() override { return "disk says no"; }

  std::map<std::string, Stored> files;
  std::map<std::string, int> open;
  std::set<std::string> unflushed;  // written since their last flush: lost if the power goes
  uint64_t room = 1 << 20;
  bool noNewFiles = false;
  bool sparse = false;  // a grown file takes its room only as it is written
  bool dieWhenFull = false, dead = false;
};

TEST(FailingDiskTest, AFullDiskNeverCutsTheFileShortNorLeavesAHalfWrittenFile) {
  const std::string ini = "Corvid.ini", old = "[Keys]\r\nA=1\r\n[MyOwnMap]\r\nB=2\r\n";
  const std::string larger = "[Keys]\r\nA=1\r\n[App-2]\r\nAutoStart=0\r\n[MyOwnMap]\r\nB=2\r\n";
  std::string why;
  for (bool noNewFiles : {false, true}) {
    for (bool sparse : {false, true}) {
      FailingDisk disk;
      disk.Put(ini, old);
      disk.Put(ini + ".new", "debris of a save that was killed");
      disk.noNewFiles = noNewFiles;
      disk.sparse = sparse;
      disk.room = 10;  // less than the file grows by
      SCOPED_TRACE(std::string(noNewFiles ? "in place" : "new file") + (sparse ? ", sparse" : ""));
      EXPECT_FALSE(ReplaceFileBytes(disk, ini, larger, why));
      EXPECT_FALSE(why.empty());
      EXPECT_EQ(disk.Bytes(ini), old);              // every byte the user had
      EXPECT_EQ(disk.files.count(ini + ".new"), 0u);  // closed, then deleted
      EXPECT_EQ(disk.files.size(), 1u);
      // With room, the same save goes through, in place or not.
      disk.room = 1 << 20;
      EXPECT_TRUE(ReplaceFileBytes(disk, ini, larger, why)) << why;
      EXPECT_EQ(disk.Bytes(ini), larger);
      EXPECT_TRUE(ReplaceFileBytes(disk, ini, "short", why)) << why;
      EXPECT_EQ(disk.Bytes(ini), "short");
      EXPECT_TRUE(disk.unflushed.empty());
      EXPECT_EQ(disk.files.size(), 1u);
    }
  }
  // Killed the moment the disk says no, in place: the room was taken before
  // any byte of the file was overwritten, so the file is whole already.
  FailingDisk disk;
  disk.Put(ini, old);
  disk.noNewFiles = disk.dieWhenFull = true;
  disk.room = 10;
  EXPECT_FALSE(ReplaceFileBytes(disk, ini, larger, why));
  EXPECT_EQ(disk.Bytes(ini), old);
}

TEST(FailingDiskTest, ACopyThatFailsIsRemovedAndACopyCutShortIsMadeWhole) {
  FailingDisk disk;
  const std::string bytes(100, 'x');
  disk.Put("Corvid.ini", bytes);
  disk.room = 40;
  std::string why;
  EXPECT_FALSE(CopyFileBytes(disk, "Corvid.ini", "Corvid.ini.bad", why));
  EXPECT_EQ(disk.files.count("Corvid.ini.bad"), 0u);
  // Debris of a failed copy of these very bytes is made whole; any other
  // file of that name is a backup and stays.
  disk.room = 1 << 20;
  disk.Put("Corvid.ini.bad", bytes.substr(0, 40));
  EXPECT_TRUE(CopyFileBytes(disk, "Corvid.ini", "Corvid.ini.bad", why)) << why;
  EXPECT_EQ(disk.Bytes("Corvid.ini.bad"), bytes);
  disk.Put("Corvid.ini.bad2", "a user's own backup");
  EXPECT_FALSE(CopyFileBytes(disk, "Corvid.ini", "Corvid.ini.bad2", why));
  EXPECT_EQ(disk.Bytes("Corvid.ini.bad2"), "a user's own backup");
}

TEST_F(DiskFileStoreTest, AStartKeepsTheUnusableFileInPlaceOfACopyAFailedStartCutShort) {
  const std::string path = At("Corvid.ini"), bytes = "[System]\r\nMesColorBg=black\r\n";
  std::ofstream(path, std::ios::binary) << bytes;
  std::ofstream(path + ".bad", std::ios::binary) << bytes.substr(0, 12);
  ConfigData data;
  RecordingBoxes boxes;
  const StartupReport r = StartUpSettings(data, (dir_ / "").string(), files_, boxes, 1920, 1080);
  EXPECT_EQ(r.outcome, StartupOutcome::Rebuilt);
  EXPECT_EQ(r.keptAs, path + ".bad");
  EXPECT_EQ(Contents(path + ".bad"), bytes);
  EXPECT_FALSE(fs::exists(path + ".bad2"));
}

}  // namespace
}  // namespace corvid
