// The simulator's loop on a real pseudo-terminal, with the test as the PC: what a PC
// that never reads does to it, and a module unplugged (for good, or plugged in again).
#include "sim/core/sim_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "fakes/temp_dir.h"
#include "sim/core/log_file.h"
#include "sim/core/port_link.h"

namespace zmsim {
namespace {

namespace fs = std::filesystem;

// The runner in a thread of its own, stopped as SIGTERM would stop it: a record in the
// descriptor it takes its signals from.
class RunningSim {
 public:
  RunningSim(SimOptions options, const fs::path& logPath) : options_(std::move(options)) {
    std::string error;
    EXPECT_TRUE(logFile_.open(logPath, LogFile::kDefaultMaxBytes * 8, error)) << error;
    EXPECT_TRUE(port_.open(options_.baud, error)) << error;
    if (!options_.link.empty()) {
      EXPECT_TRUE(makePortLink(options_.link, port_.slavePath(), error)) << error;
    }
    EXPECT_EQ(::pipe(signals_), 0);
    runner_.setPortAnnouncer([this](const std::string& path) {
      std::lock_guard<std::mutex> lock(mutex_);
      announced_ = path;
      changed_.notify_all();
    });
    thread_ = std::thread([this] { status_ = runner_.run(signals_[0]); });
  }
  ~RunningSim() { stop(); }

  int stop() {
    if (thread_.joinable()) {
      signalfd_siginfo info{};
      info.ssi_signo = SIGTERM;
      EXPECT_EQ(::write(signals_[1], &info, sizeof info), static_cast<ssize_t>(sizeof info));
      thread_.join();
      ::close(signals_[0]);
      ::close(signals_[1]);
    }
    return status_;
  }
  const std::string& firstPath() const { return port_.slavePath(); }
  std::string waitForAnnouncedPath(int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return !announced_.empty(); });
    return announced_;
  }

 private:
  SimOptions options_;
  LogFile logFile_;
  ProtocolLog log_{&logFile_};
  PtyPort port_;
  SimRunner runner_{options_, port_, log_};
  int signals_[2] = {-1, -1};
  std::thread thread_;
  int status_ = -1;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::string announced_;
};

int openPc(const fs::path& path) { return ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK); }

void writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    pollfd p{fd, POLLOUT, 0};
    ASSERT_GT(::poll(&p, 1, 5000), 0) << "the simulator stopped reading";
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) done += static_cast<std::size_t>(n);
  }
}

// Everything that arrives until the line has been quiet for quietMs.
std::string readUntilQuiet(int fd, int quietMs) {
  std::string all;
  char buffer[4096];
  pollfd p{fd, POLLIN, 0};
  while (::poll(&p, 1, quietMs) > 0 && (p.revents & POLLIN)) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    all.append(buffer, static_cast<std::size_t>(n));
  }
  return all;
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(SimRunner, APcThatNeverReadsCostsABoundedQueueAndOneLogLine) {
  TempDir dir;
  RunningSim sim(SimOptions{}, dir / "zmsim.log");
  int pc = openPc(sim.firstPath());
  ASSERT_GE(pc, 0);
  // 60000 queries, some 120 KB of answers: far more than the queue and the terminal hold.
  std::string queries;
  for (int i = 0; i < 60000; ++i) queries += "R80";
  writeAll(pc, queries);
  std::string answers = readUntilQuiet(pc, 300);
  ::close(pc);
  sim.stop();

  // What came is whole answers, oldest first: the end was dropped, nothing in between.
  // (With --frame-timeout-ms a query cut between two writes is answered "?" CR.)
  std::size_t produced = 120000 + 2 * count(answers, "?\r");
  std::erase(answers, '?');
  std::erase(answers, '\r');
  EXPECT_EQ(answers.find_first_not_of('0'), std::string::npos);
  EXPECT_EQ(answers.size() % 2, 0u);
  EXPECT_GE(answers.size(), OutputQueue::kDefaultMaxBytes);
  EXPECT_LT(answers.size(), 120000u);
  std::string log = dir.read("zmsim.log");
  EXPECT_EQ(count(log, "PC not reading"), 1u);
  EXPECT_EQ(count(log, "overrun over, the PC reads again: "), 1u);
  EXPECT_GE(produced - answers.size(), 1u);
}

// Reads until text has come or the line hangs up; whether it hung up.
bool readUntil(int fd, const std::string& text, std::string& heard) {
  for (int polls = 0; polls < 200; ++polls) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 5000) <= 0) return false;
    char buffer[256];
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) heard.append(buffer, static_cast<std::size_t>(n));
    if (n <= 0 && (p.revents & POLLHUP)) return true;
    if (!text.empty() && heard.find(text) != std::string::npos) return false;
  }
  return false;
}

TEST(SimRunner, AnUnplugOutcomePullsThePlugOnItsOwnCallForAPortLostVerdict) {
  TempDir dir;
  SimOptions options;
  options.link = dir / "ports/COM1";
  options.module.outcomes = {Outcome::Deliver, Outcome::Unplug};
  options.module.callLengthMs = 200;
  options.unplugAfterMs = 100;
  RunningSim sim(options, dir / "zmsim.log");
  int pc = openPc(options.link);
  ASSERT_GE(pc, 0);
  // The first call is delivered and the line stays: not the first G but the unplug
  // call's takes the module away.
  writeAll(pc, "D5551234\rG");
  std::string heard;
  EXPECT_FALSE(readUntil(pc, "ON HOOK\r\n", heard));
  EXPECT_NE(heard.find("MESSAGE SUCCESS"), std::string::npos) << heard;
  writeAll(pc, "G");
  heard.clear();
  EXPECT_TRUE(readUntil(pc, "", heard)) << heard;
  EXPECT_EQ(heard.find("MESSAGE SUCCESS"), std::string::npos) << heard;
  ::close(pc);
  EXPECT_EQ(sim.stop(), 0);

  std::string log = dir.read("zmsim.log");
  EXPECT_NE(log.find("outcome deliver,unplug"), std::string::npos) << log;
  EXPECT_EQ(count(log, "unplugged"), 1u) << log;
}

TEST(SimRunner, AReplugGoesAwayAndComesBackUnderTheSameLinkWithItsRegisters) {
  TempDir dir;
  SimOptions options;
  options.link = dir / "ports/COM1";
  options.replugAfterMs = 0;
  options.replugGoneMs = 200;
  RunningSim sim(options, dir / "zmsim.log");
  int pc = openPc(options.link);
  ASSERT_GE(pc, 0);
  writeAll(pc, "W8012G");

  // The PC's port hangs up, as a pulled cable makes it (the call's first words may come
  // before, or be lost with the line).
  std::string heard;
  EXPECT_TRUE(readUntil(pc, "", heard)) << heard;
  ::close(pc);

  std::string second = sim.waitForAnnouncedPath(3000);
  ASSERT_FALSE(second.empty());
  EXPECT_EQ(fs::read_symlink(options.link), fs::path(second));
  pc = openPc(options.link);
  ASSERT_GE(pc, 0);
  writeAll(pc, "R80");
  EXPECT_EQ(readUntilQuiet(pc, 300), "12");
  ::close(pc);
  EXPECT_EQ(sim.stop(), 0);

  std::string log = dir.read("zmsim.log");
  EXPECT_NE(log.find("unplugged, back in 200 ms"), std::string::npos) << log;
  EXPECT_NE(log.find("replugged " + second + " link " + options.link.string()), std::string::npos) << log;
}

}  // namespace
}  // namespace zmsim
