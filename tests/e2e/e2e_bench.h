#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/termios_serial_port.h"
#include "e2e/sim_process.h"
#include "fakes/temp_dir.h"
#include "sim/core/pty_port.h"

// Pieces of a bench that end-to-end tests put together in a working directory.

// Corvane's settings files for a call to the module at COM1:: the number 5551234, an
// empty ./displaymessage, ./protocol2 when protocol is given, and the alarm messages
// in the order a multiple run sends them (./alarmmessage, ./alarmmessage2, ...).
inline void writeCallSettings(const TempDir& dir, const std::vector<std::string>& messages,
                              const std::string& protocol = "") {
  dir.write("commport", "COM1:");
  dir.write("telephonenumber", "5551234");
  if (!protocol.empty()) dir.write("protocol2", protocol);
  for (std::size_t i = 0; i < messages.size(); ++i) {
    dir.write(i == 0 ? "alarmmessage" : "alarmmessage" + std::to_string(i + 1), messages[i]);
  }
  dir.write("displaymessage", "");
}

// A port name that leads nowhere: its link points at a path that does not exist, so
// the programs never fall back to a real /dev/ttyS device.
inline void linkNowhere(const std::filesystem::path& dir, const std::string& portName) {
  std::filesystem::create_directories(dir / "ports");
  std::filesystem::create_symlink(dir / ("no-device-" + portName), dir / "ports" / portName);
}

// A port with nothing behind it: a pseudo-terminal that never answers. What the
// program sends there can be read back with read().
class SilentPort {
 public:
  SilentPort(const std::filesystem::path& dir, const std::string& portName) {
    std::string error;
    opened_ = port_.open(9600, error);
    std::filesystem::create_directories(dir / "ports");
    std::filesystem::create_symlink(port_.slavePath(), dir / "ports" / portName);
  }
  bool opened() const { return opened_; }
  // Everything that arrived since the last call.
  std::string read() {
    std::string all;
    for (std::string chunk = port_.read(4096); !chunk.empty(); chunk = port_.read(4096)) {
      all += chunk;
    }
    return all;
  }

 private:
  zmsim::PtyPort port_;
  bool opened_ = false;
};

// Sets the simulated module's registers as a bench tool would before the program
// under test starts: the bytes go down the line at baud and the port is closed again.
inline void presetModule(const std::filesystem::path& dir, const std::string& portName, int baud,
                         const std::string& bytes, const SimProcess& sim,
                         const std::string& lastFrame) {
  TermiosSerialPort bench(dir);
  ASSERT_TRUE(bench.open(portName + ":", baud));
  bench.write(bytes);
  ASSERT_TRUE(sim.waitForLog(
      [&](const std::vector<zmsim::LogLine>& log) {
        for (const zmsim::LogLine& line : log) {
          if (line.kind == "rx" && line.text == lastFrame) return true;
        }
        return false;
      },
      5000));
  bench.close();
}

inline std::vector<std::string> tail(const std::vector<std::string>& all, std::size_t from) {
  if (from > all.size()) return {};
  return std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(from), all.end());
}
