#pragma once

// The pieces of explainAlarmMessage, one per reporting format, and the helpers they
// share. Internal to common/alarm_message*.cpp.
#include <string>
#include <string_view>

#include "common/alarm_message.h"

namespace alarm_message {

AlarmExplanation explainContactId(std::string_view message);
AlarmExplanation explainPulse(std::string_view message);
AlarmExplanation explainFskF1(std::string_view message);
AlarmExplanation explainFskF2(std::string_view message);

// Printable ASCII as it is, any other byte as <HH>, so a zero byte or a control
// character in a message is seen, not swallowed.
std::string shown(std::string_view text);
// "N characters" with the right plural.
std::string characters(std::size_t n);
// Adds a line to the detail.
void addDetail(AlarmExplanation& explanation, const std::string& line);
// Ends the summary with the first problem, if any, and keeps it to one status line.
void finishSummary(AlarmExplanation& explanation);

// The problem of a message that is not exactly `wanted` characters long, as the PC
// sends it: a shorter one is filled up after a zero byte, a longer one is cut.
void checkLength(AlarmExplanation& explanation, std::string_view format, std::size_t length,
                 std::size_t wanted);

}  // namespace alarm_message
