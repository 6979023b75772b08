// The Contact-ID event list: the codes alarm panels send, with the names monitoring
// stations show for them, from 100 (medical) to 654 (system inactivity), and the 900s
// (download, remote programming and miscellaneous) that receivers widely list beside
// them. Taken from the public standard, SIA DC-05-1999.09 "Ademco Contact ID Protocol
// for Alarm System Communications" (its event code table, which also marks each code
// as carrying a zone or a user), and from receivers' published event code tables for
// the wording of the qualifier and the codes beyond 654.
#include <algorithm>
#include <iterator>

#include "common/alarm_message.h"

namespace alarm_message {

namespace {

struct EventName {
  int code;
  std::string_view name;
};

// Sorted by code.
constexpr EventName kEvents[] = {
    // Medical
    {100, "Medical"}, {101, "Personal emergency"}, {102, "Fail to report in"},
    // Fire
    {110, "Fire"}, {111, "Smoke"}, {112, "Combustion"}, {113, "Water flow"}, {114, "Heat"},
    {115, "Pull station"}, {116, "Duct"}, {117, "Flame"}, {118, "Fire near alarm"},
    // Panic
    {120, "Panic"}, {121, "Duress"}, {122, "Silent panic"}, {123, "Audible panic"},
    {124, "Duress, access granted"}, {125, "Duress, egress granted"},
    // Burglary
    {130, "Burglary"}, {131, "Perimeter burglary"}, {132, "Interior burglary"},
    {133, "24 hour (safe)"}, {134, "Entry/exit"}, {135, "Day/night"}, {136, "Outdoor"},
    {137, "Tamper"}, {138, "Burglary near alarm"}, {139, "Intrusion verifier"},
    // General alarm
    {140, "General alarm"}, {141, "Polling loop open"}, {142, "Polling loop short"},
    {143, "Expansion module failure"}, {144, "Sensor tamper"}, {145, "Expansion module tamper"},
    {146, "Silent burglary"}, {147, "Sensor supervision failure"},
    // 24 hour non-burglary
    {150, "24 hour non-burglary"}, {151, "Gas detected"}, {152, "Refrigeration"},
    {153, "Loss of heat"}, {154, "Water leakage"}, {155, "Foil break"}, {156, "Day trouble"},
    {157, "Low bottled gas level"}, {158, "High temperature"}, {159, "Low temperature"},
    {161, "Loss of air flow"}, {162, "Carbon monoxide detected"}, {163, "Tank level"},
    // Fire supervisory
    {200, "Fire supervisory"}, {201, "Low water pressure"}, {202, "Low CO2"},
    {203, "Gate valve sensor"}, {204, "Low water level"}, {205, "Pump activated"},
    {206, "Pump failure"},
    // System troubles
    {300, "System trouble"}, {301, "AC loss"}, {302, "Low system battery"},
    {303, "RAM checksum bad"}, {304, "ROM checksum bad"}, {305, "System reset"},
    {306, "Panel programming changed"}, {307, "Self-test failure"}, {308, "System shutdown"},
    {309, "Battery test failure"}, {310, "Ground fault"}, {311, "Battery missing/dead"},
    {312, "Power supply overcurrent"}, {313, "Engineer reset"},
    // Sounder and relay troubles
    {320, "Sounder/relay"}, {321, "Bell 1"}, {322, "Bell 2"}, {323, "Alarm relay"},
    {324, "Trouble relay"}, {325, "Reversing relay"}, {326, "Notification appliance circuit 3"},
    {327, "Notification appliance circuit 4"},
    // System peripheral troubles
    {330, "System peripheral trouble"}, {331, "Polling loop open"}, {332, "Polling loop short"},
    {333, "Expansion module failure"}, {334, "Repeater failure"},
    {335, "Local printer out of paper"}, {336, "Local printer failure"},
    {337, "Expansion module DC loss"}, {338, "Expansion module low battery"},
    {339, "Expansion module reset"}, {341, "Expansion module tamper"},
    {342, "Expansion module AC loss"}, {343, "Expansion module self-test failure"},
    {344, "RF receiver jam detect"},
    // Communication troubles
    {350, "Communication trouble"}, {351, "Telco 1 fault"}, {352, "Telco 2 fault"},
    {353, "Long range radio transmitter fault"}, {354, "Failure to communicate event"},
    {355, "Loss of radio supervision"}, {356, "Loss of central polling"},
    {357, "Long range radio VSWR problem"},
    // Protection loop troubles
    {370, "Protection loop"}, {371, "Protection loop open"}, {372, "Protection loop short"},
    {373, "Fire trouble"}, {374, "Exit error alarm (zone)"}, {375, "Panic zone trouble"},
    {376, "Hold-up zone trouble"}, {377, "Swinger trouble"}, {378, "Cross-zone trouble"},
    // Sensor troubles
    {380, "Sensor trouble"}, {381, "Loss of supervision, RF"}, {382, "Loss of supervision, RPM"},
    {383, "Sensor tamper"}, {384, "RF low battery"}, {385, "Smoke detector high sensitivity"},
    {386, "Smoke detector low sensitivity"}, {387, "Intrusion detector high sensitivity"},
    {388, "Intrusion detector low sensitivity"}, {389, "Sensor self-test failure"},
    {391, "Sensor watch trouble"}, {392, "Drift compensation error"},
    {393, "Maintenance alert"},
    // Open and close
    {400, "Open/close"}, {401, "Open/close by user"}, {402, "Group open/close"},
    {403, "Automatic open/close"}, {404, "Late to open/close"}, {405, "Deferred open/close"},
    {406, "Cancel"}, {407, "Remote arm/disarm"}, {408, "Quick arm"},
    {409, "Keyswitch open/close"},
    // Remote access
    {411, "Callback request made"}, {412, "Successful download/access"},
    {413, "Unsuccessful access"}, {414, "System shutdown command received"},
    {415, "Dialer shutdown command received"}, {416, "Successful upload"},
    // Access control
    {421, "Access denied"}, {422, "Access report by user"}, {423, "Forced access"},
    {424, "Egress denied"}, {425, "Egress granted"}, {426, "Access door propped open"},
    {427, "Access point door status monitor trouble"},
    {428, "Access point request to exit trouble"}, {429, "Access program mode entry"},
    {430, "Access program mode exit"}, {431, "Access threat level change"},
    {432, "Access relay/trigger failure"}, {433, "Access RTE shunt"},
    {434, "Access DSM shunt"},
    // Arming in stay mode
    {441, "Armed stay"}, {442, "Keyswitch armed stay"},
    // Exceptions of open and close
    {450, "Exception open/close"}, {451, "Early open/close"}, {452, "Late open/close"},
    {453, "Failed to open"}, {454, "Failed to close"}, {455, "Auto-arm failed"},
    {456, "Partial arm"}, {457, "Exit error (user)"}, {458, "User on premises"},
    {459, "Recent close"}, {461, "Wrong code entry"}, {462, "Legal code entry"},
    {463, "Re-arm after alarm"}, {464, "Auto-arm time extended"}, {465, "Panic alarm reset"},
    {466, "Service on/off premises"},
    // Disables
    {501, "Access reader disable"}, {520, "Sounder/relay disable"}, {521, "Bell 1 disable"},
    {522, "Bell 2 disable"}, {523, "Alarm relay disable"}, {524, "Trouble relay disable"},
    {525, "Reversing relay disable"}, {526, "Notification appliance circuit 3 disable"},
    {527, "Notification appliance circuit 4 disable"}, {531, "Module added"},
    {532, "Module removed"}, {551, "Dialer disabled"}, {552, "Radio transmitter disabled"},
    {553, "Remote upload/download disabled"},
    // Bypasses
    {570, "Zone/sensor bypass"}, {571, "Fire bypass"}, {572, "24 hour zone bypass"},
    {573, "Burglary bypass"}, {574, "Group bypass"}, {575, "Swinger bypass"},
    {576, "Access zone shunt"}, {577, "Access point bypass"},
    // Tests
    {601, "Manual trigger test report"}, {602, "Periodic test report"},
    {603, "Periodic RF transmission"}, {604, "Fire test"}, {605, "Status report to follow"},
    {606, "Listen-in to follow"}, {607, "Walk test mode"},
    {608, "Periodic test, system trouble present"}, {609, "Video transmitter active"},
    {611, "Point tested OK"}, {612, "Point not tested"}, {613, "Intrusion zone walk tested"},
    {614, "Fire zone walk tested"}, {615, "Panic zone walk tested"}, {616, "Service request"},
    // Event log and programming
    {621, "Event log reset"}, {622, "Event log 50% full"}, {623, "Event log 90% full"},
    {624, "Event log overflow"}, {625, "Time/date reset"}, {626, "Time/date inaccurate"},
    {627, "Program mode entry"}, {628, "Program mode exit"}, {629, "32 hour event log marker"},
    {630, "Schedule change"}, {631, "Exception schedule change"},
    {632, "Access schedule change"},
    // Miscellaneous
    {641, "Senior watch trouble"}, {642, "Latch-key supervision"},
    {654, "System inactivity"},
    // Download, remote programming and miscellaneous, as receivers list them
    {900, "Download abort"}, {901, "Download start/end"}, {902, "Download interrupted"},
    {910, "Auto-close with bypass"}, {911, "Bypass closing"}, {912, "Fire alarm silenced"},
    {913, "Supervisory point test start/end"}, {914, "Hold-up test start/end"},
    {915, "Burglary test print start/end"}, {916, "Supervisory test print start/end"},
    {917, "Burglary diagnostics start/end"}, {918, "Fire diagnostics start/end"},
    {919, "Untyped diagnostics"}, {920, "Trouble closing"},
    {921, "Access denied, code unknown"}, {922, "Supervisory point alarm"},
    {923, "Supervisory point bypass"}, {924, "Supervisory point trouble"},
    {925, "Hold-up point bypass"}, {926, "AC failure for 4 hours"}, {927, "Output trouble"},
    {928, "User code for event"}, {929, "Log-off"}, {954, "Central station connection failure"},
    {961, "Receiver database connection failure"}, {962, "License expiration notice"},
    {999, "1 and 1/3 day no read log"},
};

// The codes whose last three digits name a user; every other code names a zone (or
// nothing, as 000). Sorted.
constexpr int kUserCodes[] = {
    121, 313, 400, 401, 402, 403, 404, 405, 406, 407, 408, 411, 412, 413, 414, 415,
    421, 422, 424, 425, 429, 430, 431, 441, 450, 451, 452, 453, 454, 455, 456, 457,
    458, 459, 462, 463, 464, 466, 574, 604, 607, 625, 642, 900, 901, 902, 913, 914,
    915, 916, 917, 918, 921, 928, 929,
};

// The openings and closings: qualifier 1 reads as an opening (disarmed), 3 as a
// closing (armed). Access control, remote access and the rest of the 400s read as new
// event and restore, as receivers show them (421 "Access denied" is no closing).
constexpr int kOpenCloseCodes[] = {
    400, 401, 402, 403, 404, 405, 407, 408, 409, 441, 442,
    450, 451, 452, 453, 454, 455, 456, 457, 458, 459, 463, 464, 910, 911, 920,
};

struct EventGroup {
  int first;
  int last;
  std::string_view name;
};

constexpr EventGroup kGroups[] = {
    {100, 109, "Medical"},          {110, 119, "Fire"},
    {120, 129, "Panic"},            {130, 139, "Burglary"},
    {140, 149, "General alarm"},    {150, 199, "24 hour non-burglary"},
    {200, 299, "Fire supervisory"}, {300, 399, "Troubles"},
    {400, 499, "Open/close"},       {500, 599, "Bypass/disable"},
    {600, 699, "Test/miscellaneous"}, {900, 999, "Download/miscellaneous"},
};

template <std::size_t N>
bool listed(const int (&codes)[N], int code) {
  return std::binary_search(std::begin(codes), std::end(codes), code);
}

}  // namespace

std::string_view contactIdEventName(int code) {
  auto found = std::lower_bound(std::begin(kEvents), std::end(kEvents), code,
                                [](const EventName& e, int c) { return e.code < c; });
  if (found == std::end(kEvents) || found->code != code) return {};
  return found->name;
}

ContactIdQualifierWords contactIdQualifierWords(int code) {
  if (listed(kOpenCloseCodes, code)) return ContactIdQualifierWords::OpenClose;
  std::string_view name = contactIdEventName(code);
  if (name.ends_with("start/end")) return ContactIdQualifierWords::StartEnd;
  return ContactIdQualifierWords::NewRestore;
}

bool contactIdCarriesUser(int code) { return listed(kUserCodes, code); }

std::string_view contactIdEventGroup(int code) {
  for (const EventGroup& g : kGroups) {
    if (code >= g.first && code <= g.last) return g.name;
  }
  return {};
}

}  // namespace alarm_message
