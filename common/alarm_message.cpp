#include "common/alarm_message.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "common/alarm_message_parts.h"

namespace alarm_message {

namespace {

constexpr std::size_t kSummaryMaxChars = 120;
// Less room than this for the first problem, and the summary gives only their count.
constexpr std::size_t kSummaryMinProblemChars = 24;

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
  const std::size_t count = explanation.problems.size();
  // The format's own words stay whole (kSummaryKeptChars); the problem is what gives
  // way, down to a count that sends the reader to the tooltip or the log's detail.
  const std::string counted =
      " (" + std::to_string(count) + (count == 1 ? " problem)" : " problems)");
  const std::size_t keep = count == 0 ? kSummaryMaxChars : kSummaryMaxChars - counted.size();
  if (summary.size() > keep) summary = summary.substr(0, keep - 3) + "...";
  if (count == 0) return;
  std::string problem = ": " + explanation.problems.front();
  if (count > 1) problem += " (+" + std::to_string(count - 1) + " more)";
  const std::size_t room = kSummaryMaxChars - summary.size();
  if (problem.size() <= room) {
    summary += problem;
  } else if (room >= kSummaryMinProblemChars) {
    summary += problem.substr(0, room - 3) + "...";
  } else {
    summary += counted;
  }
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

void addSendingDetail(AlarmExplanation& explanation, AlarmSending sending) {
  if (sending.runMessage == 1) {
    addDetail(explanation, "message 1 of a multiple run, from its edit");
  } else if (sending.inRun()) {
    addDetail(explanation, "message " + std::to_string(sending.runMessage) +
                               " of a multiple run: the first 16 bytes of its file");
  }
}

AlarmExplanation explainPulse(std::string_view message, AlarmSending sending) {
  AlarmExplanation e;
  // Message 1 of a run goes out with 15 characters; the module reports the first 6.
  const bool fifteen = sending.runMessage == 1;
  if (!fifteen || message.size() < kPulseChars) {
    checkLength(e, "Pulse 4X2", message.size(), kPulseChars);
  } else if (message.size() > kPulseChars) {
    std::size_t unreported = std::min(message.size(), kContactIdChars) - kPulseChars;
    e.problems.push_back("message 1 of a run goes out with 15 characters and Pulse 4X2 reports "
                         "the first 6: the " + characters(unreported) + " after them are not reported" +
                         (message.size() > kContactIdChars
                              ? ", the " + characters(message.size() - kContactIdChars) +
                                    " after the 15th not sent"
                              : std::string()));
  }
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
  addSendingDetail(e, sending);
  if (fifteen) {
    addDetail(e, "sent: S and 15 characters, of which the module reports the first 6");
  } else if (!sending.inRun()) {
    addDetail(e, "in a multiple run message 1 goes out with 15 characters, of which the "
                 "module reports the first 6");
  }
  addDetail(e, "account " + shown(account));
  addDetail(e, "event " + shown(event));
  if (bad.empty() && !sent.empty()) addDetail(e, "pulses per digit: " + pulseList);
  for (const std::string& p : e.problems) addDetail(e, "problem: " + p);
  finishSummary(e);
  return e;
}

AlarmExplanation explainFskF2(std::string_view message, AlarmSending sending) {
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
  addSendingDetail(e, sending);
  addDetail(e, "bytes " + (hex.empty() ? std::string("none") : hex) + " (\"" + shown(bytes) + "\")");
  for (const std::string& p : e.problems) addDetail(e, "problem: " + p);
  finishSummary(e);
  return e;
}

}  // namespace alarm_message

namespace {

// Messages 2 to 8 of a run as the run step reads them: an empty file, or one that
// begins with X, ends the run with A and sends nothing of the message.
std::optional<AlarmExplanation> runEnd(std::string_view message, AlarmSending sending) {
  if (sending.runMessage < 2) return std::nullopt;
  std::string_view read = message.substr(0, alarm_message::kRunFileBytes);
  if (!read.empty() && read.front() != 'X') return std::nullopt;
  AlarmExplanation e;
  std::string n = std::to_string(sending.runMessage);
  e.summary = "Message " + n + " ends the run: " +
              (read.empty() ? std::string("it is empty") : std::string("it begins with X")) +
              ", nothing of it is sent";
  alarm_message::addDetail(e, e.summary);
  alarm_message::addDetail(e, "the run hangs up with A after message " +
                                  std::to_string(sending.runMessage - 1));
  alarm_message::finishSummary(e);
  return e;
}

}  // namespace

AlarmExplanation explainAlarmMessage(char protocolCode, std::string_view message,
                                     AlarmSending sending) {
  if (std::optional<AlarmExplanation> end = runEnd(message, sending)) return *end;
  switch (protocolCode) {
    case '0': return alarm_message::explainContactId(message, sending);
    case '1': return alarm_message::explainFskF1(message, sending);
    case '2': return alarm_message::explainPulse(message, sending);
    case '8': return alarm_message::explainFskF2(message, sending);
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
