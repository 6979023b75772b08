#pragma once

#include <string>
#include <vector>

#include "common/serial_port.h"

// What one port of the search did: opened or why not, and whether anything answered.
struct PortSearchStep {
  std::string name;    // "COM3:"
  std::string device;  // the device the name opened, when it did
  bool opened = false;
  bool answered = false;
  PortProblem problem;  // why it did not open
};

// The search in one short line: the speed, what answered, and what each name tried
// before it did, neighbours with the same outcome joined:
//   "port search at 9600 baud: COM4: answered, /dev/ttyUSB0 is the main port now
//    (COM1: silent; COM2: to COM3: not present)"
//   "port search at 9600 baud: no module answered (COM1: to COM8: not present; COM9:
//    held as the second port)"
// secondPortName is the port Halvard holds as its second port, which the search
// cannot open.
std::string describePortSearch(const std::vector<PortSearchStep>& steps, int baud,
                               const std::string& secondPortName);
