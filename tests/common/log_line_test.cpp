#include "common/log_line.h"

#include <gtest/gtest.h>

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

TEST(LogLine, RefusesWhatNoLogWrote) {
  EXPECT_FALSE(parseLogLine("garbage"));
  EXPECT_FALSE(parseLogLine("  12x ms  rx G"));
  EXPECT_FALSE(parseLogLine(""));
  EXPECT_FALSE(parseLogLine("     ms  rx G"));
  // A stamp too long for the counter would overflow it.
  EXPECT_FALSE(parseLogLine("99999999999999999999 ms  rx G"));
}

}  // namespace
