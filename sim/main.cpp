// zmsim: the alarm dialer module on a pseudo-terminal, for a bench without a module
// and for the end-to-end tests. See docs/simulator.md.
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "sim/core/log_file.h"
#include "sim/core/port_link.h"
#include "sim/core/protocol_log.h"
#include "sim/core/pty_port.h"
#include "sim/core/sim_options.h"
#include "sim/core/sim_runner.h"

int main(int argc, char** argv) {
  zmsim::ParsedArgs parsed = zmsim::parseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.help) {
    std::cout << zmsim::simUsage();
    return 0;
  }
  if (parsed.version) {
    std::cout << zmsim::simVersion();
    return 0;
  }
  if (!parsed.options) {
    std::cerr << "zmsim: " << parsed.error << "\n" << zmsim::simUsage();
    return 2;
  }
  const zmsim::SimOptions& options = *parsed.options;

  // Signals arrive through a descriptor, so the loop sees them between two polls and
  // can still write the final dump and remove the link.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGUSR1);
  sigprocmask(SIG_BLOCK, &signals, nullptr);
  signal(SIGPIPE, SIG_IGN);
  int signalFd = signalfd(-1, &signals, SFD_NONBLOCK | SFD_CLOEXEC);

  zmsim::LogFile logFile;
  if (!options.logFile.empty()) {
    std::string error;
    if (!logFile.open(options.logFile, options.logMaxBytes, error)) {
      std::cerr << "zmsim: " << error << "\n";
      return 1;
    }
  }
  zmsim::ProtocolLog log(&logFile);

  zmsim::PtyPort port;
  std::string error;
  if (!port.open(options.baud, error)) {
    std::cerr << "zmsim: " << error << "\n";
    return 1;
  }
  if (!options.link.empty() && !zmsim::makePortLink(options.link, port.slavePath(), error)) {
    std::cerr << "zmsim: " << error << "\n";
    return 1;
  }
  std::cout << port.slavePath() << std::endl;

  zmsim::SimRunner runner(options, port, log);
  runner.setPortAnnouncer([](const std::string& path) { std::cout << path << std::endl; });
  int status = runner.run(signalFd);
  if (!options.link.empty()) zmsim::removePortLink(options.link, port.slavePath());
  port.close();
  ::close(signalFd);
  return status;
}
