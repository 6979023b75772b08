#include "common/uucp_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace uucp {
namespace {

// Whether the bytes are a process id written as text: blanks, digits, then nothing
// but white space ("%10d\n", "107\n", "  1\n").
bool isTextPid(const char* bytes, std::size_t size) {
  std::size_t i = 0;
  while (i < size && bytes[i] == ' ') ++i;
  const std::size_t digitsFrom = i;
  while (i < size && bytes[i] >= '0' && bytes[i] <= '9') ++i;
  if (i == digitsFrom) return false;
  for (; i < size; ++i) {
    if (bytes[i] != ' ' && bytes[i] != '\n' && bytes[i] != '\r' && bytes[i] != '\t') return false;
  }
  return true;
}

// The process id in a lock file: ASCII digits (leading blanks allowed), or the four
// raw bytes of an int that old programs wrote. Text is looked for first, so a short
// pid with its line end ("107\n", four bytes too) is never taken for a binary one.
// 0 when there is none to be read.
pid_t readPid(const std::filesystem::path& lockFile, bool& present) {
  present = false;
  int fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) {
    // One we may not read is left alone: its holder cannot be told, so it is not stale.
    present = errno != ENOENT;
    return errno == ENOENT ? 0 : -1;
  }
  present = true;
  char buffer[32] = {};
  ssize_t n;
  do {
    n = ::read(fd, buffer, sizeof buffer - 1);
  } while (n < 0 && errno == EINTR);
  ::close(fd);
  if (n <= 0) return 0;
  const std::size_t size = static_cast<std::size_t>(n);
  if (size == sizeof(int) && !isTextPid(buffer, size)) {
    int binary = 0;
    std::memcpy(&binary, buffer, sizeof binary);
    return binary > 0 ? binary : 0;
  }
  char* end = nullptr;
  long pid = std::strtol(buffer, &end, 10);
  if (end == buffer || pid <= 0 || pid > 0x3fffffff) return 0;
  return static_cast<pid_t>(pid);
}

bool alive(pid_t pid) { return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM); }

// Writes "%10d\n" with our process id into a new file beside lockFile and links it in
// place, so the lock never exists half-written for another program to call stale.
// Returns 0 when made, else the errno of the step that failed (EEXIST: someone has it).
int makeLock(const std::filesystem::path& lockFile) {
  std::string tmpl = (lockFile.parent_path() / "LTMP.XXXXXX").string();
  int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
  if (fd < 0) return errno;
  char text[16];
  int length = std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(::getpid()));
  int error = 0;
  if (::fchmod(fd, 0644) != 0 || ::write(fd, text, static_cast<std::size_t>(length)) != length) {
    error = errno ? errno : EIO;
  }
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::link(tmpl.c_str(), lockFile.c_str()) != 0) error = errno;
  ::unlink(tmpl.c_str());
  return error;
}

}  // namespace

std::filesystem::path lockFolder(const std::vector<std::filesystem::path>& candidates) {
  for (const std::filesystem::path& folder : candidates) {
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) return folder;
  }
  return {};
}

std::filesystem::path lockFilePath(const std::filesystem::path& folder,
                                   const std::filesystem::path& device) {
  return folder / ("LCK.." + device.filename().string());
}

pid_t liveHolder(const std::filesystem::path& lockFile) {
  bool present = false;
  pid_t pid = readPid(lockFile, present);
  if (!present || pid < 0) return 0;
  if (alive(pid)) return pid;
  ::unlink(lockFile.c_str());  // stale: its holder is gone
  return 0;
}

pid_t Lock::acquire(const std::filesystem::path& lockFile) {
  release();
  // Two tries: a lock that another program removes as stale between our look and our
  // link is looked at once more.
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (pid_t holder = liveHolder(lockFile); holder != 0) return holder;
    int error = makeLock(lockFile);
    if (error == 0) {
      path_ = lockFile;
      return 0;
    }
    if (error != EEXIST) return 0;  // a folder we may not write: no lock, no error
  }
  return liveHolder(lockFile);
}

void Lock::release() {
  if (path_.empty()) return;
  bool present = false;
  if (readPid(path_, present) == ::getpid()) ::unlink(path_.c_str());
  path_.clear();
}

}  // namespace uucp
