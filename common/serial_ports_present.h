#pragma once

#include <filesystem>
#include <vector>

// Where the device nodes and the kernel's view of them live; tests build a small tree of
// their own in a temporary folder.
struct DeviceTree {
  std::filesystem::path dev = "/dev";
  std::filesystem::path sys = "/sys";
};

// The serial ports present on this machine, in the order COM1:, COM2:, ... name them:
// 1. the entries of dev/serial/by-id sorted by name (a USB adapter keeps its place
//    whatever it is plugged into), as the by-id paths;
// 2. the ttyACM and then the ttyUSB devices that no by-id entry leads to, each group by
//    number (ttyUSB2 before ttyUSB10);
// 3. the ttyS ports with a UART behind them (sys/class/tty/ttySn/type is not 0), by
//    number. A ttyS node without hardware, or whose type the kernel does not show, is
//    no port.
// A by-id entry whose device is gone is skipped. Nothing is opened: whether an entry
// is a serial device is for the open to find out.
std::vector<std::filesystem::path> serialPortsPresent(const DeviceTree& tree = {});
