#include "common/settings_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace settings {
namespace {

// An open file descriptor holding an exclusive lock; both end with the object.
class LockedFile {
 public:
  LockedFile(const std::filesystem::path& path, int flags, mode_t mode = 0666) {
    fd_ = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY, mode);
    if (fd_ < 0) return;
    struct stat st {};
    // Only regular files are settings files: never a fifo or a device by mistake.
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode) || ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~LockedFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

  bool ok() const { return fd_ >= 0; }
  int fd() const { return fd_; }

 private:
  int fd_ = -1;
};

int flagsFor(OpenMode mode) { return O_RDWR | (mode == OpenMode::kOpenAlways ? O_CREAT : 0); }

bool writeAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string readFile(const std::filesystem::path& path, std::size_t maxBytes, OpenMode mode) {
  LockedFile file(path, flagsFor(mode));
  if (!file.ok() || maxBytes == 0) return {};
  std::string buffer(maxBytes, '\0');
  ssize_t n;
  do {
    n = ::read(file.fd(), buffer.data(), maxBytes);
  } while (n < 0 && errno == EINTR);
  buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return buffer;
}

void writeInPlace(const std::filesystem::path& path, std::string_view bytes, OpenMode mode) {
  LockedFile file(path, flagsFor(mode));
  if (file.ok()) writeAll(file.fd(), bytes);
}

void replaceWhole(const std::filesystem::path& path, std::string_view bytes, mode_t newFileMode) {
  // Lock the file being replaced (creating it if need be) so that another program
  // holding it keeps it; the lock also serialises two writers of the same file.
  LockedFile target(path, O_RDWR | O_CREAT, newFileMode);
  if (!target.ok()) return;
  struct stat st {};
  if (::fstat(target.fd(), &st) != 0) return;

  // A settings file that is a link to a file elsewhere is replaced where it lives:
  // renaming over the link itself would cut it and leave the shared file stale.
  std::error_code ec;
  std::filesystem::path real = path;
  if (std::filesystem::is_symlink(path, ec)) real = std::filesystem::canonical(path, ec);
  if (ec) return;

  std::string tmpl = real.string() + ".XXXXXX";
  int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
  if (fd < 0) return;
  bool good = ::fchmod(fd, st.st_mode & 07777) == 0 && writeAll(fd, bytes) && ::fdatasync(fd) == 0;
  good = (::close(fd) == 0) && good;
  if (!good || ::rename(tmpl.c_str(), real.c_str()) != 0) ::unlink(tmpl.c_str());
}

bool exists(const std::filesystem::path& path) {
  return LockedFile(path, O_RDWR).ok();
}

}  // namespace settings
