#include "config/file_store_win32.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string_view>

#include "base/handles_win32.h"
#include "base/text_win32.h"
#include "config/file_ops.h"

namespace corvid {
namespace {

// An open file of the Win32 disk, opened without sharing.
class Win32File : public WritableFile {
 public:
  explicit Win32File(UniqueHandle h) : h_(std::move(h)) {}
  bool WriteAt(uint64_t offset, std::string_view bytes) override {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(h_.Get(), at, nullptr, FILE_BEGIN)) return false;
    size_t done = 0;
    while (done < bytes.size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
      DWORD written = 0;
      if (!WriteFile(h_.Get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
      done += written;
    }
    return true;
  }
  bool Reserve(uint64_t size) override {
    // Zeros written past the end take the room for real (a longer length
    // alone may be sparse), and touch none of the bytes the file holds.
    LARGE_INTEGER now;
    if (!GetFileSizeEx(h_.Get(), &now)) return false;
    const uint64_t have = static_cast<uint64_t>(now.QuadPart);
    return size <= have || (WriteAt(have, std::string(size - have, '\0')) && Flush());
  }
  bool SetLength(uint64_t size) override {
    FILE_END_OF_FILE_INFO end;
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    return SetFileInformationByHandle(h_.Get(), FileEndOfFileInfo, &end, sizeof end) != FALSE;
  }
  bool Flush() override { return FlushFileBuffers(h_.Get()) != FALSE; }
  // A failing close is a failed write.
  bool Close() override { return h_ && h_.Close(); }

 private:
  UniqueHandle h_;
};

class Win32Ops : public FileOps {
 public:
  explicit Win32Ops(Win32FileStore& store) : store_(store) {}
  bool Exists(const std::string& path) override { return store_.Exists(path); }
  bool Read(const std::string& path, std::string& bytes) override { return store_.Read(path, bytes); }
  std::unique_ptr<WritableFile> Create(const std::string& path, bool mustBeNew) override {
    return Open(path, mustBeNew ? CREATE_NEW : CREATE_ALWAYS);
  }
  std::unique_ptr<WritableFile> OpenExisting(const std::string& path) override { return Open(path, OPEN_EXISTING); }
  bool Delete(const std::string& path) override { return DeleteFileW(Widen(path).c_str()) != FALSE; }
  bool MoveOver(const std::string& from, const std::string& to) override {
    return MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
           FALSE;
  }
  std::string LastError() override { return "error " + std::to_string(GetLastError()); }

 private:
  std::unique_ptr<WritableFile> Open(const std::string& path, DWORD how) {
    UniqueHandle h(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, how, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) return nullptr;
    return std::make_unique<Win32File>(std::move(h));
  }
  Win32FileStore& store_;
};

// The file a link points to, so the link stays a link.
std::wstring FinalPath(const std::wstring& path) {
  const UniqueHandle f(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!f) return path;
  wchar_t buf[MAX_PATH * 4];
  const DWORD n = GetFinalPathNameByHandleW(f.Get(), buf, MAX_PATH * 4, FILE_NAME_NORMALIZED);
  if (n == 0 || n >= MAX_PATH * 4) return path;
  std::wstring real(buf, n);
  if (real.rfind(L"\\\\?\\UNC\\", 0) == 0) real = L"\\\\" + real.substr(8);
  else if (real.rfind(L"\\\\?\\", 0) == 0) real = real.substr(4);
  return real;
}

}  // namespace

bool Win32FileStore::Exists(const std::string& path) {
  const DWORD a = GetFileAttributesW(Widen(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

int64_t Win32FileStore::Size(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &d) ||
      (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return -1;
  return (static_cast<int64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

bool Win32FileStore::Read(const std::string& path, std::string& bytes) {
  const UniqueHandle f(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return false;
  bytes.clear();
  char buf[65536];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(f.Get(), buf, sizeof buf, &n, nullptr)) return false;
    if (n == 0) return true;
    bytes.append(buf, n);
  }
}

bool Win32FileStore::Replace(const std::string& path, const std::string& bytes, std::string& why) {
  const std::wstring target = FinalPath(Widen(path));
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    why = "the file is read-only";
    return false;
  }
  Win32Ops ops(*this);
  // A link whose target could not be named is written through in place,
  // so it stays a link.
  const bool unresolvedLink = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  if (unresolvedLink) return WriteFileInPlace(ops, Narrow(target), bytes, why);
  return ReplaceFileBytes(ops, Narrow(target), bytes, why);
}

bool Win32FileStore::CopyNew(const std::string& from, const std::string& to, std::string& why) {
  Win32Ops ops(*this);
  return CopyFileBytes(ops, from, to, why);
}

void Win32FileStore::CreateFolder(const std::string& path) {
  CreateDirectoryW(Widen(path).c_str(), nullptr);  // one level; failure is not reported
}

}  // namespace corvid
