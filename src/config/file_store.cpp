#include "config/file_store.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "config/file_ops.h"

namespace corvid {
namespace fs = std::filesystem;
namespace {

fs::path PathOf(const std::string& utf8) {
  return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

bool ReadWhole(const std::string& path, std::string& bytes) {
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

// C streams: the tools' and tests' disk.
class StreamFile : public WritableFile {
 public:
  StreamFile(std::FILE* f, fs::path path) : f_(f), path_(std::move(path)) {}
  ~StreamFile() override {
    if (f_) std::fclose(f_);
  }
  bool WriteAt(uint64_t offset, std::string_view bytes) override {
    return std::fseek(f_, static_cast<long>(offset), SEEK_SET) == 0 &&
           std::fwrite(bytes.data(), 1, bytes.size(), f_) == bytes.size();
  }
  bool Reserve(uint64_t size) override {
    // Zeros written past the end take the room for real, and touch none of
    // the bytes the file holds.
    if (std::fseek(f_, 0, SEEK_END) != 0) return false;
    const long have = std::ftell(f_);
    return have >= 0 && (size <= static_cast<uint64_t>(have) ||
                         (WriteAt(static_cast<uint64_t>(have), std::string(size - have, '\0')) && Flush()));
  }
  bool SetLength(uint64_t size) override {
    if (std::fflush(f_) != 0) return false;
    std::error_code ec;
    fs::resize_file(path_, size, ec);
    return !ec;
  }
  bool Flush() override { return std::fflush(f_) == 0; }
  bool Close() override {
    if (!f_) return false;
    const bool ok = std::fclose(f_) == 0;
    f_ = nullptr;
    return ok;
  }

 private:
  std::FILE* f_;
  fs::path path_;
};

class StreamOps : public FileOps {
 public:
  bool Exists(const std::string& path) override {
    std::error_code ec;
    return fs::is_regular_file(PathOf(path), ec);
  }
  bool Read(const std::string& path, std::string& bytes) override { return ReadWhole(path, bytes); }
  std::unique_ptr<WritableFile> Create(const std::string& path, bool mustBeNew) override {
    if (mustBeNew && Exists(path)) return nullptr;
    std::FILE* f = std::fopen(PathOf(path).string().c_str(), "wb");
    return f ? std::make_unique<StreamFile>(f, PathOf(path)) : nullptr;
  }
  std::unique_ptr<WritableFile> OpenExisting(const std::string& path) override {
    std::FILE* f = std::fopen(PathOf(path).string().c_str(), "r+b");
    return f ? std::make_unique<StreamFile>(f, PathOf(path)) : nullptr;
  }
  bool Delete(const std::string& path) override {
    std::error_code ec;
    return fs::remove(PathOf(path), ec);
  }
  bool MoveOver(const std::string& from, const std::string& to) override {
    std::error_code ec;
    fs::rename(PathOf(from), PathOf(to), ec);
    return !ec;
  }
  std::string LastError() override { return {}; }
};

std::string Reason(FileOps& ops, const char* what) {
  const std::string error = ops.LastError();
  return error.empty() ? std::string(what) : std::string(what) + " (" + error + ")";
}

// Closed before it is deleted: an open file cannot be deleted on Windows.
void Discard(FileOps& ops, std::unique_ptr<WritableFile>& f, const std::string& path) {
  if (f) f->Close();
  f.reset();
  ops.Delete(path);
}

}  // namespace

bool WriteFileInPlace(FileOps& ops, const std::string& target, const std::string& bytes, std::string& why) {
  std::string old;
  std::unique_ptr<WritableFile> f = ops.Read(target, old) ? ops.OpenExisting(target) : nullptr;
  if (!f) {
    why = Reason(ops, "cannot write in the folder");
    return false;
  }
  if (bytes.size() > old.size() && !f->Reserve(bytes.size())) {
    f->SetLength(old.size());
    f->Close();
    why = Reason(ops, "no room on the disk for the larger file; nothing was written");
    return false;
  }
  if (f->WriteAt(0, bytes) && f->SetLength(bytes.size()) && f->Flush() && f->Close()) return true;
  why = Reason(ops, "the disk refused the data (full?)");
  // The old bytes fit where they were.
  f->Close();
  f = ops.OpenExisting(target);
  const bool restored = f && f->WriteAt(0, old) && f->SetLength(old.size()) && f->Flush() && f->Close();
  why += restored ? "; the file was put back as it was" : "; the file could not be put back";
  return false;
}

bool ReplaceFileBytes(FileOps& ops, const std::string& target, const std::string& bytes, std::string& why) {
  const std::string temp = target + ".new";
  if (std::unique_ptr<WritableFile> f = ops.Create(temp, false)) {
    if (!f->WriteAt(0, bytes) || !f->Flush() || !f->Close()) {
      why = Reason(ops, "the disk refused the data (full?)");
      Discard(ops, f, temp);
      return false;
    }
    if (ops.MoveOver(temp, target)) return true;
    why = Reason(ops, "cannot replace the file");
    ops.Delete(temp);
    return false;
  }
  // No new file can be made beside it (a read-only folder with a writable
  // file, or no free entry on the disk).
  return WriteFileInPlace(ops, target, bytes, why);
}

bool CopyFileBytes(FileOps& ops, const std::string& from, const std::string& to, std::string& why) {
  std::string bytes;
  if (!ops.Read(from, bytes)) {
    why = Reason(ops, "cannot read the file");
    return false;
  }
  std::string earlier;
  const bool debris = ops.Exists(to) && ops.Read(to, earlier) && earlier.size() < bytes.size() &&
                      bytes.compare(0, earlier.size(), earlier) == 0;
  std::unique_ptr<WritableFile> f = ops.Create(to, !debris);
  if (!f) {
    why = Reason(ops, ops.Exists(to) ? "a file of that name exists" : "cannot create the copy");
    return false;
  }
  if (!f->WriteAt(0, bytes) || !f->Flush() || !f->Close()) {
    why = Reason(ops, "the disk refused the copy (full?)");
    Discard(ops, f, to);
    return false;
  }
  return true;
}

bool DiskFileStore::Exists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(PathOf(path), ec);
}

int64_t DiskFileStore::Size(const std::string& path) {
  std::error_code ec;
  const auto n = fs::file_size(PathOf(path), ec);
  return ec ? -1 : static_cast<int64_t>(n);
}

bool DiskFileStore::Read(const std::string& path, std::string& bytes) { return ReadWhole(path, bytes); }

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
  StreamOps ops;
  const std::u8string t = target.u8string();
  return ReplaceFileBytes(ops, std::string(t.begin(), t.end()), bytes, why);
}

bool DiskFileStore::CopyNew(const std::string& from, const std::string& to, std::string& why) {
  StreamOps ops;
  return CopyFileBytes(ops, from, to, why);
}

void DiskFileStore::CreateFolder(const std::string& path) {
  std::error_code ec;
  fs::create_directory(PathOf(path), ec);  // one level; failure is not reported
}

}  // namespace corvid
