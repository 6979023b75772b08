#include "corvane/protocol/frames.h"
#include "corvane_fixture.h"
#include "wire_log.h"

TEST(ByteToHexPair, GivesTwoUpperCaseDigits) {
  EXPECT_EQ(frames::byteToHexPair(0), "00");
  EXPECT_EQ(frames::byteToHexPair(10), "0A");
  EXPECT_EQ(frames::byteToHexPair(208), "D0");
  EXPECT_EQ(frames::byteToHexPair(255), "FF");
}

class WriteOptionRegisterTest : public CorvaneFixture {
 protected:
  void SetUp() override { openModule(); }
  ModuleLink link{port, clock};
  static Wire frame() {
    Wire w;
    return w.each("\rM820A", 10);
  }
};

TEST_F(WriteOptionRegisterTest, WithoutAcknowledgementSendsNoCrAfterTheFrame) {
  EXPECT_EQ(frames::writeOptionRegister(link, "82", "0A"), 0);
  Wire expected = frame();
  for (int i = 0; i < 12; ++i) expected.pause(100);
  EXPECT_EQ(wireLog(bench, clock), expected.items);
  EXPECT_EQ(clock.totalPausedMs(), 60 + 6 * 200);
}

TEST_F(WriteOptionRegisterTest, EachAcknowledgementByteIsAnsweredWithCr) {
  replyWith("xyz");
  EXPECT_EQ(frames::writeOptionRegister(link, "82", "0A"), 2);
  Wire expected = frame();
  expected.pause(100).send("\r").pause(100).pause(100).send("\r").pause(100);
  EXPECT_EQ(wireLog(bench, clock), expected.items);
  EXPECT_EQ(bench.pendingInput(kModule), 1u);

  clearWire();  // the leftover byte is the one acknowledgement of the next write
  EXPECT_EQ(frames::writeOptionRegister(link, "82", "0A"), 1);
  EXPECT_EQ(clock.totalPausedMs(), 60 + 6 * 200);
}
