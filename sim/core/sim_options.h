#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "sim/core/log_file.h"
#include "sim/core/module_options.h"

namespace zmsim {

// zmsim's command line.
struct SimOptions {
  std::filesystem::path link;     // port-name link to make, e.g. DIR/ports/COM3; empty: none
  int baud = 9600;                // the module's line speed: 9600 or 115200
  ModuleOptions module;
  std::filesystem::path logFile;  // protocol log; empty: none
  bool exitWhenClosed = false;    // end once the PC has closed the port for good
  int unplugAfterMs = -1;         // vanish this long after the first G; -1: never
  std::uintmax_t logMaxBytes = LogFile::kDefaultMaxBytes;  // then FILE becomes FILE.1
  // Vanish this long after the first G as --unplug-after does, then come back under
  // the same link after replugGoneMs with the registers kept; -1: never.
  int replugAfterMs = -1;
  int replugGoneMs = kDefaultReplugGoneMs;
  static constexpr int kDefaultReplugGoneMs = 2000;
  // From the G of an unplug call to the module's going, without --unplug-after.
  static constexpr int kDefaultUnplugMs = 1000;
};

struct ParsedArgs {
  std::optional<SimOptions> options;  // empty on error or help
  bool help = false;
  bool version = false;
  std::string error;
};

ParsedArgs parseSimOptions(const std::vector<std::string>& args);
// The word --outcomes takes for an outcome ("deliver", "no-answer"...).
const char* outcomeName(Outcome outcome);
std::string simUsage();
// "zmsim " and the version of the build, with a line end.
std::string simVersion();

}  // namespace zmsim
