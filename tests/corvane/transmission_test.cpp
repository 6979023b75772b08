#include "corvane_fixture.h"
#include "wire_log.h"

using namespace corvane_ids;

namespace {

const std::string kMessage = "123418113001003";  // 15 characters

// CR, W3D01, the AC write and the format, as every single transmission begins.
Wire opening(const std::string& acDigits, char code) {
  Wire w;
  w.send("\r").pause(50).send("W3D01").pause(50);
  w.send("WAC").send(acDigits).send("\r").pause(100);
  w.send("W7F0").send(std::string(1, code)).send("\r").pause(100).send("\r").pause(100);
  return w;
}

Wire closing() { return Wire().send("W3D00").pause(50).send("G"); }

}  // namespace

class TransmissionTest : public CorvaneFixture {
 protected:
  void SetUp() override {
    openModule();
    dlg.telephoneNumber = "5551234";
    dlg.alarmMessage1 = kMessage;
    dlg.shadows.shadowAC = 0x81;
  }
  void select(int CCorvaneDlg::*field, char code) {
    dlg.*field = 0;
    dlg.protocolCode = code;
  }
  std::vector<std::string> wire() const { return wireLog(bench, clock); }
};

TEST_F(TransmissionTest, ContactIdSendsEveryFrameWithItsPauseAndShowsWhatWasSent) {
  select(&CCorvaneDlg::contactIdSelected, '0');
  dlg.shadows.shadowAC = 0x83;
  click(kTransmit);

  Wire expected = opening("81", '0');
  expected.send("D").each("5551234").send("\r");
  expected.send("S").each(kMessage, 30).send("\r").pause(30).then(closing());
  EXPECT_EQ(wire(), expected.items);
  EXPECT_EQ(dlg.shadows.shadowAC, 0x81);
  EXPECT_EQ(panel.text(kReceived), "WAC81\rW7F00D5551234\r\ntestingS" + kMessage);
  EXPECT_EQ(panel.text(kTransmitting), kMessage);
  EXPECT_EQ(panel.text(kReceived), dlg.display.receivedText);
  EXPECT_EQ(panel.text(kTransmitting), kMessage);
}

TEST_F(TransmissionTest, PulseSendsSixCharactersAndFskF2Fifteen) {
  select(&CCorvaneDlg::pulse4x2Selected, '2');
  click(kTransmit);
  Wire pulse = opening("81", '2');
  pulse.send("D").each("5551234").send("\r").send("S").each("123418", 30).send("\r").pause(30);
  EXPECT_EQ(wire(), pulse.then(closing()).items);
  EXPECT_EQ(panel.text(kTransmitting), "123418");

  dlg.pulse4x2Selected = 1;
  select(&CCorvaneDlg::fskF2Selected, '8');
  clearWire();
  click(kTransmit);
  Wire f2 = opening("81", '8');
  f2.send("D").each("5551234").send("\r").send("S").each(kMessage, 30).send("\r").pause(30);
  EXPECT_EQ(wire(), f2.then(closing()).items);
}

TEST_F(TransmissionTest, ShortMessageIsPaddedWithZeroBytesNeverBytesBeyondIt) {
  select(&CCorvaneDlg::contactIdSelected, '0');
  dlg.alarmMessage1 = "AB";
  click(kTransmit);
  std::string sent = sentBytes();
  std::string frame = "SAB" + std::string(13, '\0') + "\r";
  EXPECT_NE(sent.find(frame), std::string::npos);
  EXPECT_EQ(panel.text(kTransmitting), "AB");
  EXPECT_EQ(dlg.display.receivedText.find('\0'), std::string::npos);
}

TEST_F(TransmissionTest, FskF1SendsKFramesFromD0WithoutCrAfterTheLast) {
  select(&CCorvaneDlg::fskF1Selected, '1');
  dlg.alarmMessage1 = "41424344";
  click(kTransmit);
  Wire expected = opening("81", '1');
  expected.send("D").each("5551234").send("\r").send("\r").pause(10);
  for (auto [address, pair] : {std::pair{"D0", "41"}, {"D1", "42"}, {"D2", "43"}, {"D3", "44"}})
    expected.send("K").send(address).send(pair).pause(100);
  EXPECT_EQ(wire(), expected.then(closing()).items);
  EXPECT_EQ(panel.text(kTransmitting), "41424344");
  EXPECT_EQ(panel.text(kReceived), "WAC81\rW7F01D5551234\r\nKD041KD142KD243KD344");
}

TEST_F(TransmissionTest, FskF1MessageEndsAtFourteenPairsALowPairOrALoneDigit) {
  select(&CCorvaneDlg::fskF1Selected, '1');
  auto framesFor = [this](const std::string& message) {
    dlg.alarmMessage1 = message;
    clearWire();
    click(kTransmit);
    std::string sent = sentBytes();
    std::vector<std::string> frames;
    for (std::size_t at = sent.find('K'); at != std::string::npos; at = sent.find('K', at + 1))
      frames.push_back(sent.substr(at, 5));
    return frames;
  };
  std::vector<std::string> fourteen = framesFor(std::string(30, '5'));
  ASSERT_EQ(fourteen.size(), 14u);
  EXPECT_EQ(fourteen.front(), "KD055");
  EXPECT_EQ(fourteen.back(), "KDD55");
  EXPECT_EQ(framesFor("41421F44"), (std::vector<std::string>{"KD041", "KD142"}));
  // "9" and the end of the text would read as 60 hex: a lone digit is not a pair.
  EXPECT_EQ(framesFor("41429"), (std::vector<std::string>{"KD041", "KD142"}));
  EXPECT_TRUE(framesFor("").empty());
  EXPECT_TRUE(framesFor("1F41").empty());
}

TEST_F(TransmissionTest, SixteenDigitNumberGoesWithoutCrAndEmptyNumberAsDThenCr) {
  select(&CCorvaneDlg::contactIdSelected, '0');
  dlg.telephoneNumber = "01234567890123456789";
  click(kTransmit);
  EXPECT_NE(sentBytes().find("D0123456789012345S"), std::string::npos);
  EXPECT_NE(dlg.display.receivedText.find("D0123456789012345testing"), std::string::npos);

  dlg.telephoneNumber.clear();
  clearWire();
  click(kTransmit);
  EXPECT_NE(sentBytes().find("\r\rD\rS"), std::string::npos);
}

TEST_F(TransmissionTest, RunBitOfAcIsClearedAndRunStateLeftAlone) {
  select(&CCorvaneDlg::contactIdSelected, '0');
  dlg.shadows.shadowAC = 0x02;
  dlg.run.runRemaining = 5;
  dlg.delivery.successSeen = 1;
  dlg.delivery.tickCount = 7;
  click(kTransmit);
  EXPECT_EQ(wire()[5], "00");
  EXPECT_EQ(dlg.shadows.shadowAC, 0);
  EXPECT_EQ(dlg.run.runRemaining, 5);
  EXPECT_EQ(dlg.delivery.successSeen, 1);
  EXPECT_EQ(dlg.delivery.tickCount, 7);
}
