#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace zmsim {

// The protocol log's file, kept to a size: when a line would take it past maxBytes,
// the file becomes FILE.1 (replacing an older one) and a new FILE begins. Line noise
// at full speed can then fill at most twice maxBytes of disk.
class LogFile {
 public:
  static constexpr std::uintmax_t kDefaultMaxBytes = 10 * 1024 * 1024;
  // Below this a dump or a flood burst would not fit one file.
  static constexpr std::uintmax_t kMinMaxBytes = 4096;

  // Creates or truncates path. Empty error on success.
  bool open(const std::filesystem::path& path, std::uintmax_t maxBytes, std::string& error);
  bool isOpen() const { return out_.is_open(); }

  // Whether a line of this many characters (without its line end) no longer fits.
  bool full(std::size_t lineChars) const;
  // Moves the file to FILE.1 and starts an empty FILE. Returns what the new file's
  // first line should say about the old lines.
  std::string rotate();
  // Writes the line and a line end, flushed at once so others can follow the file.
  void writeLine(std::string_view line);

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path previousPath() const;
  std::uintmax_t bytes() const { return bytes_; }

 private:
  std::filesystem::path path_;
  std::ofstream out_;
  std::uintmax_t maxBytes_ = kDefaultMaxBytes;
  std::uintmax_t bytes_ = 0;
};

}  // namespace zmsim
