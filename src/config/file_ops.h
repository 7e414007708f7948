#pragma once
// The few operations on files that the settings file's writes are made of,
// so that how a save may fail (a full disk, a folder that takes no new file,
// a delete refused while the file is open) is decided in one portable place,
// and tested on a disk that fails on purpose.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace corvid {

class WritableFile {
 public:
  virtual ~WritableFile() = default;  // closes, if Close was not called
  // All of `bytes` at `offset`, or false.
  virtual bool WriteAt(uint64_t offset, std::string_view bytes) = 0;
  // The file grows to `size` with its room taken on the disk now, so that
  // writing up to `size` cannot run out of it; false when there is no room.
  virtual bool Reserve(uint64_t size) = 0;
  virtual bool SetLength(uint64_t size) = 0;
  virtual bool Flush() = 0;
  // A failing close is a failed write; closing again does nothing (false).
  virtual bool Close() = 0;
};

class FileOps {
 public:
  virtual ~FileOps() = default;
  virtual bool Exists(const std::string& path) = 0;
  virtual bool Read(const std::string& path, std::string& bytes) = 0;
  // Null when the file cannot be made (`mustBeNew`: nor when it exists).
  virtual std::unique_ptr<WritableFile> Create(const std::string& path, bool mustBeNew) = 0;
  virtual std::unique_ptr<WritableFile> OpenExisting(const std::string& path) = 0;
  virtual bool Delete(const std::string& path) = 0;
  // Moves `from` over `to` in one step, through to the disk.
  virtual bool MoveOver(const std::string& from, const std::string& to) = 0;
  // The system's word for the last failure, for the reason a user is told.
  virtual std::string LastError() = 0;
};

// A new file beside `target`, put on the disk and moved over it: after a
// crash the file is the old one or the new one. When no file can be made
// beside it, the file is written in place, but only with its room taken
// first; a write that fails all the same puts the old bytes back. False,
// with a reason, when refused; nothing half-written is left behind.
bool ReplaceFileBytes(FileOps& ops, const std::string& target, const std::string& bytes, std::string& why);
// The in-place part alone: the room taken first, the old bytes put back when
// a write fails all the same.
bool WriteFileInPlace(FileOps& ops, const std::string& target, const std::string& bytes, std::string& why);
// A copy of `from` as the new file `to`, put on the disk; a copy that could
// not be made whole is removed. An earlier copy of `from` that a failed
// write cut short (a strict beginning of its bytes) is debris, not a
// backup: it is made whole instead of refused.
bool CopyFileBytes(FileOps& ops, const std::string& from, const std::string& to, std::string& why);

}  // namespace corvid
