#pragma once
// The settings file's bytes on a disk: whole-file reads, replacement that
// leaves either the old file or the new one, and copies kept aside.
#include <cstdint>
#include <string>

namespace corvid {

class FileStore {
 public:
  virtual ~FileStore() = default;
  virtual bool Exists(const std::string& path) = 0;
  // Size in bytes; -1 when there is no such file.
  virtual int64_t Size(const std::string& path) = 0;
  virtual bool Read(const std::string& path, std::string& bytes) = 0;
  // Writes a new file beside `path` (beside the file a link points to),
  // puts it on the disk and moves it over the old one in one step: after a
  // crash or a power cut the file is the old one or the new one. False,
  // with a reason, when refused; the old file is then untouched.
  virtual bool Replace(const std::string& path, const std::string& bytes, std::string& why) = 0;
  // A copy of `from`, byte for byte, as the new file `to`, put on the disk.
  // False when `to` exists (unless it is an earlier copy that a failed write
  // cut short) or the copy could not be made whole; nothing half-made stays.
  virtual bool CopyNew(const std::string& from, const std::string& to, std::string& why) = 0;
  virtual void CreateFolder(const std::string& path) = 0;
};

// std::filesystem and C streams: the tools' and tests' disk. Replacement is
// atomic where the system's rename is; only the Win32 store also asks the
// disk to write through.
class DiskFileStore : public FileStore {
 public:
  bool Exists(const std::string& path) override;
  int64_t Size(const std::string& path) override;
  bool Read(const std::string& path, std::string& bytes) override;
  bool Replace(const std::string& path, const std::string& bytes, std::string& why) override;
  bool CopyNew(const std::string& from, const std::string& to, std::string& why) override;
  void CreateFolder(const std::string& path) override;
};

}  // namespace corvid
