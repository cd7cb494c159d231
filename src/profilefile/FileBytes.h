#pragma once

// Whole-file reads and atomic replacement under the profile file. Plain C++, no Qt.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

// The file's bytes. A missing file (or folder) gives "" and sets *missing; a file that
// exists but cannot be read (a folder, no permission) gives nothing, errno telling why.
std::optional<std::string> ReadFileBytes(const std::string& file, bool* missing);

// Replaces the file by bytes through a temporary file beside it, of a name no other writer
// uses (the file's name followed by ".tmp-" and eight random letters): written, flushed to disk and renamed over the file, so a reader sees the old
// file or the new one, never a part of either. The new file keeps the old one's
// permissions and owner (where the owner may be set). Returns 0, or the errno of the
// failure, with the old file untouched and the temporary file removed. A symbolic link
// is followed: the file it names is replaced and the link stays. A file we may not write,
// or that has no write permission for anyone, is refused with EACCES (or access()'s errno).
int ReplaceFileBytes(const std::string& file, std::string_view bytes);

// flock(2) on a lock file beside the file (where a link points; its name followed by
// ".lock"), held while this lives. Every process that writes the file through us takes
// it, so their read-modify-writes run one after the other. An exclusive lock makes the
// lock file when it is missing; a shared one does not, and goes without when there is none.
class FileLock {
 public:
  enum Mode { Shared, Exclusive };
  // Waits up to `wait` for the lock.
  FileLock(const std::string& file, Mode mode, std::chrono::milliseconds wait);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool held() const { return fd_ >= 0; }
  // Why it is not held: EWOULDBLOCK when another holds it still, else open(2)'s errno.
  int error() const { return error_; }

 private:
  int fd_ = -1;
  int error_ = 0;
};
