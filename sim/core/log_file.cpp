#include "sim/core/log_file.h"

#include <system_error>

namespace zmsim {

namespace fs = std::filesystem;

bool LogFile::open(const fs::path& path, std::uintmax_t maxBytes, std::string& error) {
  path_ = path;
  maxBytes_ = maxBytes;
  bytes_ = 0;
  out_.open(path, std::ios::out | std::ios::trunc | std::ios::binary);
  if (!out_) {
    error = "cannot write " + path.string();
    return false;
  }
  return true;
}

fs::path LogFile::previousPath() const { return fs::path(path_.string() + ".1"); }

bool LogFile::full(std::size_t lineChars) const {
  // An empty file takes any line, so one line longer than the limit cannot loop.
  return bytes_ > 0 && bytes_ + lineChars + 1 > maxBytes_;
}

std::string LogFile::rotate() {
  out_.close();
  std::error_code ec;
  fs::rename(path_, previousPath(), ec);
  std::string note = ec ? "log restarted, earlier lines lost: cannot rename to " +
                              previousPath().string() + ": " + ec.message()
                        : "log continued, earlier lines in " + previousPath().string();
  out_.open(path_, std::ios::out | std::ios::trunc | std::ios::binary);
  bytes_ = 0;
  return note;
}

void LogFile::writeLine(std::string_view line) {
  if (!out_.is_open()) return;
  out_ << line << '\n';
  out_.flush();
  bytes_ += line.size() + 1;
}

}  // namespace zmsim
