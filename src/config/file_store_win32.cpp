#include "config/file_store_win32.h"

#include <windows.h>

#include <algorithm>

#include "base/text_win32.h"

namespace corvid {
namespace {

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (Valid()) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  HANDLE Get() const { return h_; }
  // A failing close is a failed write.
  bool Close() {
    const bool ok = CloseHandle(h_) != FALSE;
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

std::string Reason(const char* what) {
  return std::string(what) + " (error " + std::to_string(GetLastError()) + ")";
}

// All of `bytes` into an open file, then onto the disk.
bool WriteAndFlush(Handle& f, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(f.Get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return FlushFileBuffers(f.Get()) && f.Close();
}

// The file a link points to, so the link stays a link.
std::wstring FinalPath(const std::wstring& path) {
  Handle f(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!f.Valid()) return path;
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
  Handle f(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Valid()) return false;
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
  // A link whose target could not be named is written through in place,
  // so it stays a link.
  const bool unresolvedLink = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  const std::wstring temp = target + L".new";
  if (!unresolvedLink) {
    Handle f(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (f.Valid()) {
      if (!WriteAndFlush(f, bytes)) {
        why = Reason("the disk refused the data (full?)");
        DeleteFileW(temp.c_str());
        return false;
      }
      if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
      why = Reason("cannot replace the file");
      DeleteFileW(temp.c_str());
      return false;
    }
  }
  // No new file can be made beside it (a read-only folder with a writable
  // file): the file itself is written, flushed, and cut to its new length.
  Handle f(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Valid()) {
    why = Reason("cannot write in the folder");
    return false;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    if (!WriteFile(f.Get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) {
      why = Reason("the disk refused the data (full?)");
      return false;
    }
    done += written;
  }
  if (!SetEndOfFile(f.Get()) || !FlushFileBuffers(f.Get()) || !f.Close()) {
    why = Reason("the disk refused the data (full?)");
    return false;
  }
  return true;
}

bool Win32FileStore::CopyNew(const std::string& from, const std::string& to, std::string& why) {
  std::string bytes;
  if (!Read(from, bytes)) {
    why = Reason("cannot read the file");
    return false;
  }
  const std::wstring copy = Widen(to);
  Handle f(CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Valid()) {
    why = Reason("cannot create the copy");
    return false;
  }
  if (!WriteAndFlush(f, bytes)) {
    why = Reason("the disk refused the copy (full?)");
    DeleteFileW(copy.c_str());
    return false;
  }
  return true;
}

void Win32FileStore::CreateFolder(const std::string& path) {
  CreateDirectoryW(Widen(path).c_str(), nullptr);  // one level; failure is not reported
}

}  // namespace corvid
