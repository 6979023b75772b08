#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// A log file that text is only ever appended to, in whole lines, and that is moved
// aside to "<path>.1" (replacing the previous one) before it would pass its size
// limit, so a bench session of days keeps at most twice the limit on disk.
//
// Each append opens the file, writes and closes it again: a log that an installer
// moves or deletes while the program runs is simply started anew. Only a regular file
// (or a link to one) is written; a fifo, a device or a directory at the path is
// refused without being opened for writing, so an append never blocks or talks to a
// device.
class RotatingLogFile {
 public:
  struct Result {
    bool written = false;  // all of the text is in the file
    std::string problem;   // what went wrong, in words; empty when nothing did
  };

  RotatingLogFile(std::filesystem::path path, std::uintmax_t maxBytes)
      : path_(std::move(path)), maxBytes_(maxBytes) {}

  // Appends text. A write that fails halfway is cut back off, so the file never ends
  // in half a line. When moving a full file aside fails, the text still goes into it
  // (nothing is lost) and the problem says so.
  Result append(std::string_view text);

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path previousPath() const;

 private:
  std::filesystem::path path_;
  std::uintmax_t maxBytes_;
};
