#pragma once
// The settings file on a Windows disk: the new file is flushed to the disk
// before it is moved over the old one with write-through, so a power cut
// leaves the old file or the new one, never an empty or zeroed one.
#include "config/file_store.h"

namespace corvid {

class Win32FileStore : public FileStore {
 public:
  bool Exists(const std::string& path) override;
  int64_t Size(const std::string& path) override;
  bool Read(const std::string& path, std::string& bytes) override;
  bool Replace(const std::string& path, const std::string& bytes, std::string& why) override;
  bool CopyNew(const std::string& from, const std::string& to, std::string& why) override;
  void CreateFolder(const std::string& path) override;
};

}  // namespace corvid
