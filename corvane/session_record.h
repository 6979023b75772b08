#pragma once

#include <cstdint>
#include <string>

// One event of a session as the session log writes it and the session view shows it:
// when (wall clock and milliseconds since the start), what kind ("tx", "rx", "unsent",
// "alarm", "outcome", "action", "status", ...) and its text. For the bytes on the wire
// the text is the raw bytes, not yet escaped.
struct SessionRecord {
  std::string wallClock;  // "2026-12-08T09:47:00.118+01:00"
  std::int64_t ms = 0;
  std::string kind;
  std::string text;
  std::string remark;  // after the text, as it stands ("  # port not open"); may be empty
};
