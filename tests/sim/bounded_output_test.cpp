#include <gtest/gtest.h>

#include <string>

#include "fakes/temp_dir.h"
#include "sim/core/log_file.h"
#include "sim/core/output_queue.h"
#include "sim/core/protocol_log.h"

namespace zmsim {
namespace {

TEST(OutputQueue, WhatThePcDoesNotReadStopsGrowingAtItsLimit) {
  OutputQueue queue(10);
  EXPECT_EQ(queue.push("0A0A0A"), 0u);
  EXPECT_EQ(queue.push("0A0A0A"), 2u);  // the end that does not fit
  EXPECT_EQ(queue.pending(), "0A0A0A0A0A");
  for (int i = 0; i < 100000; ++i) queue.push("55");
  EXPECT_EQ(queue.size(), 10u);
  EXPECT_EQ(queue.dropped(), 2u + 200000u);

  // What the PC reads leaves in order and makes room again.
  queue.taken(4);
  EXPECT_EQ(queue.pending(), "0A0A0A");
  EXPECT_EQ(queue.push("1234"), 0u);
  EXPECT_EQ(queue.pending(), "0A0A0A1234");
  queue.taken(100);
  EXPECT_TRUE(queue.empty());
  queue.resetDropped();
  EXPECT_EQ(queue.dropped(), 0u);
}

std::size_t lineCount(const std::string& text) {
  std::size_t n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

TEST(LogFile, LineNoiseFillsAtMostTwoFilesOfTheLimit) {
  TempDir dir;
  LogFile file;
  std::string error;
  ASSERT_TRUE(file.open(dir / "zmsim.log", 4096, error)) << error;
  ProtocolLog log(&file);
  for (int i = 0; i < 20000; ++i) log.line(i, "rx z  # line noise, one frame a byte");

  std::string current = dir.read("zmsim.log");
  std::string previous = dir.read("zmsim.log.1");
  EXPECT_LE(current.size(), 4096u);
  EXPECT_LE(previous.size(), 4096u);
  EXPECT_GT(previous.size(), 4000u);
  // The newest line is last, and the file says where the lines before it went.
  EXPECT_TRUE(current.ends_with("\n   19999 ms  rx z  # line noise, one frame a byte\n"));
  std::optional<LogLine> first = parseLogLine(current.substr(0, current.find('\n')));
  ASSERT_TRUE(first);
  EXPECT_EQ(first->kind, "log");
  EXPECT_EQ(first->text, "continued, earlier lines in " + (dir / "zmsim.log.1").string());
  // Nothing is lost between the two files: the lines of .1 run on into the new file.
  std::optional<LogLine> lastOfPrevious =
      parseLogLine(previous.substr(previous.rfind('\n', previous.size() - 2) + 1));
  std::optional<LogLine> secondOfCurrent =
      parseLogLine(current.substr(current.find('\n') + 1, current.find('\n', current.find('\n') + 1)));
  ASSERT_TRUE(lastOfPrevious && secondOfCurrent);
  EXPECT_EQ(secondOfCurrent->ms, lastOfPrevious->ms + 1);
  EXPECT_EQ(lineCount(current) > 10, true);
}

TEST(LogFile, ALineLongerThanTheLimitIsStillWrittenWhole) {
  TempDir dir;
  LogFile file;
  std::string error;
  ASSERT_TRUE(file.open(dir / "zmsim.log", 4096, error));
  ProtocolLog log(&file);
  log.line(0, "start");
  log.line(1, "tx " + std::string(5000, 'T'));
  log.line(2, "end");
  // It takes a file of its own (after the note where the lines before went), which the
  // next line moves on to .1.
  std::string previous = dir.read("zmsim.log.1");
  EXPECT_EQ(lineCount(previous), 2u);
  EXPECT_TRUE(previous.ends_with("\n       1 ms  tx " + std::string(5000, 'T') + "\n"));
  EXPECT_TRUE(dir.read("zmsim.log").ends_with("\n       2 ms  end\n"));
}

}  // namespace
}  // namespace zmsim
