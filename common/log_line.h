#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The one form of a line in a wire log, shared by zmsim's protocol log and Corvane's
// session log, so one reader (a test, a script, an installer's eye) takes both:
//
//      412 ms  tx W3D01
//     9900 ms  rx MESSAGE SUCCESS<CR><LF>
//
// Milliseconds since the log's session began, right-aligned in 8 columns, two spaces
// after "ms", then a word saying what happened and the rest of the line. Corvane's
// session log puts the wall-clock time ahead of that, so a line can be laid beside a
// receiver's or a module's own record of the same moment:
//
//   2026-12-08T09:47:00.118+01:00      412 ms  tx W3D01

// The bytes as a log shows them: printable ASCII as it is, CR and LF as <CR> and
// <LF>, every other byte (and '<' itself) as <HH>, so one line never holds a line
// break and the escaped text reads back to exactly the bytes.
std::string escapeBytes(std::string_view bytes);

// One line without its line end: the time stamp, then text as it stands.
std::string formatLogLine(std::int64_t ms, std::string_view text);

// The same line led by the wall-clock time (formatWallClock()) and one space.
std::string formatLogLine(std::string_view wallClock, std::int64_t ms, std::string_view text);

// A moment as ISO 8601 in local time to the millisecond with the zone's offset:
// "2026-12-08T09:47:00.118+01:00".
std::string formatWallClock(std::chrono::system_clock::time_point at);

// One line of a log taken apart: its times, its first word and the rest.
struct LogLine {
  std::string wallClock;  // empty on a line without one
  std::int64_t ms = 0;
  std::string kind;
  std::string text;
};
// Nothing when the line does not start with a time stamp (blanks, digits, " ms  "),
// optionally led by a wall-clock time.
std::optional<LogLine> parseLogLine(std::string_view line);
