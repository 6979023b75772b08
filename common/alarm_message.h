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
//   '1' SIA FSK F1   hex pairs, one K frame each (fskF1Frames), at most 14; a pair
//                    whose value is below 20 hex ends the message, and a lone last
//                    digit is not sent. a to f count as A to F.
//   '8' SIA FSK F2   eight bytes.
struct AlarmExplanation {
  std::string summary;                // one line, for a status line (at most ~120 chars)
  std::string detail;                 // several lines joined by '\n', for a tooltip
  std::vector<std::string> problems;  // one plain sentence each; empty when all is well

  bool ok() const { return problems.empty(); }
};

// How a message goes out, which decides what of it the PC sends.
struct AlarmSending {
  // 0: alone, by "go (transmit message)..."; 1 to 8: message n of a multiple run. A run
  // sends message 1 from its edit with 15 characters on the S path (Pulse 4X2 too), and
  // reads messages 2 to 8 as the first 16 bytes of their files, ending at an empty one
  // or one that begins with X.
  int runMessage = 0;

  bool inRun() const { return runMessage > 0; }
};

// protocolCode is the character the program keeps ('0', '1', '2' or '8'); any other
// code is explained as an unknown format. The explanation says what the PC sends of
// the message when it goes out as `sending` says.
AlarmExplanation explainAlarmMessage(char protocolCode, std::string_view message,
                                     AlarmSending sending = {});

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
// empty outside 100 to 699 and 900 to 999.
std::string_view contactIdEventGroup(int code);
// How receivers word the event qualifier of a code: 1 and 3 as new event and restore,
// as opening and closing (the open/close codes), or as start and end.
enum class ContactIdQualifierWords { NewRestore, OpenClose, StartEnd };
ContactIdQualifierWords contactIdQualifierWords(int code);
// Whether the last three digits of a message with this event code name a user (as
// for 121 Duress and the openings and closings by a user) rather than a zone.
bool contactIdCarriesUser(int code);

// Message bytes as the explanations show them: printable ASCII as it is, any other
// byte as <HH>, so a zero byte or a control character in a message is seen.
std::string shown(std::string_view text);

// A run reads messages 2 to 8 from their files up to this many bytes.
constexpr std::size_t kRunFileBytes = 16;

// The value Corvane's hex pair rule gives two characters: a to f count as A to F, and
// each digit is its code minus '0', less 7 more when above 9. Hex digits give 0 to
// 255; other characters give other values, a character below '0' (a zero byte among
// them) a negative one.
int fskPairValue(char high, char low);

// The K frames the PC sends for an SIA FSK F1 message: the n-th pair goes to address
// D0 + n. The one reading of a message that the sender (corvane/protocol/alarm_frames)
// and the explanation share, so what Corvane says it sends is what it sends.
struct FskF1Frames {
  enum class End {
    Text,       // no character left
    LoneDigit,  // one character left, which is not sent
    LowPair,    // a pair below 20 hex, the message's own end mark
    MostPairs,  // 14 pairs sent and characters left
  };
  struct Pair {
    std::size_t offset;  // of the pair's two characters in the message, sent as typed
    int value;           // fskPairValue of them, 20 hex or more
  };
  std::vector<Pair> pairs;
  End end = End::Text;
  std::size_t endOffset = 0;  // the first character not sent
};
FskF1Frames fskF1Frames(std::string_view message);

}  // namespace alarm_message
