#include "config/file_store.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace corvid {
namespace fs = std::filesystem;
namespace {

fs::path PathOf(const std::string& utf8) {
  return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

}  // namespace

bool DiskFileStore::Exists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(PathOf(path), ec);
}

bool DiskFileStore::Read(const std::string& path, std::string& bytes) {
  std::ifstream in(PathOf(path), std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  bytes = ss.str();
  return !in.bad();
}

bool DiskFileStore::Replace(const std::string& path, const std::string& bytes, std::string& why) {
  const fs::path target = PathOf(path);
  std::error_code ec;
  if (fs::exists(target, ec)) {
    const fs::perms p = fs::status(target, ec).permissions();
    if (!ec && (p & fs::perms::owner_write) == fs::perms::none) {
      why = "the file is read-only";
      return false;
    }
  }
  fs::path temp = target;
  temp += ".new";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
      why = "cannot create a file in the folder";
      return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      fs::remove(temp, ec);
      why = "the disk refused the data (full?)";
      return false;
    }
  }
  fs::rename(temp, target, ec);
  if (ec) {
    fs::remove(temp, ec);
    why = "cannot replace the file";
    return false;
  }
  return true;
}

bool DiskFileStore::Rename(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::rename(PathOf(from), PathOf(to), ec);
  return !ec;
}

void DiskFileStore::CreateFolder(const std::string& path) {
  std::error_code ec;
  fs::create_directory(PathOf(path), ec);  // one level; failure is not reported
}

}  // namespace corvid
