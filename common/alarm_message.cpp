#include "common/alarm_message.h"

#include <cstdio>

#include "common/alarm_message_parts.h"

namespace alarm_message {

namespace {

constexpr std::size_t kSummaryMaxChars = 120;

bool isUpperHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

bool isPulseDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'B' && c <= 'F'); }

// The pulses a 4X2 digit is sent as: 0 is ten pulses, B to F eleven to fifteen.
int pulses(char c) {
  if (c == '0') return 10;
  if (c >= '1' && c <= '9') return c - '0';
  return c - 'B' + 11;
}

std::string hexByte(unsigned value) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", value & 0xFFu);
  return text;
}

}  // namespace

std::string shown(std::string_view text) {
  std::string out;
  for (char c : text) {
    auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F) {
      out += c;
    } else {
      out += "<" + hexByte(u) + ">";
    }
  }
  return out;
}

std::string characters(std::size_t n) {
  return std::to_string(n) + (n == 1 ? " character" : " characters");
}

void addDetail(AlarmExplanation& explanation, const std::string& line) {
  if (!explanation.detail.empty()) explanation.detail += '\n';
  explanation.detail += line;
}

void finishSummary(AlarmExplanation& explanation) {
  std::string& summary = explanation.summary;
  if (!explanation.problems.empty()) {
    summary += ": " + explanation.problems.front();
    if (explanation.problems.size() > 1) {
      summary += " (+" + std::to_string(explanation.problems.size() - 1) + " more)";
    }
  }
  if (summary.size() > kSummaryMaxChars) summary = summary.substr(0, kSummaryMaxChars - 3) + "...";
}

void checkLength(AlarmExplanation& explanation, std::string_view format, std::size_t length,
                 std::size_t wanted) {
  if (length < wanted) {
    explanation.problems.push_back(
        std::string(format) + " sends " + characters(wanted) + ", the message has only " +
        std::to_string(length) + ": the rest goes out as a zero byte and filler");
  } else if (length > wanted) {
    explanation.problems.push_back(std::string(format) + " sends " + characters(wanted) + ": the " +
                                   characters(length - wanted) + " after them are not sent");
  }
}

int fskPairValue(char high, char low) {
  auto digit = [](char c) {
    int d = static_cast<signed char>(c) - '0';
    return d > 9 ? d - 7 : d;
  };
  return 16 * digit(high) + digit(low);
}

AlarmExplanation explainPulse(std::string_view message) {
  AlarmExplanation e;
  checkLength(e, "Pulse 4X2", message.size(), kPulseChars);
  std::string_view sent = message.substr(0, kPulseChars);
  std::string bad;
  std::string pulseList;
  for (char c : sent) {
    if (!isPulseDigit(c)) {
      bad += shown(std::string_view(&c, 1));
      continue;
    }
    if (!pulseList.empty()) pulseList += ' ';
    pulseList += std::to_string(pulses(c));
  }
  std::string account(sent.substr(0, 4));
  std::string event(sent.size() > 4 ? sent.substr(4) : std::string_view());
  if (!bad.empty()) {
    e.problems.push_back("not pulse digits (0-9, B-F): " + bad);
  }
  e.summary = "Pulse 4X2 account " + shown(account) + ", event " + shown(event);
  addDetail(e, "Pulse 4X2: the first 6 characters, 4 of account and 2 of event");
  addDetail(e, "account " + shown(account));
  addDetail(e, "event " + shown(event));
  if (bad.empty() && !sent.empty()) addDetail(e, "pulses per digit: " + pulseList);
  for (const std::string& p : e.problems) addDetail(e, "problem: " + p);
  finishSummary(e);
  return e;
}

AlarmExplanation explainFskF2(std::string_view message) {
  AlarmExplanation e;
  if (message.size() < kFskF2Bytes) {
    e.problems.push_back("SIA FSK F2 takes 8 bytes, the message has only " +
                         std::to_string(message.size()));
  } else if (message.size() > kFskF2Bytes) {
    e.problems.push_back("SIA FSK F2 takes 8 bytes: the " +
                         characters(message.size() - kFskF2Bytes) +
                         " after them are not part of the message");
  }
  std::string_view bytes = message.substr(0, kFskF2Bytes);
  std::string hex;
  bool printable = true;
  for (char c : bytes) {
    auto u = static_cast<unsigned char>(c);
    if (!hex.empty()) hex += ' ';
    hex += hexByte(u);
    printable &= u >= 0x20 && u < 0x7F;
  }
  if (!printable) e.problems.push_back("bytes that are not printable characters: " + hex);
  e.summary = "SIA FSK F2 \"" + shown(bytes) + "\"";
  addDetail(e, "SIA FSK F2: eight bytes");
  addDetail(e, "bytes " + (hex.empty() ? std::string("none") : hex) + " (\"" + shown(bytes) + "\")");
  for (const std::string& p : e.problems) addDetail(e, "problem: " + p);
  finishSummary(e);
  return e;
}

AlarmExplanation explainFskF1(std::string_view message) {
  AlarmExplanation e;
  // The PC's K loop: pair after pair, at most 14, until a pair's value is below 20 hex;
  // past the end of the text the characters read as the terminator.
  auto at = [&](std::size_t i) { return i < message.size() ? message[i] : '\0'; };
  std::string text;
  std::string oddPairs;
  std::string nonAscii;
  std::size_t pairs = 0;
  std::size_t next = 0;
  bool stopPair = false;
  for (; pairs < kFskF1MaxPairs; ++pairs, next += 2) {
    int value = fskPairValue(at(next), at(next + 1));
    if (value < kFskF1EndBelow) {
      stopPair = next < message.size();
      break;
    }
    std::string_view pair = message.substr(next, 2);
    if (pair.size() == 2 && (!isUpperHex(pair[0]) || !isUpperHex(pair[1]))) {
      oddPairs += (oddPairs.empty() ? "" : " ") + shown(pair);
    } else if (value > 0x7E) {
      nonAscii += (nonAscii.empty() ? "" : " ") + shown(pair);
    }
    text += static_cast<char>(value & 0xFF);
  }

  std::string end = "ends with the text";
  if (pairs == 0) {
    e.problems.push_back(message.empty() ? std::string("no hex pairs: no K frame is sent")
                                         : "the first pair " + shown(message.substr(0, 2)) +
                                               " is below 20 hex: no K frame is sent");
  }
  if (pairs == kFskF1MaxPairs) {
    end = "ends after 14 pairs, the most the module holds";
    if (message.size() > 2 * kFskF1MaxPairs) {
      e.problems.push_back("SIA FSK F1 takes at most 14 pairs: the " +
                           characters(message.size() - 2 * kFskF1MaxPairs) +
                           " after the 14th pair are not sent");
    }
  } else if (stopPair && next + 1 == message.size()) {
    end = "ends at the lone last digit " + shown(message.substr(next));
    e.problems.push_back("an odd number of hex digits: the last digit " +
                         shown(message.substr(next)) + " is not sent");
  } else if (stopPair) {
    end = "ends at pair " + std::to_string(pairs + 1) + " (" + shown(message.substr(next, 2)) +
          ", below 20 hex)";
    std::size_t after = message.size() - (next + 2);
    if (after > 0) {
      e.problems.push_back("the message " + end + ": the " + characters(after) +
                           " after it are not sent");
    }
  }
  if (message.size() % 2 == 1 && !stopPair && pairs < kFskF1MaxPairs) {
    e.problems.push_back("an odd number of hex digits: the last digit " +
                         shown(message.substr(message.size() - 1)) + " goes out with a zero byte");
  }
  if (!oddPairs.empty()) {
    e.problems.push_back("not two upper-case hex digits, sent as typed: " + oddPairs);
  }
  if (!nonAscii.empty()) e.problems.push_back("pairs above 7E are no ASCII characters: " + nonAscii);

  e.summary = "SIA FSK F1 \"" + shown(text) + "\" (" + std::to_string(pairs) +
              (pairs == 1 ? " pair)" : " pairs)");
  addDetail(e, "SIA FSK F1: one K frame per hex pair, addresses D0 to DD");
  addDetail(e, "text \"" + shown(text) + "\", " + std::to_string(pairs) + " K frames");
  addDetail(e, "the message " + end);
  for (const std::string& p : e.problems) addDetail(e, "problem: " + p);
  finishSummary(e);
  return e;
}

}  // namespace alarm_message

AlarmExplanation explainAlarmMessage(char protocolCode, std::string_view message) {
  switch (protocolCode) {
    case '0': return alarm_message::explainContactId(message);
    case '1': return alarm_message::explainFskF1(message);
    case '2': return alarm_message::explainPulse(message);
    case '8': return alarm_message::explainFskF2(message);
    default: break;
  }
  AlarmExplanation e;
  std::string code = alarm_message::shown(std::string_view(&protocolCode, 1));
  e.problems.push_back("unknown reporting format " + code +
                       " (0 Contact-ID, 1 SIA FSK F1, 2 Pulse 4X2, 8 SIA FSK F2)");
  e.summary = "Format " + code;
  alarm_message::addDetail(e, "reporting format " + code + ": the module knows no such format");
  alarm_message::addDetail(e, "message \"" + alarm_message::shown(message) + "\"");
  alarm_message::finishSummary(e);
  return e;
}
