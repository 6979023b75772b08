#pragma once

#include <string>

#include "common/serial_port.h"

// The status line's words for what happened to a port, one short line each: a long
// device path is shortened in the middle, so a line stays within about 100 characters
// for /dev/ttyUSB0 and within 120 for the longest by-id names.
// name is the port name as the operator typed or stored it ("COM3:", "/dev/ttyUSB0").

// "COM3: is /dev/serial/by-id/usb-FTDI_..., open at 9600 baud"
std::string describePortOpened(const std::string& name, const std::string& device, int baud);

// Why the port is not open, e.g. "COM3: /dev/ttyUSB0 is held by halvard (process
// 1234)"; empty for kNone.
std::string describePortProblem(const std::string& name, const PortProblem& problem);

// Who holds a port that another program holds (kBusy): "halvard (process 16645)",
// "another program (process 1234)" when its name cannot be read, "another program"
// when no lock names it, "this program" for our own process.
std::string describeHolder(const PortProblem& problem);

// "COM3: /dev/ttyUSB0 is free now, open at 115200 baud; the link is tested at the next
// start": a port that was held by another program has opened, without a link test.
std::string describePortFreed(const std::string& name, const std::string& device, int baud);

// "COM3: /dev/ttyUSB0 is back, open again at 9600 baud"
std::string describePortFoundAgain(const std::string& name, const std::string& device, int baud);

// path itself when it has at most maxChars characters, else its start and its end
// around "...": a by-id name keeps its maker and its "-if00-port0" tail.
std::string shortDevicePath(const std::string& path, std::size_t maxChars = 42);
