#pragma once
// The settings file is in the system's ANSI code page, as files of earlier
// versions are (Japanese texts in Shift-JIS), unless it starts with a UTF-8
// byte-order mark. The core works in UTF-8; this store converts on the way
// in and out, and never silently drops a character the code page lacks.
#include <string>
#include <string_view>

#include "config/file_store.h"

namespace corvid {

class AnsiCodec {
 public:
  virtual ~AnsiCodec() = default;
  // False when `ansi` is not valid in the code page.
  virtual bool ToUtf8(std::string_view ansi, std::string& utf8) = 0;
  // False when some character of `utf8` has no form in the code page.
  virtual bool FromUtf8(std::string_view utf8, std::string& ansi) = 0;
};

class EncodedFileStore : public FileStore {
 public:
  EncodedFileStore(FileStore& inner, AnsiCodec& codec) : inner_(inner), codec_(codec) {}

  bool Exists(const std::string& path) override { return inner_.Exists(path); }
  // A file with a byte-order mark is passed on as it is; an ANSI file comes
  // back as UTF-8, or as its own bytes when the code page cannot read it.
  bool Read(const std::string& path, std::string& bytes) override;
  // UTF-8 text goes back to the code page; when the code page cannot hold a
  // character, the file is written as UTF-8 with a byte-order mark instead.
  bool Replace(const std::string& path, const std::string& bytes, std::string& why) override;
  bool Rename(const std::string& from, const std::string& to) override { return inner_.Rename(from, to); }
  void CreateFolder(const std::string& path) override { inner_.CreateFolder(path); }

 private:
  FileStore& inner_;
  AnsiCodec& codec_;
};

}  // namespace corvid
