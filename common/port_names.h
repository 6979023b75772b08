#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/serial_ports_present.h"

// Stored port names are "COM", one digit and ":" (the colon may be missing). COMn
// resolves to ./ports/COMn in the working directory when that exists (a link the
// operator or the module simulator makes, e.g. to /dev/serial/by-id/...), otherwise to
// the n-th serial port present on this machine in the order of serialPortsPresent()
// (by-id entries, other ttyACM/ttyUSB, ttyS ports with a UART), and to none when
// fewer are present. A name starting with '/' is a path as it stands. Anything else,
// the empty name included, names no port.
std::optional<std::filesystem::path> resolvePortName(const std::string& name,
                                                     const std::filesystem::path& workDir,
                                                     const DeviceTree& tree = {});

// n for the stored forms "COMn" and "COMn:" (n from 1 to 9); nothing for any other name.
std::optional<int> comPortNumber(std::string_view name);

// Whether name, stored in a file that keeps limit bytes of it (./commport keeps 8),
// reads back as the same name: "/dev/ttyUSB0" would come back as "/dev/tty", another
// device. A NUL inside the name would end it early as well.
bool fitsStoredPortName(std::string_view name, std::size_t limit);
