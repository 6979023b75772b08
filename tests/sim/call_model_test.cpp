#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/core/module.h"
#include "sim/sim_test_helpers.h"

namespace zmsim {
namespace {

using testing::ask;
using testing::joined;
using testing::runUntil;
using testing::Timed;

constexpr int kCallMs = 2000;

ModuleOptions withOutcome(Outcome outcome) {
  ModuleOptions options;
  options.outcomes = {outcome};
  options.callLengthMs = kCallMs;
  return options;
}

// Loads a number and a Contact-ID message as the PC's transmission does, with the
// given option register, and sends G at time 0.
void startCall(Module& module, const std::string& options = "00", const std::string& control = "80") {
  ask(module, "\rMAB" + options + "\r\r\rW3D01WAC" + control + "\rW7F00\r\rD5551234\r");
  ask(module, "S123418313101015\rW3D00");
  module.receive("G", 0);
}

TEST(CallModel, WithoutStatusOrDebugBitsOnlyTheResultIsSent) {
  Module module(withOutcome(Outcome::Deliver));
  startCall(module, "00");
  std::vector<Timed> sent = runUntil(module, 60000);
  EXPECT_EQ(sent, (std::vector<Timed>{{kCallMs, "MESSAGE SUCCESS\r\n"}}));
  EXPECT_EQ(module.callState(), CallModel::State::Idle);
}

TEST(CallModel, StatusBitShowsDiallingHandshakeAndMessage) {
  Module module(withOutcome(Outcome::Deliver));
  startCall(module, "20");
  std::vector<Timed> sent = runUntil(module, 60000);
  EXPECT_EQ(sent, (std::vector<Timed>{
                      {0, "DIALING 5551234\r\n"},
                      {800, "RINGING\r\n"},
                      {1100, "HANDSHAKE 1400+2300 HZ\r\n"},
                      {1300, "SENDING CONTACT-ID\r\nMSG 123418313101015\r\n"},
                      {kCallMs, "MESSAGE SUCCESS\r\n"},
                      {kCallMs + CallModel::kHangUpDelayMs, "ON HOOK\r\n"},
                  }));
}

TEST(CallModel, DebugBitAloneShowsOnlyDebugLinesAndTheResult) {
  Module module(withOutcome(Outcome::Deliver));
  startCall(module, "C0", "00");
  std::string all = joined(runUntil(module, 60000));
  EXPECT_EQ(all,
            "OFF HOOK\r\nAUDIO OFF\r\nLEVEL -6 DB\r\nDIAL TONE OK\r\nDIALER TIMEOUT 20 S\r\n"
            "KISSOFF WAIT 8 S\r\nMESSAGE SUCCESS\r\n");
}

TEST(CallModel, FailuresNeverLookLikeADeliveryReport) {
  for (Outcome outcome : {Outcome::NoKissoff, Outcome::NoAnswer}) {
    Module module(withOutcome(outcome));
    startCall(module, "60");
    std::string all = joined(runUntil(module, 60000));
    EXPECT_EQ(all.find("MESSAGE SUCCESS"), std::string::npos) << all;
    EXPECT_EQ(all.find("M00"), std::string::npos) << all;
    EXPECT_NE(all.find(outcome == Outcome::NoAnswer ? "FAILED: NO ANSWER\r\n"
                                                    : "FAILED: NO KISSOFF\r\n"),
              std::string::npos);
    EXPECT_EQ(all.find("HANDSHAKE") == std::string::npos, outcome == Outcome::NoAnswer);
    EXPECT_EQ(all.substr(all.size() - 9), "ON HOOK\r\n");
    EXPECT_EQ(module.callState(), CallModel::State::Idle);
  }
}

TEST(CallModel, OutcomesGoOneACallTheLastRepeated) {
  ModuleOptions options = withOutcome(Outcome::Deliver);
  options.outcomes = {Outcome::Deliver, Outcome::NoAnswer, Outcome::NoKissoff, Outcome::Unplug,
                      Outcome::Deliver};
  Module module(options);
  ask(module, "MAB00\r\r");  // the result lines alone
  std::vector<std::string> results;
  std::vector<bool> unplugAsked;
  std::int64_t now = 0;
  // A G without a number, or during a call, dials nothing and takes no outcome.
  module.receive("G", now);
  module.advance(now);
  EXPECT_EQ(module.takeOutput(), "FAILED: NO NUMBER\r\n");
  for (int call = 0; call < 6; ++call, now += 60000) {
    ask(module, "D5551234\rG", now);
    module.receive("G", now + 10);
    unplugAsked.push_back(module.takeUnplugRequest());
    std::string said = joined(runUntil(module, now + 30000));
    results.push_back(said.substr(0, said.find("\r\n")));
    // The unplugged call rings on: a bench abort ends it before the next.
    module.receive("\rA", now + 40000);
    runUntil(module, now + 50000);
  }
  EXPECT_EQ(results, (std::vector<std::string>{"MESSAGE SUCCESS", "FAILED: NO ANSWER",
                                               "FAILED: NO KISSOFF", "", "MESSAGE SUCCESS",
                                               "MESSAGE SUCCESS"}));
  EXPECT_EQ(unplugAsked, (std::vector<bool>{false, false, false, true, false, false}));
  EXPECT_FALSE(module.takeUnplugRequest());
}

TEST(CallModel, AMultipleRunHoldsTheLineForBUntilA) {
  Module module(withOutcome(Outcome::Deliver));
  startCall(module, "20", "82");
  EXPECT_EQ(runUntil(module, kCallMs).back().text, "MESSAGE SUCCESS\r\n");
  EXPECT_EQ(module.callState(), CallModel::State::Held);

  ask(module, "\r\r", 2500);
  ask(module, "SABCDEF", 2600);
  ask(module, "\r", 2700);
  module.receive("B", 3200);
  std::vector<Timed> sent = runUntil(module, 10000);
  EXPECT_EQ(sent, (std::vector<Timed>{
                      {3200, "NEXT MESSAGE\r\n"},
                      {3400, "SENDING CONTACT-ID\r\nMSG ABCDEF\r\n"},
                      {3400 + 700, "MESSAGE SUCCESS\r\n"},
                  }));
  module.receive("\rA", 10000);
  module.advance(10000);
  EXPECT_EQ(module.takeOutput(), "ON HOOK\r\n");
  EXPECT_EQ(module.callState(), CallModel::State::Idle);
  EXPECT_FALSE(module.nextEventMs());
}

TEST(CallModel, AHeldLineIsDroppedAfterTheDialerTimeout) {
  Module module(withOutcome(Outcome::Deliver));
  ask(module, "M8203\r\r");  // 6 seconds
  startCall(module, "20", "82");
  runUntil(module, kCallMs);
  EXPECT_TRUE(runUntil(module, kCallMs + 5999).empty());
  EXPECT_EQ(runUntil(module, kCallMs + 6000), (std::vector<Timed>{{kCallMs + 6000, "ON HOOK\r\n"}}));
  EXPECT_EQ(module.callState(), CallModel::State::Idle);
}

TEST(CallModel, RefusesBWithoutACallAndGDuringOne) {
  Module module(withOutcome(Outcome::Deliver));
  EXPECT_EQ(ask(module, "MAB60\r\rB", 0), "60");
  module.advance(0);
  EXPECT_EQ(module.takeOutput(), "NO CALL IN PROGRESS\r\n");
  startCall(module, "60");
  module.receive("G", 100);
  module.advance(100);
  EXPECT_EQ(module.takeOutput().find("BUSY, G IGNORED\r\n") != std::string::npos, true);
  module.advance(kCallMs);
  EXPECT_NE(module.takeOutput().find("MESSAGE SUCCESS"), std::string::npos);
}

TEST(CallModel, EachFormatReportsItsOwnMessage) {
  struct Case {
    std::string frames;
    std::string expected;
  };
  std::vector<Case> cases = {
      {"W7F02S123456789012345\r", "SENDING PULSE 4X2\r\nMSG 123456\r\n"},
      {"W7F00S12" + std::string(13, '\0') + "\r", "SENDING CONTACT-ID\r\nMSG 12\r\n"},
      {"W7F01KD041KD142KD21FKD344", "SENDING SIA FSK F1\r\nMSG AB\r\n"},
      {"W7F08MB100\r\rS1234567890ABCDEF\r", "SENDING SIA FSK F2\r\nMSG 1234567890ABCDE\r\n"},
  };
  for (const Case& c : cases) {
    Module module(withOutcome(Outcome::Deliver));
    ask(module, "MAB20\r\rD5\r" + c.frames + "G");
    std::string all = joined(runUntil(module, 60000));
    EXPECT_NE(all.find(c.expected), std::string::npos) << c.expected << " in " << all;
    if (c.expected.find("F2") != std::string::npos) {
      EXPECT_NE(all.find("HANDSHAKE 2300 HZ\r\nSIA 300 BAUD\r\n"), std::string::npos) << all;
    }
  }
}

TEST(CallModel, NoNumberFailsAtOnce) {
  Module module(withOutcome(Outcome::Deliver));
  module.receive("G", 50);
  EXPECT_EQ(runUntil(module, 60000), (std::vector<Timed>{{50, "FAILED: NO NUMBER\r\n"}}));
}

TEST(CallModel, FaultsShapeTheResultLine) {
  ModuleOptions options = withOutcome(Outcome::Deliver);
  options.faults.nulBeforeReport = true;
  Module nul(options);
  startCall(nul);
  EXPECT_EQ(joined(runUntil(nul, 60000)), std::string("\0MESSAGE SUCCESS\r\n", 18));

  options = withOutcome(Outcome::Deliver);
  options.faults.splitReport = true;
  Module split(options);
  startCall(split);
  EXPECT_EQ(runUntil(split, 60000),
            (std::vector<Timed>{{kCallMs, "MESSAGE "}, {kCallMs + CallModel::kSplitGapMs, "SUCCESS\r\n"}}));

  options = withOutcome(Outcome::Deliver);
  options.faults.flood = true;
  Module flood(options);
  startCall(flood);
  std::vector<Timed> sent = runUntil(flood, 60000);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].ms, 0);
  EXPECT_GT(sent[0].text.size(), 2000u);
  EXPECT_EQ(sent[1].text, "MESSAGE SUCCESS\r\n");
}

TEST(CallModel, AbortHangsUpAtOnce) {
  Module module(withOutcome(Outcome::Deliver));
  startCall(module, "20");
  runUntil(module, 500);
  module.receive("\rA", 600);
  EXPECT_EQ(runUntil(module, 60000), (std::vector<Timed>{{600, "ON HOOK\r\n"}}));
}

}  // namespace
}  // namespace zmsim
