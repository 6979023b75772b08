#pragma once

#include <poll.h>
#include <pty.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

// A pseudo-terminal for one test: the master plays the module, the slave is the
// port under test. The test keeps its own slave descriptor to look at the line
// settings and to wait for input without reading it.
class PtyPair {
 public:
  PtyPair() {
    if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) return;
    char name[128] = {};
    if (::ptsname_r(master_, name, sizeof name) == 0) slavePath_ = name;
  }
  ~PtyPair() {
    closeMaster();
    if (slave_ >= 0) ::close(slave_);
  }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  bool ok() const { return master_ >= 0 && slave_ >= 0 && !slavePath_.empty(); }
  int master() const { return master_; }
  int slave() const { return slave_; }
  const std::string& slavePath() const { return slavePath_; }

  void closeMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

  void sendFromModule(const std::string& bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
      ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
      if (n <= 0) return;
      done += static_cast<std::size_t>(n);
    }
  }

  // Whatever the port sent, up to count bytes, waiting at most timeout for each piece.
  std::string receiveAtModule(std::size_t count,
                              std::chrono::milliseconds timeout = std::chrono::seconds(5)) const {
    std::string got;
    while (got.size() < count) {
      pollfd pfd{master_, POLLIN, 0};
      if (::poll(&pfd, 1, static_cast<int>(timeout.count())) <= 0) break;
      char buffer[512];
      ssize_t n = ::read(master_, buffer, std::min(sizeof buffer, count - got.size()));
      if (n <= 0) break;
      got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
  }

  // Blocks until at least count bytes wait in the slave's input, or the timeout ends.
  bool waitForSlaveInput(int count,
                         std::chrono::milliseconds timeout = std::chrono::seconds(5)) const {
    auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
      int pending = 0;
      if (::ioctl(slave_, FIONREAD, &pending) == 0 && pending >= count) return true;
      pollfd pfd{slave_, POLLIN, 0};
      ::poll(&pfd, 1, 10);
    }
    return false;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
};

// A safety net only: if a call under test blocks, the process ends with a message
// instead of hanging the test run. It never decides a result.
class Watchdog {
 public:
  explicit Watchdog(std::chrono::seconds limit, const char* what)
      : thread_([this, limit, what] {
          std::unique_lock<std::mutex> lock(mutex_);
          if (!doneCv_.wait_for(lock, limit, [this] { return done_; })) {
            std::fprintf(stderr, "watchdog: %s did not return\n", what);
            std::_Exit(3);
          }
        }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    doneCv_.notify_one();
    thread_.join();
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  std::mutex mutex_;
  std::condition_variable doneCv_;
  bool done_ = false;
  std::thread thread_;
};
