#pragma once

#include <string>
#include <vector>

#include "sim/core/register_map.h"

namespace zmsim {

// What a monitoring station would make of the message the module has loaded, in the
// format of register 7F, as lines for the protocol log: the meaning first, then every
// further problem. Uses the shared alarm message explanation, so the log and Corvane
// say the same of a message.
//
// The message is the S frame up to its first zero byte (the PC fills a short message
// with a zero byte and filler), or for SIA FSK F1 the memory D0 to DD up to and
// including its first byte below 20 hex.
std::vector<std::string> stationReport(const RegisterMap& registers);

}  // namespace zmsim
