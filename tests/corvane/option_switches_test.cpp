#include <string>
#include <vector>

#include "corvane_fixture.h"

using namespace corvane_ids;
using Strings = std::vector<std::string>;
using Pauses = std::vector<int>;

namespace {

// An AB frame without an answer: 200 ms settle, six bytes 10 ms apart, then six read
// attempts of 100 ms + 100 ms.
Pauses abFramePausesWithoutAnswer() {
  Pauses p{200};
  p.insert(p.end(), 6, 10);
  p.insert(p.end(), 12, 100);
  return p;
}

}  // namespace

class OptionSwitchesTest : public CorvaneFixture {
 protected:
  void SetUp() override { openModule(); }

  std::vector<std::int64_t> writeTimes() const {
    std::vector<std::int64_t> at;
    for (const auto& e : bench.events())
      if (e.kind == FakeSerialBench::Event::kWrite) at.push_back(e.atMs);
    return at;
  }
  // Clicks the switch on a clear wire: the register copy it leaves, the state it shows
  // and the bytes the module gets.
  void expectClickSends(int id, const int& copy, int value, bool checked, const std::string& sent) {
    clearWire();
    click(id);
    EXPECT_EQ(copy, value);
    EXPECT_EQ(panel.checked(id), checked);
    EXPECT_EQ(sentBytes(), sent);
  }
};

TEST_F(OptionSwitchesTest, AudioClickFlipsBit7AndWritesRegisterAbByteByByte) {
  dlg.shadows.shadowAB = 0x00;
  click(kAudio);

  EXPECT_EQ(dlg.shadows.shadowAB, 0x80);
  EXPECT_FALSE(panel.checked(kAudio));
  EXPECT_EQ(sentWrites(), (Strings{"\r", "M", "A", "B", "8", "0"}));
  EXPECT_EQ(writeTimes(), (std::vector<std::int64_t>{200, 210, 220, 230, 240, 250}));
  EXPECT_EQ(clock.pauses(), abFramePausesWithoutAnswer());
  EXPECT_EQ(panel.text(kReceived), "");

  expectClickSends(kAudio, dlg.shadows.shadowAB, 0x00, true, "\rMAB00");
}

TEST_F(OptionSwitchesTest, ModuleThatNeverAnswersGetsTheWholeFrameAndNoCr) {
  dlg.shadows.shadowAB = 0x20;
  const auto start = clock.nowMs();
  click(kStatus);
  EXPECT_EQ(sentBytes(), "\rMAB00");
  // 200 + 60 + 6 x 200 ms: the click returns after the sixth attempt.
  EXPECT_EQ(clock.nowMs() - start, 1460);
}

TEST_F(OptionSwitchesTest, EachAnswerByteIsAnsweredWithOneCr) {
  replyWith("\x06\x06");
  click(kDebug);
  EXPECT_EQ(sentWrites(), (Strings{"\r", "M", "A", "B", "4", "0", "\r", "\r"}));
  EXPECT_EQ(bench.pendingInput(kModule), 0u);
  Pauses expected{200};
  expected.insert(expected.end(), 6, 10);
  expected.insert(expected.end(), 4, 100);  // two attempts, then the count is complete
  EXPECT_EQ(clock.pauses(), expected);
}

TEST_F(OptionSwitchesTest, EachAbSwitchFlipsOnlyItsOwnBitAndShowsTheNewState) {
  dlg.shadows.shadowAB = 0x00;
  click(kStatus);
  EXPECT_EQ(dlg.shadows.shadowAB, 0x20);
  click(kSia110);
  EXPECT_EQ(dlg.shadows.shadowAB, 0x24);
  click(kDebug);
  EXPECT_EQ(dlg.shadows.shadowAB, 0x64);
  EXPECT_TRUE(panel.checked(kStatus));
  EXPECT_TRUE(panel.checked(kSia110));
  EXPECT_TRUE(panel.checked(kDebug));

  expectClickSends(kAudio, dlg.shadows.shadowAB, 0xE4, false, "\rMABE4");

  // A click flips the bit whatever the switch showed before.
  panel.setChecked(kSia110, false);
  click(kSia110);
  EXPECT_EQ(dlg.shadows.shadowAB, 0xE0);
  EXPECT_FALSE(panel.checked(kSia110));
  EXPECT_TRUE(panel.checked(kStatus));
  EXPECT_TRUE(panel.checked(kDebug));
}

TEST_F(OptionSwitchesTest, Reduce6dbFlipsBit7ClearsBit1AndBracketsTheAcWrites) {
  dlg.shadows.shadowAC = 0x82;
  click(kReduce6db);
  EXPECT_EQ(dlg.shadows.shadowAC, 0x00);
  EXPECT_TRUE(panel.checked(kReduce6db));
  EXPECT_EQ(sentWrites(), (Strings{"W3D01", "MAC", "00", "WAC", "00", "W3D00"}));
  EXPECT_EQ(clock.pauses(), (Pauses{200, 50, 50, 50, 50}));
  EXPECT_EQ(panel.text(kReceived), "");

  dlg.shadows.shadowAC = 0x02;
  expectClickSends(kReduce6db, dlg.shadows.shadowAC, 0x80, false, "W3D01MAC80WAC80W3D00");
}

TEST_F(OptionSwitchesTest, ToneClickWritesB1TwiceAndEchoesTheStoredWrite) {
  dlg.shadows.shadowB1 = 0x00;
  dlg.display.receivedText = "ready";
  dlg.loadControls();
  click(kTone1400);
  EXPECT_EQ(dlg.shadows.shadowB1, 0x04);
  EXPECT_TRUE(panel.checked(kTone1400));
  EXPECT_EQ(sentWrites(), (Strings{"\r", "MB1", "04", "WB1", "04"}));
  EXPECT_EQ(clock.pauses(), (Pauses{200, 100, 100}));
  EXPECT_EQ(panel.text(kReceived), "readyMB104");

  click(kTone1400);
  EXPECT_EQ(dlg.shadows.shadowB1, 0x00);
  EXPECT_FALSE(panel.checked(kTone1400));
  EXPECT_EQ(panel.text(kReceived), "readyMB104MB100");
}

TEST_F(OptionSwitchesTest, DialerTimeoutIsSentByTheTickOnceTwoCharactersStand) {
  typeInto(kDialerTimeout, "0");
  EXPECT_EQ(dlg.flags.timeoutChanged, 1);
  EXPECT_EQ(clock.pauses(), (Pauses{200}));
  tick();
  EXPECT_EQ(sentBytes(), "");
  EXPECT_EQ(dlg.flags.timeoutChanged, 1);

  typeInto(kDialerTimeout, "A");
  EXPECT_EQ(sentBytes(), "");  // the edit itself never sends
  dlg.display.receivedText = "x";
  tick();
  EXPECT_EQ(sentWrites(), (Strings{"\r", "M82", "0A"}));
  EXPECT_EQ(panel.text(kReceived), "xM820Anew timeout1 value programmed\r\n");
  EXPECT_EQ(dlg.flags.timeoutChanged, 0);

  clearWire();
  tick();
  EXPECT_EQ(sentBytes(), "");
}

TEST_F(OptionSwitchesTest, ThirdDialerTimeoutCharacterHoldsTheValueBack) {
  typeInto(kDialerTimeout, "0AB");
  tick(3);
  EXPECT_EQ(sentBytes(), "");
  EXPECT_EQ(dlg.flags.timeoutChanged, 1);

  replaceText(kDialerTimeout, "1b");  // sent as typed, lower case and all
  tick();
  EXPECT_EQ(sentWrites(), (Strings{"\r", "M82", "1b"}));
}

TEST_F(OptionSwitchesTest, DialerTimeoutStepRunsInTerminalModeToo) {
  click(kTerminalEnable);
  typeInto(kDialerTimeout, "14");
  clearWire();
  tick();
  EXPECT_EQ(sentWrites(), (Strings{"\r", "M82", "14"}));
  EXPECT_EQ(dlg.flags.timeoutChanged, 0);
}

TEST_F(OptionSwitchesTest, KissoffEditSendsEveryChangeAndNothingWhenEmptied) {
  typeInto(kKissoffTime, "1");
  EXPECT_EQ(sentWrites(), (Strings{"M83", std::string("1\0", 2)}));
  EXPECT_EQ(clock.pauses(), (Pauses{200}));

  clearWire();
  typeInto(kKissoffTime, "E");
  EXPECT_EQ(sentWrites(), (Strings{"M83", "1E"}));

  clearWire();
  replaceText(kKissoffTime, "");
  EXPECT_EQ(sentBytes(), "");
  EXPECT_EQ(panel.text(kKissoffTime), "");
  EXPECT_EQ(panel.text(kReceived), "");
}
