#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "common/log_line.h"
#include "sim/core/frame.h"
#include "sim/core/log_file.h"
#include "sim/core/register_map.h"

namespace zmsim {

// The simulator's protocol log, one event per line, each flushed at once so a test or
// an installer can follow it while the simulator runs:
//
//     1234 ms  rx W8055          a frame from the PC (bytes escaped as escapeBytes does)
//     1234 ms  rx R8  # incomplete
//     1235 ms  tx 55             bytes the module sent
//     1300 ms  lost 3 bytes: ... output nobody could hear (no peer, speed mismatch)
//     1400 ms  skip 5 bytes at 115200 baud: R80<CR>   input at the wrong line speed
//     2000 ms  dump working 3D=00 ...                 registers, on SIGUSR1 and at exit
//     2010 ms  station Contact-ID 1234: new event 130 Burglary, ...   what a receiving
//                                                  station understood of a message
//     2100 ms  lost 18 bytes, PC not reading: ...  an overrun of the output queue
//     ...      start ..., peer opened, peer closed, unplugged, replugged, end
//     ...      log continued, earlier lines in FILE.1   first line after a rotation
//
// The time is milliseconds since the simulator started, right-aligned in 8 columns.
class ProtocolLog {
 public:
  // out may be null: then nothing is written.
  explicit ProtocolLog(std::ostream* out) : out_(out) {}
  // A file kept to its size (log_file.h); it must outlive the log.
  explicit ProtocolLog(LogFile* file) : file_(file) {}

  void line(std::int64_t ms, std::string_view text);
  void received(const Frame& frame, std::int64_t ms);
  void sent(std::string_view bytes, std::int64_t ms);
  void dump(const RegisterMap& registers, std::int64_t ms);

 private:
  std::ostream* out_ = nullptr;
  LogFile* file_ = nullptr;
};

// One line form for every wire log (common/log_line.h).
using ::formatLogLine;
using ::LogLine;
using ::parseLogLine;

}  // namespace zmsim
