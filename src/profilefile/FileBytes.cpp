#include "profilefile/FileBytes.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <random>
#include <thread>

namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(put));
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string FollowLink(const std::string& file) {
  struct stat st {};
  if (::lstat(file.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return file;
  char* real = ::realpath(file.c_str(), nullptr);
  if (!real) return file;  // a dangling link is replaced by the new file
  std::string resolved(real);
  std::free(real);
  return resolved;
}

// A temporary file of our own beside target: as mkstemp(3) makes one, but created with the
// mode a new file gets, so the umask counts as for any file we create.
int CreateTemporary(const std::string& target, std::string* name) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  thread_local std::mt19937_64 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    *name = target + ".tmp-";
    for (int i = 0; i < 8; ++i) *name += kLetters[random() % (sizeof kLetters - 1)];
    const int fd = ::open(name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

FileLock::FileLock(const std::string& file, Mode mode, std::chrono::milliseconds wait) {
  if (file.empty()) {
    error_ = ENOENT;
    return;
  }
  const std::string lock = FollowLink(file) + ".lock";
  // A reader never makes the lock file: with none, no writer has ever held it.
  fd_ = mode == Exclusive ? ::open(lock.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666)
                          : ::open(lock.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd_ < 0) {
    error_ = errno;
    return;
  }
  // flock(2) has no timeout, so the lock is tried again after ever longer pauses.
  const auto deadline = std::chrono::steady_clock::now() + wait;
  std::chrono::microseconds pause{50};
  while (::flock(fd_, (mode == Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    error_ = errno;
    if (error_ != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
      ::close(fd_);
      fd_ = -1;
      return;
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::microseconds{2000});
  }
  error_ = 0;
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

std::optional<std::string> ReadFileBytes(const std::string& file, bool* missing) {
  *missing = false;
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT) return std::nullopt;
    *missing = true;
    return std::string();
  }
  std::string bytes;
  // A regular file's size is known, so one read asking a byte more than that fetches all of
  // it, and getting exactly that size means the end is reached without a second read.
  struct stat st {};
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  size_t chunk = regular ? static_cast<size_t>(st.st_size) + 1 : 65536;
  for (;;) {
    const size_t have = bytes.size();
    bytes.resize(have + chunk);
    const ssize_t got = ::read(fd, bytes.data() + have, chunk);
    if (got < 0) {
      bytes.resize(have);
      if (errno == EINTR) continue;
      const int saved = errno;
      ::close(fd);
      errno = saved;
      return std::nullopt;
    }
    bytes.resize(have + static_cast<size_t>(got));
    if (got == 0 || (regular && bytes.size() == static_cast<size_t>(st.st_size))) break;
    chunk = 65536;
  }
  ::close(fd);
  return bytes;
}

int ReplaceFileBytes(const std::string& file, std::string_view bytes) {
  const std::string target = FollowLink(file);
  struct stat old {};
  const bool existed = ::stat(target.c_str(), &old) == 0;
  // The rename would replace a file we may not write; root passes access(), not the mode.
  if (existed && ::access(target.c_str(), W_OK) != 0) return errno;
  if (existed && (old.st_mode & 0222) == 0) return EACCES;
  std::string temp;
  const int fd = CreateTemporary(target, &temp);
  if (fd < 0) return errno;
  int error = 0;
  if (existed) {
    // Run as root, the replacement would otherwise pass to root. Others may not give a
    // file away; for them the owner is already right, so a refusal is no failure.
    (void)!::fchown(fd, old.st_uid, old.st_gid);
    if (::fchmod(fd, old.st_mode & 07777) != 0) error = errno;
  }
  if (!error && !WriteAll(fd, bytes)) error = errno;
  if (!error && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && !error) error = errno;
  if (!error && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
  if (error) {
    ::unlink(temp.c_str());
    return error;
  }
  // The rename reaches the disk with the folder's entry.
  const int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return 0;
}
