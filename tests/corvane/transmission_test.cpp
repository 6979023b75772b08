#include "corvane_fixture.h"
#include "f1_agreement.h"
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
  void SetUp() override { readyToSend(kMessage); }
  std::vector<std::string> wire() const { return wireLog(bench, clock); }
};

TEST_F(TransmissionTest, ContactIdSendsEveryFrameWithItsPauseAndShowsWhatWasSent) {
  selectFormat(&CCorvaneDlg::contactIdSelected, '0');
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
  selectFormat(&CCorvaneDlg::pulse4x2Selected, '2');
  click(kTransmit);
  Wire pulse = opening("81", '2');
  pulse.send("D").each("5551234").send("\r").send("S").each("123418", 30).send("\r").pause(30);
  EXPECT_EQ(wire(), pulse.then(closing()).items);
  EXPECT_EQ(panel.text(kTransmitting), "123418");

  selectFormat(&CCorvaneDlg::fskF2Selected, '8');
  clearWire();
  click(kTransmit);
  Wire f2 = opening("81", '8');
  f2.send("D").each("5551234").send("\r").send("S").each(kMessage, 30).send("\r").pause(30);
  EXPECT_EQ(wire(), f2.then(closing()).items);
}

TEST_F(TransmissionTest, ShortMessageIsPaddedWithZeroBytesNeverBytesBeyondIt) {
  selectFormat(&CCorvaneDlg::contactIdSelected, '0');
  dlg.alarmMessage1 = "AB";
  click(kTransmit);
  std::string sent = sentBytes();
  std::string frame = "SAB" + std::string(13, '\0') + "\r";
  EXPECT_NE(sent.find(frame), std::string::npos);
  EXPECT_EQ(panel.text(kTransmitting), "AB");
  EXPECT_EQ(dlg.display.receivedText.find('\0'), std::string::npos);
}

TEST_F(TransmissionTest, FskF1SendsKFramesFromD0WithoutCrAfterTheLast) {
  selectFormat(&CCorvaneDlg::fskF1Selected, '1');
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
  selectFormat(&CCorvaneDlg::fskF1Selected, '1');
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

// Messages for the F1 agreement: every message of up to three characters over
// characters that matter to the pair rule, then longer ones from a counter-based
// generator (splitmix64 of the message's number), so every run sees the same ones.
std::vector<std::string> f1Messages() {
  static const std::string kChars = std::string("0124AFafG ~") + '\0';
  std::vector<std::string> messages{""};
  for (std::size_t from = 0, length = 1; length <= 3; ++length) {
    std::size_t to = messages.size();
    for (std::size_t i = from; i < to; ++i)
      for (char c : kChars) messages.push_back(messages[i] + c);
    from = to;
  }
  static const std::string kMostlyHex = "0123456789ABCDEFabcdef0123456789ABCDEF1F G";
  for (std::uint64_t n = 0; n < 3000; ++n) {
    std::uint64_t z = n * 0x9E3779B97F4A7C15u;
    auto next = [&z] {
      z += 0x9E3779B97F4A7C15u;
      std::uint64_t x = z;
      x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
      x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
      return x ^ (x >> 31);
    };
    std::string m(4 + next() % 37, ' ');
    for (char& c : m) c = kMostlyHex[next() % kMostlyHex.size()];
    messages.push_back(m);
  }
  return messages;
}

TEST_F(TransmissionTest, FskF1ExplanationNamesExactlyTheKFramesSent) {
  selectFormat(&CCorvaneDlg::fskF1Selected, '1');
  std::vector<std::string> messages = f1Messages();
  for (const std::string& message : messages) {
    dlg.alarmMessage1 = message;
    clearWire();
    click(kTransmit);
    std::string differs =
        f1_agreement::disagreement(dlg.explainAlarmMessage(1), f1_agreement::kFramesIn(sentWrites()));
    ASSERT_EQ(differs, "") << "message \"" << alarm_message::shown(message) << "\"";
  }
  // "41425": two K frames, and the explanation says two pairs.
  dlg.alarmMessage1 = "41425";
  EXPECT_EQ(dlg.explainAlarmMessage(1).summary.substr(0, 30), "SIA FSK F1 \"AB\" (2 pairs): an ");

  // Messages 2 to 8 of a run go as the first 16 bytes of their files.
  for (std::size_t i = 0; i < messages.size(); i += 7) {
    const std::string& message = messages[i];
    dir.write("alarmmessage2", message);
    click(kMultipleRun);
    replyWith("MESSAGE SUCCESS\r\n");
    tick();
    clearWire();
    tick();
    AlarmExplanation e = explainAlarmMessage('1', message, AlarmSending{2});
    std::vector<std::string> frames = f1_agreement::kFramesIn(sentWrites());
    if (e.summary.rfind("Message 2 ends the run", 0) == 0) {
      EXPECT_TRUE(frames.empty()) << alarm_message::shown(message);
      continue;
    }
    ASSERT_EQ(f1_agreement::disagreement(e, frames), "") << "file \"" << alarm_message::shown(message) << "\"";
  }
}

TEST_F(TransmissionTest, SixteenDigitNumberGoesWithoutCrAndEmptyNumberAsDThenCr) {
  selectFormat(&CCorvaneDlg::contactIdSelected, '0');
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
  selectFormat(&CCorvaneDlg::contactIdSelected, '0');
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
