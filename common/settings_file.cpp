#include "common/settings_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

namespace settings {
namespace {

// An open file descriptor holding an exclusive lock; both end with the object. A
// failed open keeps why it failed.
class LockedFile {
 public:
  LockedFile(const std::filesystem::path& path, int flags, mode_t mode = 0666) {
    fd_ = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY, mode);
    if (fd_ < 0) {
      error_ = errno;
      return;
    }
    struct stat st {};
    // Only regular files are settings files: never a fifo or a device by mistake.
    if (::fstat(fd_, &st) != 0) {
      error_ = errno;
    } else if (!S_ISREG(st.st_mode)) {
      error_ = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    } else if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      error_ = errno;
    }
    if (error_ != 0) {
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
  int error() const { return error_; }

 private:
  int fd_ = -1;
  int error_ = 0;
};

WriteResult failed(int error, const std::filesystem::path& path) {
  if (error == 0) error = EIO;
  return {false, error, describeFileError(error, path)};
}

// The folder as the operator knows it: relative to the working directory when inside it.
std::string folderWords(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::path normal = std::filesystem::absolute(folder, ec).lexically_normal();
  std::filesystem::path here = std::filesystem::current_path(ec);
  if (!ec) {
    std::filesystem::path relative = normal.lexically_relative(here);
    if (!relative.empty() && *relative.begin() != "..") {
      return relative == "." ? std::string(".") : "./" + relative.string();
    }
  }
  return normal.string();
}

int flagsFor(OpenMode mode) { return O_RDWR | (mode == OpenMode::kOpenAlways ? O_CREAT : 0); }

// 0 when all bytes went out, else the errno of the write that stopped.
int writeAll(int fd, std::string_view bytes, off_t offset = -1) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = offset < 0 ? ::write(fd, bytes.data() + done, bytes.size() - done)
                           : ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                                      offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return ENOSPC;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

// The permissions a replaced file ends with: the old file's, less the read and write
// rights for group and others that newFileMode withholds. A private file (the password,
// 0600) thus stays private even when an earlier copy was left open to everyone.
mode_t keptMode(mode_t oldMode, mode_t newFileMode) {
  return (oldMode & 07777) & ~(066 & ~newFileMode);
}

// Overwrites the locked file from its start and cuts it to the new length: for a file
// whose folder takes no new file. Writing before cutting needs no new disk blocks
// when the new content is no longer than the old. A file whose rights must first be
// narrowed and cannot be (another user's) is not written at all.
WriteResult overwriteInPlace(int fd, mode_t mode, std::string_view bytes,
                             const std::filesystem::path& path) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return failed(errno, path);
  if ((st.st_mode & 07777) != mode && ::fchmod(fd, mode) != 0) return failed(errno, path);
  int error = writeAll(fd, bytes, 0);
  if (error == 0 && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) error = errno;
  if (error == 0 && ::fdatasync(fd) != 0) error = errno;
  return error == 0 ? WriteResult{} : failed(error, path);
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

WriteResult writeInPlace(const std::filesystem::path& path, std::string_view bytes,
                         OpenMode mode) {
  LockedFile file(path, flagsFor(mode));
  if (!file.ok()) return failed(file.error(), path);
  int error = writeAll(file.fd(), bytes);
  return error == 0 ? WriteResult{} : failed(error, path);
}

WriteResult replaceWhole(const std::filesystem::path& path, std::string_view bytes,
                         mode_t newFileMode) {
  // Lock the file being replaced (creating it if need be) so that another program
  // holding it keeps it; the lock also serialises two writers of the same file.
  LockedFile target(path, O_RDWR | O_CREAT, newFileMode);
  if (!target.ok()) return failed(target.error(), path);
  struct stat st {};
  if (::fstat(target.fd(), &st) != 0) return failed(errno, path);

  // A settings file that is a link to a file elsewhere is replaced where it lives:
  // renaming over the link itself would cut it and leave the shared file stale.
  std::error_code ec;
  std::filesystem::path real = path;
  if (std::filesystem::is_symlink(path, ec)) real = std::filesystem::canonical(path, ec);
  if (ec) return failed(ec.value(), path);

  // mkostemp makes the temporary 0600 whatever the umask, so the new bytes are never
  // readable by others on their way; the file gets its kept rights only once written.
  const mode_t mode = keptMode(st.st_mode, newFileMode);
  std::string tmpl = real.string() + ".XXXXXX";
  int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
  if (fd < 0) return overwriteInPlace(target.fd(), mode, bytes, path);
  int error = writeAll(fd, bytes);
  if (error == 0 && ::fdatasync(fd) != 0) error = errno;
  if (error == 0 && ::fchmod(fd, mode) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(tmpl.c_str(), real.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(tmpl.c_str());
    return failed(error, path);
  }
  return {};
}

std::string describeFileError(int error, const std::filesystem::path& path) {
  std::error_code ec;
  const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
  return describeFileError(error, path, error == ENOENT && !std::filesystem::exists(folder, ec));
}

std::string describeFileError(int error, const std::filesystem::path& path, bool folderMissing) {
  const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
  switch (error) {
    case ENOENT:
      if (folderMissing) return "the folder " + folderWords(folder) + " is missing";
      return "the file does not exist";
    case ENOTDIR:
      return "the folder " + folderWords(folder) + " is not a folder";
    case EACCES:
    case EPERM:
      return "permission denied";
    case EROFS:
      return "the disk is read-only";
    case ENOSPC:
    case EDQUOT:
      return "the disk is full";
    case EWOULDBLOCK:
      return "locked by another program";
    case EISDIR:
      return "it is a folder, not a file";
    case EINVAL:
      return "it is not a plain file";
    case EIO:
      return "the disk reported an error";
    default:
      return std::strerror(error);
  }
}

bool exists(const std::filesystem::path& path) {
  return LockedFile(path, O_RDWR).ok();
}

}  // namespace settings

bool PosixSettingsFiles::isFolder(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

SettingsFiles& SettingsFiles::onDisk() {
  // Stateless: one for the whole process serves every dialog.
  static PosixSettingsFiles files;
  return files;
}
