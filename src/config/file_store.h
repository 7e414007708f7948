#pragma once
// Whole-file reads and crash-safe replacement of the settings file.
#include <string>

namespace corvid {

class FileStore {
 public:
  virtual ~FileStore() = default;
  virtual bool Exists(const std::string& path) = 0;
  virtual bool Read(const std::string& path, std::string& bytes) = 0;
  // Writes a new file beside `path` and moves it over the old one in one
  // step: afterwards the file is either the old one or the new one. False
  // (with a reason) when refused; the old file is then untouched.
  virtual bool Replace(const std::string& path, const std::string& bytes, std::string& why) = 0;
  // Moves `from` to `to`, replacing `to`.
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  virtual void CreateFolder(const std::string& path) = 0;
};

// std::filesystem on every platform; paths are UTF-8.
class DiskFileStore : public FileStore {
 public:
  bool Exists(const std::string& path) override;
  bool Read(const std::string& path, std::string& bytes) override;
  bool Replace(const std::string& path, const std::string& bytes, std::string& why) override;
  bool Rename(const std::string& from, const std::string& to) override;
  void CreateFolder(const std::string& path) override;
};

}  // namespace corvid
