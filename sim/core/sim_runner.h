#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "sim/core/module.h"
#include "sim/core/output_queue.h"
#include "sim/core/protocol_log.h"
#include "sim/core/pty_port.h"
#include "sim/core/sim_options.h"

namespace zmsim {

// The simulator's event loop: the module on a pseudo-terminal, on the steady clock.
// It hears and answers the PC only while the PC's line speed is the module's own.
class SimRunner {
 public:
  // The PC may close and reopen its port (start-up tries two speeds, detection walks
  // the ports): only an absence this long counts as gone.
  static constexpr int kPeerGoneMs = 3000;

  SimRunner(const SimOptions& options, PtyPort& port, ProtocolLog& log);

  // Told the terminal's path each time the module comes back with --replug-after (the
  // first path is the caller's to tell).
  void setPortAnnouncer(std::function<void(const std::string&)> announce) {
    announce_ = std::move(announce);
  }

  // Runs until SIGINT or SIGTERM arrives on signalFd (a signalfd that also carries
  // SIGUSR1 for a dump), the peer is gone (with exitWhenClosed) or the module is
  // unplugged for good. Returns the exit status: 0, or 1 when the module could not
  // come back after --replug-after.
  int run(int signalFd);

 private:
  std::int64_t nowMs() const;
  bool handleSignals(int signalFd);
  void readInput();
  void deliverOutput(std::int64_t ms);
  void writePending();
  int pollTimeoutMs(std::int64_t ms) const;
  void watchPeer(std::int64_t ms);
  void queueOutput(const std::string& out, std::int64_t ms);
  void logStation(std::int64_t ms);
  // Sets the moment the module vanishes, --unplug-after (or --replug-after) from the G
  // at ms, once per run.
  void pullPlugAfter(std::int64_t ms);
  // --unplug-after and --replug-after: the terminal and its link go away.
  void unplug(std::int64_t ms);
  bool replug(std::int64_t ms);

  const SimOptions& options_;
  PtyPort& port_;
  ProtocolLog& log_;
  Module module_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  OutputQueue output_;
  std::function<void(const std::string&)> announce_;
  bool peerPresent_ = false;
  bool peerSeen_ = false;
  std::int64_t peerGoneSinceMs_ = 0;
  std::int64_t unplugAtMs_ = -1;
  std::int64_t replugAtMs_ = -1;  // while gone under --replug-after
  bool replugged_ = false;        // the module vanishes once
  int status_ = 0;
  bool stop_ = false;
};

}  // namespace zmsim
