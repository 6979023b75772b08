#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What an alarm message means to a monitoring station, for the four reporting formats
// the module sends, and what is wrong with it. Read-only: it never changes a message;
// the bytes on the wire stay those the programs send.
//
// The message is the text as the operator typed it (the S frame's characters, or for
// SIA FSK F1 the hex pairs that go into the K frames). What the PC does with it:
//   '0' Contact-ID   15 characters after S; a shorter message is filled up with a zero
//                    byte and filler, a longer one is cut after 15. The module appends
//                    the checksum digit.
//   '2' Pulse 4X2    the first 6 characters (4 account digits, 2 event digits).
//   '1' SIA FSK F1   hex pairs, one K frame each, at most 14; a pair whose value is
//                    below 20 hex (the end of the text among them) ends the message.
//   '8' SIA FSK F2   eight bytes.
struct AlarmExplanation {
  std::string summary;                // one line, for a status line (at most ~120 chars)
  std::string detail;                 // several lines joined by '\n', for a tooltip
  std::vector<std::string> problems;  // one plain sentence each; empty when all is well

  bool ok() const { return problems.empty(); }
};

// protocolCode is the character the program keeps ('0', '1', '2' or '8'); any other
// code is explained as an unknown format.
AlarmExplanation explainAlarmMessage(char protocolCode, std::string_view message);

namespace alarm_message {

constexpr std::size_t kContactIdChars = 15;
constexpr std::size_t kPulseChars = 6;
constexpr std::size_t kFskF1MaxPairs = 14;
constexpr std::size_t kFskF2Bytes = 8;
// A pair below this ends an SIA FSK F1 message.
constexpr int kFskF1EndBelow = 0x20;

// The value a Contact-ID digit counts in the checksum: '1' to '9' as themselves, '0'
// as 10, 'B' to 'F' as 11 to 15; nullopt for anything else ('A' included).
std::optional<int> contactIdDigitValue(char c);
// The checksum digit the module appends to 15 Contact-ID characters, so that the sum of
// all 16 values is a multiple of 15 ('1' to '9', '0' for 10, 'B' to 'F'); nullopt when
// a character has no digit value or there are not exactly 15.
std::optional<char> contactIdChecksumDigit(std::string_view fifteen);
// The name of a Contact-ID event code (100 to 699) in the standard event list; empty
// for a code the list does not hold.
std::string_view contactIdEventName(int code);
// The group of the list a code falls in ("Burglary", "Troubles", "Open/close"...);
// empty outside 100 to 699.
std::string_view contactIdEventGroup(int code);

// The value Corvane's hex pair rule gives two characters: each digit is its code minus
// '0', less 7 more when above 9. Upper-case hex gives 0 to 255; other characters give
// other values, a character below '0' (the end of the text) a negative one.
int fskPairValue(char high, char low);

}  // namespace alarm_message
