#include "common/alarm_message.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using alarm_message::contactIdChecksumDigit;

bool mentions(const AlarmExplanation& e, const std::string& text) {
  for (const std::string& p : e.problems) {
    if (p.find(text) != std::string::npos) return true;
  }
  return false;
}

std::string allProblems(const AlarmExplanation& e) {
  std::string all;
  for (const std::string& p : e.problems) all += p + " | ";
  return all;
}

// A message read whole: no problem, this summary, and the detail holds detailPart.
void expectWhole(char protocol, const std::string& message, const std::string& summary,
                 const std::string& detailPart) {
  SCOPED_TRACE(message);
  AlarmExplanation e = explainAlarmMessage(protocol, message);
  EXPECT_TRUE(e.ok()) << allProblems(e);
  EXPECT_EQ(e.summary, summary);
  EXPECT_NE(e.detail.find(detailPart), std::string::npos) << e.detail;
}

TEST(AlarmMessage, ContactIdReadsEveryFieldAndTheChecksumTheModuleAppends) {
  // The factory default message: a perimeter burglary restored.
  AlarmExplanation e = explainAlarmMessage('0', "123418313101015");
  EXPECT_TRUE(e.ok()) << allProblems(e);
  EXPECT_EQ(e.summary,
            "Contact-ID 1234: restore 131 Perimeter burglary, partition 01, zone 015, checksum 6");
  EXPECT_NE(e.detail.find("message type 18"), std::string::npos) << e.detail;
  EXPECT_NE(e.detail.find("event 131: Perimeter burglary (Burglary)"), std::string::npos) << e.detail;

  // Open/close events name a user and say opening or closing.
  e = explainAlarmMessage('0', "567898140102003");
  EXPECT_TRUE(e.ok()) << allProblems(e);
  EXPECT_EQ(e.summary.substr(0, 60), "Contact-ID 5678: opening 401 Open/close by user, partition 0");
  EXPECT_NE(e.summary.find("user 003"), std::string::npos);
  EXPECT_EQ(explainAlarmMessage('0', "123418660201000").summary.substr(0, 58),
            "Contact-ID 1234: previously reported, still present 602 Pe");
}

TEST(AlarmMessage, ContactIdChecksumMakesTheSixteenDigitsAMultipleOfFifteen) {
  EXPECT_EQ(contactIdChecksumDigit("123418113101015"), '8');  // 52 + 8 = 60
  EXPECT_EQ(contactIdChecksumDigit("123418313101015"), '6');  // 54 + 6
  // 0 counts as 10: a sum of 65 needs a 10, the digit 0; a sum already a multiple of
  // 15 needs a 15, the digit F.
  EXPECT_EQ(contactIdChecksumDigit("123418113100019"), '0');
  EXPECT_EQ(contactIdChecksumDigit("123418113100000"), 'F');
  // B to F count 11 to 15 (62 + 13 = 75).
  EXPECT_EQ(contactIdChecksumDigit("B23418113101015"), 'D');
  EXPECT_EQ(contactIdChecksumDigit("12341811310101"), std::nullopt);
  EXPECT_EQ(contactIdChecksumDigit("1234181131010A5"), std::nullopt);
}

TEST(AlarmMessage, ContactIdReportsWhatIsWrongWithoutCorrectingIt) {
  AlarmExplanation unknown = explainAlarmMessage('0', "123418179901001");
  EXPECT_TRUE(mentions(unknown, "event code 799 is not in the Contact-ID event list"))
      << allProblems(unknown);
  EXPECT_TRUE(mentions(explainAlarmMessage('0', "123418169001001"), "(Test/miscellaneous range)"));

  AlarmExplanation shortOne = explainAlarmMessage('0', "12341811310101");
  EXPECT_TRUE(mentions(shortOne, "has only 14: the rest goes out as a zero byte and filler"))
      << allProblems(shortOne);
  EXPECT_EQ(shortOne.summary.find("checksum 8"), std::string::npos);
  EXPECT_EQ(explainAlarmMessage('0', "1234").summary.substr(0, 50),
            "Contact-ID 1234: event -, partition -, zone -: Con");
  EXPECT_TRUE(mentions(explainAlarmMessage('0', "1234181131010159"), "the 1 character after them are not sent"));

  AlarmExplanation letters = explainAlarmMessage('0', "12A41811x101015");
  EXPECT_TRUE(mentions(letters, "account 12A4: not a Contact-ID digit: A")) << allProblems(letters);
  EXPECT_TRUE(mentions(letters, "event code 1x1: not a Contact-ID digit: x")) << allProblems(letters);
  EXPECT_NE(letters.detail.find("checksum: none can be worked out"), std::string::npos);
  EXPECT_TRUE(mentions(explainAlarmMessage('0', "123417113101015"), "message type 17"));
  EXPECT_TRUE(mentions(explainAlarmMessage('0', "123418213101015"), "event qualifier 2"));
  // The summary still fits a status line and says what is wrong first.
  EXPECT_LE(letters.summary.size(), 120u);
  EXPECT_NE(letters.summary.find("not a Contact-ID digit"), std::string::npos) << letters.summary;
}

TEST(AlarmMessage, PulseTakesTheFirstSixCharacters) {
  expectWhole('2', "123456", "Pulse 4X2 account 1234, event 56", "pulses per digit: 1 2 3 4 5 6");
  EXPECT_NE(explainAlarmMessage('2', "B0C0DE").detail.find("11 10 12 10 13 14"), std::string::npos);

  AlarmExplanation longer = explainAlarmMessage('2', "123418313101015");
  EXPECT_TRUE(mentions(longer, "the 9 characters after them are not sent")) << allProblems(longer);
  EXPECT_EQ(longer.summary.substr(0, 32), "Pulse 4X2 account 1234, event 18");
  AlarmExplanation odd = explainAlarmMessage('2', "12A4");
  EXPECT_TRUE(mentions(odd, "has only 4")) << allProblems(odd);
  EXPECT_TRUE(mentions(odd, "not pulse digits (0-9, B-F): A")) << allProblems(odd);
}

TEST(AlarmMessage, FskF1ShowsTheTextAndWhereTheModuleStops) {
  expectWhole('1', "41424344", "SIA FSK F1 \"ABCD\" (4 pairs)", "ends with the text");

  AlarmExplanation stopped = explainAlarmMessage('1', "41421F44");
  EXPECT_EQ(stopped.summary.substr(0, 27), "SIA FSK F1 \"AB\" (2 pairs): ");
  EXPECT_TRUE(mentions(stopped, "ends at pair 3 (1F, below 20 hex): the 2 characters after it are not sent"))
      << allProblems(stopped);
  // A pair below 20 hex as the last one is the message's own end mark.
  EXPECT_TRUE(explainAlarmMessage('1', "414200").ok());

  AlarmExplanation fifteen = explainAlarmMessage('1', std::string(30, '4'));
  EXPECT_EQ(fifteen.summary.substr(0, 43), "SIA FSK F1 \"DDDDDDDDDDDDDD\" (14 pairs): SIA");
  EXPECT_TRUE(mentions(fifteen, "the 2 characters after the 14th pair are not sent"));
  EXPECT_TRUE(explainAlarmMessage('1', std::string(28, '4')).ok());

  EXPECT_TRUE(mentions(explainAlarmMessage('1', ""), "no K frame is sent"));
  EXPECT_TRUE(mentions(explainAlarmMessage('1', "00"), "the first pair 00 is below 20 hex: no K frame is sent"));
  // A lone last digit is no pair: no frame goes for it.
  EXPECT_TRUE(mentions(explainAlarmMessage('1', "414"), "the last digit 4 is not sent"));
  AlarmExplanation lone = explainAlarmMessage('1', "41425");
  EXPECT_EQ(lone.summary.substr(0, 26), "SIA FSK F1 \"AB\" (2 pairs):");
  EXPECT_NE(lone.detail.find("2 K frames: KD041 KD142\n"), std::string::npos) << lone.detail;
  EXPECT_TRUE(mentions(explainAlarmMessage('1', "5"), "the last digit 5 is not sent, so no K frame"));
  // Lower case is sent as typed and counts as upper case, as the sender reads it.
  expectWhole('1', "4a4B", "SIA FSK F1 \"JK\" (2 pairs)", "KD04a KD14B");
  EXPECT_TRUE(mentions(explainAlarmMessage('1', "4G"), "not two hex digits, sent as typed: 4G"));
  EXPECT_TRUE(mentions(explainAlarmMessage('1', "41FF"), "no ASCII characters: FF"));
}

TEST(AlarmMessage, ContactIdReadsAsReceiversDo) {
  // B to F are DTMF digits of the partition, the zone and the event code too.
  AlarmExplanation hex = explainAlarmMessage('0', "1234181131BCDEF");
  EXPECT_TRUE(hex.ok()) << allProblems(hex);
  EXPECT_NE(hex.summary.find("partition BC, zone DEF, checksum "), std::string::npos) << hex.summary;
  EXPECT_TRUE(mentions(explainAlarmMessage('0', "1234181B3101015"), "event code B31 is not in the"));
  EXPECT_TRUE(mentions(explainAlarmMessage('0', "123418B13101015"), "event qualifier B: not a Contact-ID digit"));

  // The qualifier reads opening/closing for the openings and closings only; the zone
  // or user is named per event code.
  struct Case {
    const char* message;
    const char* start;
  };
  for (const Case& c : {
           Case{"123418142101003", "Contact-ID 1234: new event 421 Access denied, partition 01, user 003"},
           Case{"123418342101003", "Contact-ID 1234: restore 421 Access denied, partition 01, user 003"},
           Case{"123418340101003", "Contact-ID 1234: closing 401 Open/close by user, partition 01, user 003"},
           Case{"123418144101003", "Contact-ID 1234: opening 441 Armed stay, partition 01, user 003"},
           Case{"123418142601012", "Contact-ID 1234: new event 426 Access door propped open, partition 01, zone 012"},
           Case{"123418112101005", "Contact-ID 1234: new event 121 Duress, partition 01, user 005"},
           Case{"123418113001005", "Contact-ID 1234: new event 130 Burglary, partition 01, zone 005"},
           Case{"123418190101002", "Contact-ID 1234: start 901 Download start/end, partition 01, user 002"},
           Case{"123418199900000", "Contact-ID 1234: new event 999 1 and 1/3 day no read log, partition 00"},
       }) {
    AlarmExplanation e = explainAlarmMessage('0', c.message);
    EXPECT_TRUE(e.ok()) << c.message << ": " << allProblems(e);
    EXPECT_EQ(e.summary.substr(0, std::string(c.start).size()), c.start) << e.summary;
  }

  // The status line keeps the checksum: a long event name gives way, and a problem
  // after it is what is cut.
  AlarmExplanation longOne = explainAlarmMessage('0', "BCDE17642701001");
  EXPECT_LE(longOne.summary.size(), 120u);
  EXPECT_NE(longOne.summary.find(", zone 001, checksum "), std::string::npos) << longOne.summary;
  EXPECT_NE(longOne.summary.find(" 427 Access poin..., "), std::string::npos) << longOne.summary;
  EXPECT_EQ(longOne.summary.substr(longOne.summary.size() - 12), " (1 problem)");
  EXPECT_TRUE(mentions(longOne, "message type 17"));
}

TEST(AlarmMessage, ARunsMessagesAreExplainedAsTheRunSendsThem) {
  // Message 1 of a run goes with 15 characters, of which Pulse 4X2 reports 6.
  AlarmExplanation first = explainAlarmMessage('2', "123456789", AlarmSending{1});
  EXPECT_TRUE(mentions(first, "the 3 characters after them are not reported")) << allProblems(first);
  EXPECT_FALSE(mentions(first, "not sent"));
  EXPECT_TRUE(explainAlarmMessage('2', "123456", AlarmSending{1}).ok());

  // Messages 2 to 8 are the first 16 bytes of their files: at most 8 F1 pairs.
  AlarmExplanation later = explainAlarmMessage('1', "41424344454647484950", AlarmSending{3});
  EXPECT_EQ(later.summary.substr(0, 32), "SIA FSK F1 \"ABCDEFGH\" (8 pairs):");
  EXPECT_TRUE(mentions(later, "a run reads the first 16 characters of message 3, at most 8 pairs: "
                              "the 4 characters after them are not sent"))
      << allProblems(later);
  EXPECT_TRUE(explainAlarmMessage('1', "41424344454647484950").ok());

  // An empty file, or one that begins with X, ends the run.
  AlarmExplanation empty = explainAlarmMessage('0', "", AlarmSending{4});
  EXPECT_TRUE(empty.ok());
  EXPECT_EQ(empty.summary, "Message 4 ends the run: it is empty, nothing of it is sent");
  EXPECT_EQ(explainAlarmMessage('1', "X4", AlarmSending{2}).summary,
            "Message 2 ends the run: it begins with X, nothing of it is sent");
}

TEST(AlarmMessage, FskF2TakesEightBytes) {
  expectWhole('8', "12345678", "SIA FSK F2 \"12345678\"", "bytes 31 32 33 34 35 36 37 38");
  EXPECT_TRUE(mentions(explainAlarmMessage('8', "1234"), "has only 4"));
  EXPECT_TRUE(mentions(explainAlarmMessage('8', "123456789"), "the 1 character after them"));
  AlarmExplanation control = explainAlarmMessage('8', std::string("1234\x01" "678", 8));
  EXPECT_TRUE(mentions(control, "not printable characters: 31 32 33 34 01 36 37 38"));
  EXPECT_NE(control.summary.find("<01>"), std::string::npos);
}

TEST(AlarmMessage, AnUnknownFormatIsSaidSoAndEverySummaryFitsAStatusLine) {
  AlarmExplanation e = explainAlarmMessage('5', "123456");
  EXPECT_FALSE(e.ok());
  EXPECT_EQ(e.summary.substr(0, 35), "Format 5: unknown reporting format ");
  std::string noise(400, '\x07');
  for (char code : {'0', '1', '2', '8', '\0'}) {
    EXPECT_LE(explainAlarmMessage(code, noise).summary.size(), 120u) << code;
    EXPECT_LE(explainAlarmMessage(code, "").summary.size(), 120u) << code;
    EXPECT_FALSE(explainAlarmMessage(code, "").ok()) << code;
  }
}

}  // namespace
