#include "config/file_store.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace corvid {
namespace fs = std::filesystem;
namespace {

fs::path PathOf(const std::string& utf8) {
  return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

// Writes all of `bytes` to a file opened with `mode`; a failing close is a
// failed write.
bool WriteWhole(const fs::path& path, const char* mode, const std::string& bytes) {
  std::FILE* f = std::fopen(path.string().c_str(), mode);
  if (!f) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && std::fflush(f) == 0;
  const bool closed = std::fclose(f) == 0;
  return written && closed;
}

}  // namespace

bool DiskFileStore::Exists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(PathOf(path), ec);
}

int64_t DiskFileStore::Size(const std::string& path) {
  std::error_code ec;
  const auto n = fs::file_size(PathOf(path), ec);
  return ec ? -1 : static_cast<int64_t>(n);
}

bool DiskFileStore::Read(const std::string& path, std::string& bytes) {
  std::FILE* f = std::fopen(PathOf(path).string().c_str(), "rb");
  if (!f) return false;
  bytes.clear();
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

bool DiskFileStore::Replace(const std::string& path, const std::string& bytes, std::string& why) {
  std::error_code ec;
  fs::path target = PathOf(path);
  // A link stays a link: the file it points to is replaced.
  if (fs::is_symlink(target, ec)) {
    const fs::path real = fs::canonical(target, ec);
    if (!ec) target = real;
  }
  if (fs::exists(target, ec)) {
    const fs::perms p = fs::status(target, ec).permissions();
    if (!ec && (p & fs::perms::owner_write) == fs::perms::none) {
      why = "the file is read-only";
      return false;
    }
  }
  fs::path temp = target;
  temp += ".new";
  if (WriteWhole(temp, "wb", bytes)) {
    fs::rename(temp, target, ec);
    if (!ec) return true;
    fs::remove(temp, ec);
    why = "cannot replace the file";
    return false;
  }
  fs::remove(temp, ec);
  // No new file can be made beside it (a read-only folder): the file itself
  // is written, when it can be.
  if (fs::exists(target, ec) && WriteWhole(target, "r+b", bytes)) {
    fs::resize_file(target, bytes.size(), ec);
    if (!ec) return true;
  }
  why = "the disk refused the data (full, or the folder is read-only?)";
  return false;
}

bool DiskFileStore::CopyNew(const std::string& from, const std::string& to, std::string& why) {
  std::error_code ec;
  if (fs::exists(PathOf(to), ec)) {
    why = "a file of that name exists";
    return false;
  }
  std::string bytes;
  if (!Read(from, bytes)) {
    why = "cannot read the file";
    return false;
  }
  if (!WriteWhole(PathOf(to), "wb", bytes)) {
    fs::remove(PathOf(to), ec);
    why = "the disk refused the copy (full?)";
    return false;
  }
  return true;
}

void DiskFileStore::CreateFolder(const std::string& path) {
  std::error_code ec;
  fs::create_directory(PathOf(path), ec);  // one level; failure is not reported
}

}  // namespace corvid
