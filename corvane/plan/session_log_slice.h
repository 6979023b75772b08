#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// The lines the session log ("./corvane.log", corvane/session_log.h) gained between
// two moments, read back from the file, for the report of one plan case. The log is
// written at the end of each event, so a slice taken between events is whole lines.
class SessionLogSlice {
 public:
  explicit SessionLogSlice(std::filesystem::path workDir);

  // Where the log ends now.
  std::uintmax_t mark() const;
  // What the log gained since mark; when the log was moved aside to ".1" meanwhile, the
  // rest of that file and then the new one.
  std::string since(std::uintmax_t mark) const;

 private:
  std::filesystem::path log_;
  std::filesystem::path rotated_;
};
