#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "e2e/child_process.h"
#include "sim/core/protocol_log.h"

// The real zmsim binary, linked as ports/<portName> in a working directory, with its
// protocol log in that directory.
class SimProcess {
 public:
  SimProcess(const std::filesystem::path& workDir, const std::string& portName,
             const std::vector<std::string>& extraArgs = {});

  // Whether its link appeared (bounded wait in the constructor).
  bool ready() const { return ready_; }
  ChildProcess& process() { return *process_; }
  int stop() { return process_->stop(); }

  std::vector<zmsim::LogLine> log() const;
  // The text of every "rx" line, in order: the frames the PC sent.
  std::vector<std::string> frames() const;
  // The frames received after the first frame equal to from (all when empty).
  std::vector<std::string> framesFrom(const std::string& from) const;
  // The bytes of every "skip" line (heard at the wrong line speed), joined.
  std::string skipped() const;
  // The text of every line of a kind, joined.
  std::string joined(const std::string& kind) const;
  // Waits, pumping the Qt event loop, until the log satisfies the test.
  bool waitForLog(const std::function<bool(const std::vector<zmsim::LogLine>&)>& test,
                  int timeoutMs) const;
  bool waitForText(const std::string& kind, const std::string& text, int timeoutMs) const;
  // Asks for a dump (SIGUSR1) and returns the register values of its "stored" or
  // "working" line, by register name ("AB" -> "20"), plus "number" and "message".
  std::map<std::string, std::string> dump();

 private:
  std::filesystem::path logPath_;
  std::unique_ptr<ChildProcess> process_;
  bool ready_ = false;
};

// Waits for the condition with the Qt event loop running (ticks and timers go on),
// for at most timeoutMs. The bounded polling of end-to-end tests.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs);
std::string readFile(const std::filesystem::path& path);
