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
using testing::runUntil;

constexpr int kCallMs = 2000;

ModuleOptions splitting() {
  ModuleOptions options;
  options.callLengthMs = kCallMs;
  options.faults.splitReport = true;
  return options;
}

// The lines as the PC's display would break them: at CR LF, zero bytes left out.
std::vector<std::string> linesOf(const std::string& out) {
  std::vector<std::string> lines;
  std::string current;
  for (char c : out) {
    if (c == '\0') continue;
    if (c == '\n') {
      if (!current.empty() && current.back() == '\r') current.pop_back();
      lines.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
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

bool knownLine(const std::string& line) {
  static const std::vector<std::string> whole = {
      "MESSAGE SUCCESS", "FAILED: NO KISSOFF", "FAILED: NO ANSWER", "FAILED: NO NUMBER",
      "ON HOOK", "RINGING", "NEXT MESSAGE", "NO CALL IN PROGRESS", "DEFAULTS RESTORED",
      "BUSY, G IGNORED", "BUSY, B IGNORED", "OFF HOOK", "AUDIO ON", "AUDIO OFF", "LEVEL 0 DB",
      "LEVEL -6 DB", "DIAL TONE OK", "KISSOFF WAIT", "SIA 110 BAUD", "SIA 300 BAUD"};
  static const std::vector<std::string> prefixes = {
      "DIALING ", "MSG ", "SENDING ", "HANDSHAKE ", "DIALER TIMEOUT ", "KISSOFF WAIT ", "TRACE "};
  for (const std::string& w : whole) {
    if (line == w) return true;
  }
  for (const std::string& p : prefixes) {
    if (line.rfind(p, 0) == 0 && line.find("MESSAGE") == std::string::npos &&
        line.find("FAILED") == std::string::npos) {
      return true;
    }
  }
  return false;
}

// Frames that make the module talk in lines (no register queries, whose two-digit
// answers are no lines), in any order and at any moment, with every fault on.
TEST(ResultLine, WhateverThePcSendsEveryLineIsWholeAndAtMost24Characters) {
  const std::vector<std::string> frames = {
      "G", "B", "\rA", "D5551234\r", "D1234567890123456", "S123418313101015\r", "WAB60",
      "WAB00", "WAC82", "WAC80", "W7F01", "W7F02", "W7F08", "KD041", "W8755\rX", "\r"};
  for (Outcome outcome : {Outcome::Deliver, Outcome::NoKissoff, Outcome::NoAnswer}) {
    ModuleOptions options = splitting();
    options.outcome = outcome;
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
