#include "common/rotating_log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string osText(int error) { return std::strerror(error); }

// Opens the log for appending, creating it; -1 with problem set when it is not a
// regular file or cannot be opened. The type is looked at before the open so that a
// device is never opened, and again after it, on what was really opened.
int openForAppend(const std::filesystem::path& path, std::string& problem) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    problem = S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file";
    return -1;
  }
  int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                  0644);
  if (fd < 0) {
    problem = osText(errno);
    return -1;
  }
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    problem = "it is not a regular file";
    ::close(fd);
    return -1;
  }
  return fd;
}

bool writeAll(int fd, std::string_view text, int& error) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::filesystem::path RotatingLogFile::previousPath() const {
  std::filesystem::path previous = path_;
  previous += ".1";
  return previous;
}

RotatingLogFile::Result RotatingLogFile::append(std::string_view text) {
  Result result;
  int fd = openForAppend(path_, result.problem);
  if (fd < 0) return result;

  struct stat st {};
  ::fstat(fd, &st);
  auto size = static_cast<std::uintmax_t>(st.st_size);
  if (size > 0 && size + text.size() > maxBytes_) {
    ::close(fd);
    if (std::rename(path_.c_str(), previousPath().c_str()) != 0)
      result.problem = "it could not be moved to " + previousPath().filename().string() + ": " + osText(errno);
    fd = openForAppend(path_, result.problem);
    if (fd < 0) return result;
    ::fstat(fd, &st);
    size = static_cast<std::uintmax_t>(st.st_size);
  }

  int error = 0;
  result.written = writeAll(fd, text, error);
  if (!result.written) {
    result.problem = osText(error);
    // The lines are dropped whole: no half line for the next append to run on from.
    if (::ftruncate(fd, static_cast<off_t>(size)) != 0) result.problem += " (a part line is left)";
  }
  ::close(fd);
  return result;
}
