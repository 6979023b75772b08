#include <gtest/gtest.h>

#include "corvane/module_link.h"
#include "fake_module.h"
#include "fakes/fake_serial_port.h"
#include "fakes/virtual_clock.h"

namespace {

class ModuleLinkTest : public ::testing::Test {
 protected:
  ModuleLinkTest() : bench(clock), port(bench), link(port, clock) {
    bench.addDevice("COM1:");
    port.open("COM1:", 9600);
    bench.clearEvents();
  }

  VirtualClock clock;
  FakeSerialBench bench;
  FakeSerialPort port;
  ModuleLink link;
};

TEST_F(ModuleLinkTest, QueryTakesTwoReplyCharactersAndLeavesTheRest) {
  bench.replyWith("COM1:", "0A\r\n");
  EXPECT_EQ(link.queryRegister("Q82"), "0A");
  EXPECT_EQ(bench.writes(), std::vector<std::string>{"Q82"});
  EXPECT_EQ(clock.pauses(), fullQueryPauses());
  EXPECT_EQ(bench.pendingInput("COM1:"), 2u);
}

TEST_F(ModuleLinkTest, QueryWithoutReplyReturnsNothingAfterSixReads) {
  EXPECT_EQ(link.queryRegister("R80"), "");
  EXPECT_EQ(clock.pauses(), silentQueryPauses());
  EXPECT_EQ(clock.nowMs(), 30 + 6 * 10);
}

TEST_F(ModuleLinkTest, QueryWithOneCharacterKeepsPollingAndReturnsIt) {
  bench.replyWith("COM1:", "5");
  EXPECT_EQ(link.queryRegister("R80"), "5");
  EXPECT_EQ(clock.nowMs(), 90);
}

TEST_F(ModuleLinkTest, QueryOnAPortThatDidNotOpenPausesAndReturnsNothing) {
  port.close();
  EXPECT_EQ(link.queryRegister("QAB"), "");
  EXPECT_TRUE(bench.writes().empty());
  EXPECT_EQ(clock.nowMs(), 90);
}

TEST_F(ModuleLinkTest, PausesOfZeroOrLessDoNotWait) {
  link.pauseMs(0);
  link.pauseMs(-5);
  EXPECT_TRUE(clock.pauses().empty());
  EXPECT_EQ(clock.nowMs(), 0);
  link.stopwatchStart();
  link.pauseMs(7);
  EXPECT_DOUBLE_EQ(link.stopwatchElapsedMs(), 7.0);
}

TEST_F(ModuleLinkTest, OpenPortDropsWhatArrivedBefore) {
  port.close();
  bench.replyWith("COM1:", "stale");
  link.openPort("COM1:", 115200);
  EXPECT_EQ(port.baud(), 115200);
  EXPECT_EQ(link.readUpTo(100), "");
  link.openPort("", 9600);
  EXPECT_FALSE(port.isOpen());
}

TEST(HexPairToByte, UpperAndLowerCaseDigits) {
  EXPECT_EQ(hexPairToByte('0', 'A'), 10);
  EXPECT_EQ(hexPairToByte('F', 'F'), 255);
  EXPECT_EQ(hexPairToByte('1', 'F'), 31);
  EXPECT_EQ(hexPairToByte('5', '5'), 0x55);
  EXPECT_EQ(hexPairToByte('0', 'a'), 10);
  EXPECT_EQ(hexPairToByte('4', 'a'), 0x4A);
  EXPECT_EQ(hexPairToByte('f', 'f'), 255);
  EXPECT_EQ(hexPairToByte('a', '0'), 160);
}

TEST(HexPairToByte, EndOfTextGivesAValueBelowThirtyTwo) {
  EXPECT_LT(hexPairToByte('\0', '\0'), 0);
  EXPECT_LT(hexPairToByte('\0', '7'), 0);
  EXPECT_LT(hexPairToByte("3", 0), 32);  // the second character is past the end
  EXPECT_LT(hexPairToByte("31", 2), 0);
  EXPECT_EQ(hexPairToByte("3141", 2), 0x41);
}

TEST(HexPairToByte, OnlyTwoHexDigitsMakeARegisterValue) {
  for (const char* pair : {"7F", "a0"}) EXPECT_TRUE(isHexPair(pair)) << pair;
  for (const char* other : {"7", "ZZ", "0G", "7FF"}) EXPECT_FALSE(isHexPair(other)) << other;
}

TEST(FormatGeneral, TenSignificantDigitsWithoutTrailingZeros) {
  EXPECT_EQ(formatGeneral(1.0, 10), "1");
  EXPECT_EQ(formatGeneral(1.5, 10), "1.5");
  EXPECT_EQ(formatGeneral(1.0123456789, 10), "1.012345679");
  EXPECT_EQ(formatGeneral(1234.5, 10), "1234.5");
  EXPECT_EQ(formatGeneral(9.99999999999, 10), "10");
  EXPECT_EQ(formatGeneral(0.25, 10), "0.25");
  EXPECT_EQ(formatGeneral(1234567890.0, 10), "1234567890");
  EXPECT_EQ(formatGeneral(0, 10), "0");
}

TEST(FormatGeneral, ExponentFormOnlyBelowMinusOneOrAboveNine) {
  EXPECT_EQ(formatGeneral(0.05, 10), "5e-02");
  EXPECT_EQ(formatGeneral(0.00125, 10), "1.25e-03");
  EXPECT_EQ(formatGeneral(12345678901.0, 10), "1.23456789e+10");
}

}  // namespace
