#pragma once

#include <cstddef>

// Control ids of Corvane's main dialog.
namespace corvane_ids {
constexpr int kTelephoneNumber = 1000;
constexpr int kAlarmMessage1 = 1001;
constexpr int kTransmit = 1002;
constexpr int kReceived = 1003;
constexpr int kAbort = 1005;
constexpr int kMultipleRun = 1006;
constexpr int kAlarmMessage2 = 1010;
constexpr int kCommport = 1011;
constexpr int kDetectPort = 1012;
constexpr int kFactoryDefault = 1013;
constexpr int kContactId = 1014;
constexpr int kFskF2 = 1015;
constexpr int kPulse4x2 = 1016;
constexpr int kAlarmMessage3 = 1017;
constexpr int kAlarmMessage4 = 1018;
constexpr int kAlarmMessage5 = 1019;
constexpr int kAlarmMessage6 = 1020;
constexpr int kAlarmMessage7 = 1021;
constexpr int kAlarmMessage8 = 1022;
constexpr int kTransmitting = 1027;
constexpr int kHexMessage = 1028;
constexpr int kAsciiMessage = 1029;
constexpr int kHexToAscii = 1030;
constexpr int kAudio = 1031;
constexpr int kKbdata = 1032;
constexpr int kTerminalEnable = 1033;
constexpr int kStatus = 1034;
constexpr int kSia110 = 1035;
constexpr int kDebug = 1036;
constexpr int kReduce6db = 1037;
constexpr int kDialerTimeout = 1038;
constexpr int kKissoffTime = 1039;
constexpr int kTone1400 = 1040;
constexpr int kFskF1 = 1041;

// The eight alarm message edits, message 1 first.
constexpr int kAlarmMessages[] = {kAlarmMessage1, kAlarmMessage2, kAlarmMessage3, kAlarmMessage4,
                                  kAlarmMessage5, kAlarmMessage6, kAlarmMessage7, kAlarmMessage8};
// The four reporting format buttons.
constexpr int kFormatButtons[] = {kContactId, kFskF1, kPulse4x2, kFskF2};

// The entry of a table of controls (each entry with an `id`) that belongs to control
// id, or null when none does.
template <class Entry, std::size_t N>
constexpr const Entry* findControl(const Entry (&table)[N], int id) {
  for (const Entry& entry : table)
    if (entry.id == id) return &entry;
  return nullptr;
}

}  // namespace corvane_ids
