#include "config/file_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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

}  // namespace
}  // namespace corvid
