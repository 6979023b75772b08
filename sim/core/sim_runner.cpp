#include "sim/core/sim_runner.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <algorithm>

namespace zmsim {

namespace {

constexpr std::size_t kReadChunk = 4096;
// While nobody has the port open the master reports POLLHUP at once, so the loop
// looks again at this pace instead of spinning.
constexpr int kIdlePollMs = 10;
constexpr int kBusyPollMs = 100;

const char* outcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::Deliver: return "deliver";
    case Outcome::NoKissoff: return "no-kissoff";
    case Outcome::NoAnswer: return "no-answer";
  }
  return "?";
}

}  // namespace

SimRunner::SimRunner(const SimOptions& options, PtyPort& port, ProtocolLog& log)
    : options_(options), port_(port), log_(log), module_(options.module) {
  module_.setFrameSink([this](const Frame& frame, std::int64_t ms) {
    log_.received(frame, ms);
    if (frame.kind == FrameKind::Go && options_.unplugAfterMs >= 0 && unplugAtMs_ < 0) {
      unplugAtMs_ = ms + options_.unplugAfterMs;
    }
  });
}

std::int64_t SimRunner::nowMs() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now() - start_)
      .count();
}

int SimRunner::run(int signalFd) {
  std::string start = "start " + port_.slavePath() + " baud " + std::to_string(options_.baud) +
                      " outcome " + outcomeName(options_.module.outcome) + " call-ms " +
                      std::to_string(options_.module.callLengthMs);
  if (!options_.link.empty()) start += " link " + options_.link.string();
  log_.line(nowMs(), start);

  while (!stop_) {
    std::int64_t ms = nowMs();
    watchPeer(ms);
    if (stop_) break;
    if (unplugAtMs_ >= 0 && ms >= unplugAtMs_) {
      log_.line(ms, "unplugged");
      break;
    }
    module_.advance(ms);
    deliverOutput(ms);

    pollfd fds[2] = {{signalFd, POLLIN, 0}, {port_.fd(), 0, 0}};
    nfds_t count = 1;
    if (peerPresent_) {
      fds[1].events = static_cast<short>(POLLIN | (pending_.empty() ? 0 : POLLOUT));
      count = 2;
    }
    int ready = ::poll(fds, count, pollTimeoutMs(ms));
    if (ready <= 0) continue;
    if ((fds[0].revents & POLLIN) && !handleSignals(signalFd)) break;
    if (count == 2 && (fds[1].revents & POLLIN)) readInput();
    if (count == 2 && (fds[1].revents & POLLOUT)) writePending();
  }
  std::int64_t end = nowMs();
  log_.dump(module_.registers(), end);
  log_.line(end, "end");
  return 0;
}

void SimRunner::watchPeer(std::int64_t ms) {
  bool present = port_.peerPresent();
  if (present != peerPresent_) {
    log_.line(ms, present ? "peer opened" : "peer closed");
    peerPresent_ = present;
    if (present) {
      peerSeen_ = true;
    } else {
      peerGoneSinceMs_ = ms;
      // Whatever the module had not got out yet is lost with the line.
      pending_.clear();
    }
  }
  if (options_.exitWhenClosed && peerSeen_ && !present && ms - peerGoneSinceMs_ >= kPeerGoneMs) {
    log_.line(ms, "peer gone");
    stop_ = true;
  }
}

int SimRunner::pollTimeoutMs(std::int64_t ms) const {
  std::int64_t timeout = peerPresent_ ? kBusyPollMs : kIdlePollMs;
  if (std::optional<std::int64_t> next = module_.nextEventMs()) {
    timeout = std::min(timeout, *next - ms);
  }
  if (unplugAtMs_ >= 0) timeout = std::min(timeout, unplugAtMs_ - ms);
  if (options_.exitWhenClosed && peerSeen_ && !peerPresent_) {
    timeout = std::min<std::int64_t>(timeout, kIdlePollMs);
  }
  return static_cast<int>(std::max<std::int64_t>(timeout, 0));
}

bool SimRunner::handleSignals(int signalFd) {
  signalfd_siginfo info{};
  while (::read(signalFd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    if (info.ssi_signo == SIGUSR1) {
      log_.dump(module_.registers(), nowMs());
    } else {
      log_.line(nowMs(), info.ssi_signo == SIGINT ? "interrupted" : "terminated");
      return false;
    }
  }
  return true;
}

void SimRunner::readInput() {
  std::string bytes = port_.read(kReadChunk);
  if (bytes.empty()) return;
  std::int64_t ms = nowMs();
  int speed = port_.peerBaud();
  if (speed != options_.baud) {
    // A real module hears only noise at the wrong speed; the log says what the PC sent.
    log_.line(ms, "skip " + std::to_string(bytes.size()) + " bytes at " + std::to_string(speed) +
                      " baud: " + escapeBytes(bytes));
    return;
  }
  module_.receive(bytes, ms);
  module_.advance(ms);
  deliverOutput(ms);
}

void SimRunner::deliverOutput(std::int64_t ms) {
  std::string out = module_.takeOutput();
  if (out.empty()) return;
  if (!peerPresent_) {
    log_.line(ms, "lost " + std::to_string(out.size()) + " bytes, port closed: " + escapeBytes(out));
    return;
  }
  int speed = port_.peerBaud();
  if (speed != options_.baud) {
    log_.line(ms, "lost " + std::to_string(out.size()) + " bytes, PC at " + std::to_string(speed) +
                      " baud: " + escapeBytes(out));
    return;
  }
  log_.sent(out, ms);
  pending_ += out;
  writePending();
}

void SimRunner::writePending() {
  std::size_t taken = port_.write(pending_);
  pending_.erase(0, taken);
}

}  // namespace zmsim
