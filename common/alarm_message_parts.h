#pragma once

// The pieces of explainAlarmMessage, one per reporting format, and the helpers they
// share. Internal to common/alarm_message*.cpp.
#include <string>
#include <string_view>

#include "common/alarm_message.h"

namespace alarm_message {

AlarmExplanation explainContactId(std::string_view message, AlarmSending sending);
AlarmExplanation explainPulse(std::string_view message, AlarmSending sending);
AlarmExplanation explainFskF1(std::string_view message, AlarmSending sending);
AlarmExplanation explainFskF2(std::string_view message, AlarmSending sending);

// "N characters" with the right plural.
std::string characters(std::size_t n);
// Adds a line to the detail.
void addDetail(AlarmExplanation& explanation, const std::string& line);
// Adds a line saying which message of a run it is, when it is one.
void addSendingDetail(AlarmExplanation& explanation, AlarmSending sending);
// Ends the summary with the first problem, if any, and keeps it to one status line
// (120 characters): a summary of at most kSummaryKeptChars stays whole, and the
// problem is cut, or only counted, to fit after it.
constexpr std::size_t kSummaryKeptChars = 106;
void finishSummary(AlarmExplanation& explanation);

// The problem of a message that is not exactly `wanted` characters long, as the PC
// sends it: a shorter one is filled up after a zero byte, a longer one is cut.
void checkLength(AlarmExplanation& explanation, std::string_view format, std::size_t length,
                 std::size_t wanted);

}  // namespace alarm_message
