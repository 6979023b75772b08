#include "common/history_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

LockedHistoryFile::~LockedHistoryFile() { closeFile(); }

void LockedHistoryFile::closeFile() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

HistoryFile::Opened LockedHistoryFile::create() {
  closeFile();
  // No O_TRUNC here: the file is emptied only once it is known to be a regular file
  // and to be ours.
  int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) return {Outcome::kFailed, errno};

  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    int error = errno;
    ::close(fd);
    return {Outcome::kFailed, error};
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    return {Outcome::kNotRegularFile, 0};
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int error = errno;
    ::close(fd);
    return {error == EWOULDBLOCK ? Outcome::kHeldByAnother : Outcome::kFailed, error};
  }
  if (::ftruncate(fd, 0) != 0) {
    int error = errno;
    ::close(fd);
    return {Outcome::kFailed, error};
  }
  fd_ = fd;
  return {Outcome::kOpen, 0};
}

void LockedHistoryFile::append(std::string_view record) {
  if (fd_ < 0) return;
  while (!record.empty()) {
    ssize_t n = ::write(fd_, record.data(), record.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // a full disk loses the record; nothing else depends on it
    record.remove_prefix(static_cast<std::size_t>(n));
  }
}
