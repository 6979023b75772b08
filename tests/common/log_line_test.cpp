#include "common/log_line.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

TEST(LogLine, EscapesWhatWouldBreakTheLine) {
  EXPECT_EQ(escapeBytes(std::string("S1\r\n\0<", 6)), "S1<CR><LF><00><3C>");
  EXPECT_EQ(escapeBytes("\x7F\xFF W3D01"), "<7F><FF> W3D01");
  EXPECT_EQ(escapeBytes(""), "");
}

TEST(LogLine, LinesParseBack) {
  std::string line = formatLogLine(1234, "rx W8055");
  EXPECT_EQ(line, "    1234 ms  rx W8055");
  std::optional<LogLine> parsed = parseLogLine(line);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->ms, 1234);
  EXPECT_EQ(parsed->kind, "rx");
  EXPECT_EQ(parsed->text, "W8055");

  parsed = parseLogLine(formatLogLine(123456789, "end"));
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->ms, 123456789);
  EXPECT_EQ(parsed->kind, "end");
  EXPECT_EQ(parsed->text, "");

  // Past eight digits the stamp only grows to the left.
  EXPECT_EQ(formatLogLine(1234567890, "tx X"), "1234567890 ms  tx X");
  parsed = parseLogLine(formatLogLine(0, "tx MESSAGE SUCCESS<CR><LF>"));
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->text, "MESSAGE SUCCESS<CR><LF>");
}

// The session log's lines lead with the local wall-clock time, offset included, and
// read back with or without it.
TEST(LogLine, WallClockTimesAreLocalIsoWithTheOffset) {
  const char* savedTz = std::getenv("TZ");
  const std::string saved = savedTz ? savedTz : "";
  const auto at = std::chrono::system_clock::time_point(std::chrono::milliseconds(1796719620118));
  setenv("TZ", "CET-1", 1);
  tzset();
  EXPECT_EQ(formatWallClock(at), "2026-12-08T09:47:00.118+01:00");
  setenv("TZ", "<-0330>3:30", 1);
  tzset();
  EXPECT_EQ(formatWallClock(at - std::chrono::milliseconds(1)), "2026-12-08T05:17:00.117-03:30");
  if (savedTz) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
  tzset();

  const std::string line = formatLogLine("2026-12-08T09:47:00.118+01:00", 412, "tx W3D01<CR>");
  EXPECT_EQ(line, "2026-12-08T09:47:00.118+01:00      412 ms  tx W3D01<CR>");
  std::optional<LogLine> parsed = parseLogLine(line);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->wallClock, "2026-12-08T09:47:00.118+01:00");
  EXPECT_EQ(parsed->ms, 412);
  EXPECT_EQ(parsed->kind, "tx");
  EXPECT_EQ(parsed->text, "W3D01<CR>");
  EXPECT_EQ(parseLogLine("     412 ms  tx X")->wallClock, "");
  EXPECT_FALSE(parseLogLine("2026-12-08T09:47:00.118+01:00"));
}

TEST(LogLine, RefusesWhatNoLogWrote) {
  EXPECT_FALSE(parseLogLine("garbage"));
  EXPECT_FALSE(parseLogLine("  12x ms  rx G"));
  EXPECT_FALSE(parseLogLine(""));
  EXPECT_FALSE(parseLogLine("     ms  rx G"));
  // A stamp too long for the counter would overflow it.
  EXPECT_FALSE(parseLogLine("99999999999999999999 ms  rx G"));
}

}  // namespace
