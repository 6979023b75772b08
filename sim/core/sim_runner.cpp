#include "sim/core/sim_runner.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <algorithm>

#include "sim/core/port_link.h"

namespace zmsim {

namespace {

constexpr std::size_t kReadChunk = 4096;
// While nobody has the port open the master reports POLLHUP at once, so the loop
// looks again at this pace instead of spinning.
constexpr int kIdlePollMs = 10;
constexpr int kBusyPollMs = 100;

std::string outcomeNames(const std::vector<Outcome>& outcomes) {
  std::string names;
  for (Outcome outcome : outcomes) {
    if (!names.empty()) names += ',';
    names += outcomeName(outcome);
  }
  return names;
}

}  // namespace

SimRunner::SimRunner(const SimOptions& options, PtyPort& port, ProtocolLog& log)
    : options_(options), port_(port), log_(log), module_(options.module) {
  module_.setFrameSink([this](const Frame& frame, std::int64_t ms) {
    log_.received(frame, ms);
    // Without an unplug outcome the plug goes after the first G; with one, after the G
    // of the call that takes it (readInput).
    if (frame.kind == FrameKind::Go && !options_.module.unplugsOnACall()) pullPlugAfter(ms);
  });
}

void SimRunner::pullPlugAfter(std::int64_t ms) {
  int after = options_.unplugAfterMs >= 0 ? options_.unplugAfterMs : options_.replugAfterMs;
  if (after < 0 && options_.module.unplugsOnACall()) after = SimOptions::kDefaultUnplugMs;
  if (after >= 0 && unplugAtMs_ < 0 && !replugged_) unplugAtMs_ = ms + after;
}

std::int64_t SimRunner::nowMs() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now() - start_)
      .count();
}

int SimRunner::run(int signalFd) {
  std::string start = "start " + port_.slavePath() + " baud " + std::to_string(options_.baud) +
                      " outcome " + outcomeNames(options_.module.outcomes) + " call-ms " +
                      std::to_string(options_.module.callLengthMs);
  if (options_.module.frameTimeoutMs >= 0) {
    start += " frame-timeout-ms " + std::to_string(options_.module.frameTimeoutMs);
  }
  if (!options_.link.empty()) start += " link " + options_.link.string();
  log_.line(nowMs(), start);

  while (!stop_) {
    std::int64_t ms = nowMs();
    if (replugAtMs_ >= 0) {
      // Gone: nothing but the signals until the module comes back.
      if (ms >= replugAtMs_ && !replug(ms)) break;
      if (replugAtMs_ >= 0) {
        pollfd gone{signalFd, POLLIN, 0};
        int ready = ::poll(&gone, 1, static_cast<int>(std::max<std::int64_t>(replugAtMs_ - ms, 0)));
        if (ready > 0 && (gone.revents & POLLIN) && !handleSignals(signalFd)) break;
        continue;
      }
    }
    watchPeer(ms);
    if (stop_) break;
    if (unplugAtMs_ >= 0 && ms >= unplugAtMs_) {
      unplug(ms);
      if (replugAtMs_ < 0) break;
      continue;
    }
    module_.advance(ms);
    deliverOutput(ms);

    pollfd fds[2] = {{signalFd, POLLIN, 0}, {port_.fd(), 0, 0}};
    nfds_t count = 1;
    if (peerPresent_) {
      fds[1].events = static_cast<short>(POLLIN | (output_.empty() ? 0 : POLLOUT));
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
  return status_;
}

void SimRunner::unplug(std::int64_t ms) {
  unplugAtMs_ = -1;
  bool back = options_.replugAfterMs >= 0;
  log_.line(ms, back ? "unplugged, back in " + std::to_string(options_.replugGoneMs) + " ms"
                     : std::string("unplugged"));
  // As the module's cable pulled: the PC's open port reads EIO and polls POLLHUP at
  // once, the name leads nowhere, and whatever was on its way is gone with the line.
  if (!options_.link.empty()) removePortLink(options_.link, port_.slavePath());
  port_.close();
  if (!back) return;
  output_.clear();
  module_.disconnect();
  peerPresent_ = false;
  replugged_ = true;
  replugAtMs_ = ms + options_.replugGoneMs;
}

bool SimRunner::replug(std::int64_t ms) {
  replugAtMs_ = -1;
  std::string error;
  if (!port_.open(options_.baud, error) ||
      (!options_.link.empty() && !makePortLink(options_.link, port_.slavePath(), error))) {
    log_.line(ms, "replug failed: " + error);
    status_ = 1;
    return false;
  }
  std::string text = "replugged " + port_.slavePath();
  if (!options_.link.empty()) text += " link " + options_.link.string();
  log_.line(ms, text);
  if (announce_) announce_(port_.slavePath());
  peerGoneSinceMs_ = ms;
  return true;
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
      output_.clear();
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
  if (module_.takeUnplugRequest()) pullPlugAfter(ms);
  module_.advance(ms);
  deliverOutput(ms);
}

void SimRunner::logStation(std::int64_t ms) {
  for (const std::string& understood : module_.takeStationReport()) {
    log_.line(ms, "station " + understood);
  }
}

void SimRunner::deliverOutput(std::int64_t ms) {
  logStation(ms);
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
  queueOutput(out, ms);
  writePending();
}

void SimRunner::queueOutput(const std::string& out, std::int64_t ms) {
  bool overrunBefore = output_.dropped() > 0;
  std::size_t dropped = output_.push(out);
  std::size_t kept = out.size() - dropped;
  if (kept > 0) log_.sent(std::string_view(out).substr(0, kept), ms);
  if (dropped > 0 && !overrunBefore) {
    // Told once per overrun: a PC that never reads would otherwise fill the log too.
    log_.line(ms, "lost " + std::to_string(dropped) + " bytes, PC not reading: " +
                      std::to_string(output_.maxBytes()) +
                      " bytes wait unread, more is dropped until it reads: " +
                      escapeBytes(std::string_view(out).substr(kept)));
  }
}

void SimRunner::writePending() {
  std::size_t taken = port_.write(output_.pending());
  output_.taken(taken);
  if (output_.empty() && output_.dropped() > 0) {
    log_.line(nowMs(), "overrun over, the PC reads again: " + std::to_string(output_.dropped()) +
                           " bytes lost in all");
    output_.resetDropped();
  }
}

}  // namespace zmsim
