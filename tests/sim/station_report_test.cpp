#include "sim/core/station_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/core/module.h"
#include "sim/sim_test_helpers.h"

namespace zmsim {
namespace {

using testing::ask;
using testing::runUntil;

constexpr int kCallMs = 2000;
// The message goes out at 65 % of the call; by the kiss-off wait, 15 % later, the
// station has all of it.
constexpr int kHeardMs = kCallMs * 65 / 100 + kCallMs * 15 / 100;

std::vector<std::string> heardAfterCall(const std::string& frames, Outcome outcome = Outcome::Deliver) {
  ModuleOptions options;
  options.callLengthMs = kCallMs;
  options.outcomes = {outcome};
  Module module(options);
  ask(module, "\rD5551234\r" + frames + "G");
  runUntil(module, kHeardMs - 1);
  EXPECT_TRUE(module.takeStationReport().empty());
  runUntil(module, 60000);
  return module.takeStationReport();
}

TEST(StationReport, TheLogSaysWhatTheStationUnderstoodOfEachFormat) {
  EXPECT_EQ(heardAfterCall("W7F00S123418113101015\r"),
            (std::vector<std::string>{"Contact-ID 1234: new event 131 Perimeter burglary, "
                                      "partition 01, zone 015, checksum 8"}));
  EXPECT_EQ(heardAfterCall("W7F02S123456789012345\r")[0].substr(0, 32),
            "Pulse 4X2 account 1234, event 56");
  // The K frames stop at the pair below 20 hex; bytes after it in the memory are not sent.
  EXPECT_EQ(heardAfterCall("W7F01KD041KD142KD21FKD344"),
            (std::vector<std::string>{"SIA FSK F1 \"AB\" (2 pairs)"}));
  EXPECT_EQ(heardAfterCall("W7F08S12345678\r"), (std::vector<std::string>{"SIA FSK F2 \"12345678\""}));
  // No one answered: the station heard nothing.
  EXPECT_TRUE(heardAfterCall("W7F00S123418113101015\r", Outcome::NoAnswer).empty());
}

TEST(StationReport, WhatIsWrongWithAMessageIsLoggedAsTheModuleSentIt) {
  // The PC fills a short message up with a zero byte and filler.
  std::vector<std::string> padded =
      heardAfterCall("W7F00S" + std::string("12341811\0\x7f\x7f\x7f\x7f\x7f\x7f", 15) + "\r");
  ASSERT_EQ(padded.size(), 1u);
  EXPECT_NE(padded[0].find("has only 8"), std::string::npos) << padded[0];

  // Every problem after the first, which the summary names, gets a line of its own.
  std::vector<std::string> wrong = heardAfterCall("W7F00S12A418179901001\r");
  ASSERT_EQ(wrong.size(), 2u);
  EXPECT_NE(wrong[0].find("account 12A4: not a Contact-ID digit: A"), std::string::npos) << wrong[0];
  EXPECT_EQ(wrong[1], "problem: event code 799 is not in the Contact-ID event list");

  std::vector<std::string> unknown = heardAfterCall("W7F05S123456\r");
  ASSERT_FALSE(unknown.empty());
  EXPECT_EQ(unknown[0].substr(0, 34), "Format 5: unknown reporting format");
}

}  // namespace
}  // namespace zmsim
