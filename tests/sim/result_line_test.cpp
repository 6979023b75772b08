#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "sim/core/module.h"
#include "sim/sim_test_helpers.h"

namespace zmsim {
namespace {

using testing::ask;
using testing::joined;
using testing::knownLine;
using testing::linesOf;
using testing::runUntil;
using testing::Timed;

constexpr int kCallMs = 2000;

ModuleOptions splitting() {
  ModuleOptions options;
  options.callLengthMs = kCallMs;
  options.faults.splitReport = true;
  return options;
}

TEST(ResultLine, AFrameInTheGapOfASplitLineWaitsForItsSecondPiece) {
  // G without a number fails at once; a second G 100 ms later, inside the 300 ms gap,
  // used to run both lines into "FAILED: NFAILED: NO NUMBER".
  Module module(splitting());
  module.receive("G", 0);
  module.advance(0);
  EXPECT_EQ(module.takeOutput(), "FAILED: N");
  module.receive("G", 100);
  EXPECT_EQ(linesOf(joined(runUntil(module, 5000))),
            (std::vector<std::string>{"O NUMBER", "FAILED: NO NUMBER"}));

  // The same for a hang-up and for the factory defaults during a delivery report.
  for (std::string frame : {"\rA", "W8755\rX"}) {
    Module call(splitting());
    ask(call, "MAB20\r\rD5551234\rS123418313101015\rG");
    std::string out = joined(runUntil(call, kCallMs));
    call.receive(frame, kCallMs + 10);
    call.advance(kCallMs + 10);
    out += call.takeOutput() + joined(runUntil(call, 10000));
    std::vector<std::string> lines = linesOf(out);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()),
              (std::vector<std::string>{"MESSAGE SUCCESS", frame == "\rA" ? "ON HOOK" : "DEFAULTS RESTORED"}));
  }
}

TEST(ResultLine, InTheGapRegisterRepliesStayImmediateAndModuleLinesWait) {
  // G without a number, then B and the factory defaults while "FAILED: N" waits for
  // its second piece: "NO CALL IN PROGRESS" used to land inside it. The PC reads a
  // register's answer within 90 ms, so R and M answers do not wait the 300 ms gap.
  Module module(splitting());
  ask(module, "D\rG");
  module.advance(0);
  EXPECT_EQ(module.takeOutput(), "FAILED: N");
  EXPECT_EQ(ask(module, "B", 20), "");
  EXPECT_EQ(ask(module, "R82", 40), "0A");
  EXPECT_EQ(ask(module, "M8755", 60), "5");
  EXPECT_EQ(ask(module, "\r", 70), "5");
  EXPECT_EQ(linesOf(joined(runUntil(module, 5000))),
            (std::vector<std::string>{"O NUMBER", "NO CALL IN PROGRESS"}));
  // The factory defaults forget the call's lines, never the rest of a line half sent.
  ask(module, "G", 5000);
  module.advance(5000);
  EXPECT_EQ(module.takeOutput(), "FAILED: N");
  EXPECT_EQ(ask(module, "W8755XW8755X", 5100), "");
  EXPECT_EQ(linesOf(joined(runUntil(module, 9000))),
            (std::vector<std::string>{"O NUMBER", "DEFAULTS RESTORED", "DEFAULTS RESTORED"}));
  }

TEST(ResultLine, AModulePluggedBackInNeverStartsInsideALine) {
  Module module(splitting());
  ask(module, "D555\rG");
  std::vector<Timed> sent = runUntil(module, kCallMs);
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.back().text, "MESSAGE ");
  module.disconnect();
  EXPECT_EQ(joined(runUntil(module, 60000)), "");
  // The call went with the line: a new one starts at once and reports whole.
  ask(module, "G", 60000);
  std::vector<std::string> lines = linesOf(joined(runUntil(module, 70000)));
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines.front(), "DIALING 555");
  EXPECT_EQ(lines.end()[-2], "MESSAGE SUCCESS");
  for (const std::string& line : lines) EXPECT_TRUE(knownLine(line)) << line;
}

TEST(ResultLine, ANumberWithControlBytesStaysOneDialingLine) {
  Module module(ModuleOptions{});
  ask(module, "WAB20D55\n5\x01\rG");
  module.advance(0);
  EXPECT_EQ(module.takeOutput(), "DIALING 55.5.\r\n");
}

// Frames that make the module talk in lines (no register queries, whose two-digit
// answers are no lines), in any order and at any moment, with every fault on.
TEST(ResultLine, WhateverThePcSendsEveryLineIsWholeAndAtMost24Characters) {
  const std::vector<std::string> frames = {
      "G", "B", "\rA", "D5551234\r", "D1234567890123456", "S123418313101015\r", "WAB60",
      "WAB00", "WAC82", "WAC80", "W7F01", "W7F02", "W7F08", "KD041", "W8755\rX", "\r"};
  for (Outcome outcome : {Outcome::Deliver, Outcome::NoKissoff, Outcome::NoAnswer}) {
    ModuleOptions options = splitting();
    options.outcomes = {outcome};
    options.faults.nulBeforeReport = true;
    options.faults.flood = true;
    Module module(options);
    std::mt19937 random(static_cast<unsigned>(outcome) + 7);
    std::string out;
    std::int64_t ms = 0;
    for (int i = 0; i < 3000; ++i) {
      ms += random() % 400;
      out += joined(runUntil(module, ms));
      module.receive(frames[random() % frames.size()], ms);
      module.advance(ms);
      out += module.takeOutput();
    }
    out += joined(runUntil(module, ms + 60000));
    for (const std::string& line : linesOf(out)) {
      EXPECT_LE(line.size(), CallModel::kMaxLineChars) << line;
      EXPECT_TRUE(knownLine(line)) << '"' << line << '"';
    }
  }
}

}  // namespace
}  // namespace zmsim
