#pragma once

#include <string>

#include "common/serial_port.h"

// Opens a port by its stored name at 9600 baud, drops what is waiting and sends
// three CRs, one byte per write: the module wakes on a CR and ignores an empty
// line, so this leaves it ready for a request. Nothing is checked: a name that opens
// nothing leaves the port closed, and the writes are lost.
void wakeUpPort(SerialPort& port, const std::string& name);

inline constexpr int kWakeUpBaud = 9600;
