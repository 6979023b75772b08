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
  AlarmExplanation unknown = explainAlarmMessage('0', "123418199901001");
  EXPECT_TRUE(mentions(unknown, "event code 999 is not in the Contact-ID event list"))
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
  AlarmExplanation e = explainAlarmMessage('2', "123456");
  EXPECT_TRUE(e.ok()) << allProblems(e);
  EXPECT_EQ(e.summary, "Pulse 4X2 account 1234, event 56");
  EXPECT_NE(e.detail.find("pulses per digit: 1 2 3 4 5 6"), std::string::npos) << e.detail;
  EXPECT_NE(explainAlarmMessage('2', "B0C0DE").detail.find("11 10 12 10 13 14"), std::string::npos);

  AlarmExplanation longer = explainAlarmMessage('2', "123418313101015");
  EXPECT_TRUE(mentions(longer, "the 9 characters after them are not sent")) << allProblems(longer);
  EXPECT_EQ(longer.summary.substr(0, 32), "Pulse 4X2 account 1234, event 18");
  AlarmExplanation odd = explainAlarmMessage('2', "12A4");
  EXPECT_TRUE(mentions(odd, "has only 4")) << allProblems(odd);
  EXPECT_TRUE(mentions(odd, "not pulse digits (0-9, B-F): A")) << allProblems(odd);
}

TEST(AlarmMessage, FskF1ShowsTheTextAndWhereTheModuleStops) {
  AlarmExplanation e = explainAlarmMessage('1', "41424344");
  EXPECT_TRUE(e.ok()) << allProblems(e);
  EXPECT_EQ(e.summary, "SIA FSK F1 \"ABCD\" (4 pairs)");
  EXPECT_NE(e.detail.find("ends with the text"), std::string::npos);

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
  EXPECT_TRUE(mentions(explainAlarmMessage('1', "414"), "the last digit 4 is not sent"));
  EXPECT_TRUE(mentions(explainAlarmMessage('1', "41F"), "the last digit F goes out with a zero byte"));
  // Lower case is sent as typed; the PC's own conversion reads 4a as j.
  AlarmExplanation lower = explainAlarmMessage('1', "4a");
  EXPECT_EQ(lower.summary.substr(0, 14), "SIA FSK F1 \"j\"");
  EXPECT_TRUE(mentions(lower, "not two upper-case hex digits, sent as typed: 4a"));
  EXPECT_TRUE(mentions(explainAlarmMessage('1', "41FF"), "no ASCII characters: FF"));
}

TEST(AlarmMessage, FskF2TakesEightBytes) {
  AlarmExplanation e = explainAlarmMessage('8', "12345678");
  EXPECT_TRUE(e.ok()) << allProblems(e);
  EXPECT_EQ(e.summary, "SIA FSK F2 \"12345678\"");
  EXPECT_NE(e.detail.find("bytes 31 32 33 34 35 36 37 38"), std::string::npos) << e.detail;
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
