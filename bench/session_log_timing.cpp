// Whether logging the session moves the wire timing of "load factory default": the
// handler runs on a real pseudo-terminal with the real clock, once on the plain port
// and once through LoggedSerialPort with the log in the dialog's environment (as
// corvane/main.cpp wires it: the click writes the log when it ends), in turns. The far end of the pty stamps each arrival; the gaps between arrivals are
// the pauses the module sees, printed for both ways side by side. Last, how well the
// log's tx stamps agree with when the far end got the bytes: the agreement an
// installer relies on when laying the log beside a capture of the line.
//
//   ./build/session_log_timing [rounds]      (default 3 rounds, about 11 s each)

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/control_panel.h"
#include "common/history_file.h"
#include "common/log_line.h"
#include "common/status_line.h"
#include "common/steady_clock.h"
#include "common/termios_serial_port.h"
#include "corvane/control_ids.h"
#include "corvane/beep.h"
#include "corvane/corvane_dlg.h"
#include "corvane/poll_timer.h"
#include "corvane/logged_serial_port.h"
#include "corvane/session_log.h"

namespace {

using SteadyTime = std::chrono::steady_clock::time_point;

// The pauses between writes of the sequence as the module sees them (the last pause,
// after W7F00, has no write after it to end it).
std::vector<int> expectedGaps() {
  std::vector<int> gaps{20, 5000};
  gaps.insert(gaps.end(), 16, 20);
  gaps.push_back(50);
  gaps.push_back(10);
  return gaps;
}

class NoPanel : public ControlPanel {
 public:
  std::string text(int) const override { return {}; }
  void setText(int, const std::string&) override {}
  bool checked(int) const override { return false; }
  void setChecked(int, bool) override {}
  void setTextLimit(int, int) override {}
  void showMessage(const std::string&) override {}
  void setFocus(int) override {}
};

// Nothing outside the line is needed: no timer, beep or history file.
struct NoTimer : PollTimer {
  void restart() override {}
};
struct NoBeep : Beep {
  void load() override {}
  void beep() override {}
};
struct NoHistory : HistoryFile {
  Opened create() override { return {}; }
  void append(std::string_view) override {}
};

// The module's end of the pty: reads everything and notes when each piece came.
class FarEnd {
 public:
  explicit FarEnd(int master) : master_(master), thread_([this] { run(); }) {}
  ~FarEnd() {
    stop_ = true;
    thread_.join();
  }
  void clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    arrivals_.clear();
  }
  std::vector<SteadyTime> arrivals() {
    std::lock_guard<std::mutex> lock(mutex_);
    return arrivals_;
  }
  std::size_t bytes() const { return bytes_; }

 private:
  void run() {
    char buffer[256];
    while (!stop_) {
      pollfd pfd{master_, POLLIN, 0};
      if (::poll(&pfd, 1, 20) <= 0) continue;
      SteadyTime at = std::chrono::steady_clock::now();
      ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n <= 0) continue;
      bytes_ += static_cast<std::size_t>(n);
      std::lock_guard<std::mutex> lock(mutex_);
      arrivals_.push_back(at);
    }
  }

  int master_;
  std::atomic<bool> stop_{false};
  std::atomic<std::size_t> bytes_{0};
  std::mutex mutex_;
  std::vector<SteadyTime> arrivals_;
  std::thread thread_;
};

// Gaps between arrivals longer than 3 ms, in ms: the pauses. Writes with no pause
// between them arrive within microseconds and make no gap.
std::vector<double> measuredGaps(const std::vector<SteadyTime>& arrivals) {
  std::vector<double> gaps;
  for (std::size_t i = 1; i < arrivals.size(); ++i) {
    double ms = std::chrono::duration<double, std::milli>(arrivals[i] - arrivals[i - 1]).count();
    if (ms > 3.0) gaps.push_back(ms);
  }
  return gaps;
}

struct Stats {
  std::vector<std::vector<double>> overshootUs;  // per expected gap, every run
};

void runOnce(CCorvaneDlg& dlg, FarEnd& far, Stats& stats, const char* way,
             std::vector<SteadyTime>* keepArrivals = nullptr) {
  far.clear();
  dlg.onClicked(corvane_ids::kFactoryDefault);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the last bytes arrive
  const std::vector<SteadyTime> arrivals = far.arrivals();
  if (keepArrivals) keepArrivals->insert(keepArrivals->end(), arrivals.begin(), arrivals.end());
  std::vector<double> gaps = measuredGaps(arrivals);
  const std::vector<int> expected = expectedGaps();
  if (gaps.size() != expected.size()) {
    std::printf("%-7s %zu gaps seen, %zu expected: run not counted\n", way, gaps.size(),
                expected.size());
    return;
  }
  stats.overshootUs.resize(expected.size());
  for (std::size_t i = 0; i < gaps.size(); ++i)
    stats.overshootUs[i].push_back((gaps[i] - expected[i]) * 1000.0);
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}
double maxOf(const std::vector<double>& v) {
  return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

// What a write through LoggedSerialPort costs beyond the port's own write: the part
// that lands inside a timed sequence. A port that does nothing isolates it.
class NullPort : public SerialPort {
 public:
  bool open(const std::string&, int) override { return true; }
  void close() override {}
  bool isOpen() const override { return true; }
  PortWriteResult write(std::string_view bytes) override { return {bytes.size(), PortProblem::Kind::kNone}; }
  std::string readAvailable(std::size_t) override { return {}; }
  void purgeInput() override {}
};

constexpr int kRecordRuns = 20000;

double recordCostNs(const std::filesystem::path& workDir) {
  NullPort null;
  SilentStatusLine quiet;
  SessionLog log(workDir / "cost", SessionLog::steadySinceNow(), quiet);
  LoggedSerialPort port(null, log);
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kRecordRuns; ++i) port.write("W3D01");
  auto ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start);
  return ns.count() / kRecordRuns;
}

// For each tx line of the log, how far its stamp lies from the nearest arrival at the
// far end, in ms (the log counts from logStart).
std::vector<double> stampDistancesMs(const std::filesystem::path& logFile, SteadyTime logStart,
                                     const std::vector<SteadyTime>& arrivals) {
  std::vector<double> distances;
  std::ifstream in(logFile);
  for (std::string line; std::getline(in, line);) {
    std::optional<LogLine> parsed = parseLogLine(line);
    if (!parsed || parsed->kind != "tx" || arrivals.empty()) continue;
    double best = 1e9;
    for (SteadyTime at : arrivals) {
      double ms = std::chrono::duration<double, std::milli>(at - logStart).count();
      best = std::min(best, std::abs(ms - static_cast<double>(parsed->ms)));
    }
    distances.push_back(best);
  }
  return distances;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

  int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  char slaveName[128] = {};
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0 ||
      ::ptsname_r(master, slaveName, sizeof slaveName) != 0) {
    std::perror("pseudo-terminal");
    return 1;
  }
  // Held open for the whole run, so closing nothing on our side ever hangs up the line.
  int slaveHold = ::open(slaveName, O_RDWR | O_NOCTTY);

  std::string tmpl = (std::filesystem::temp_directory_path() / "zmbench.XXXXXX").string();
  const std::filesystem::path workDir = ::mkdtemp(tmpl.data());

  TermiosSerialPort real(workDir);
  if (!real.open(slaveName, 9600)) {
    std::fprintf(stderr, "cannot open %s\n", slaveName);
    return 1;
  }
  SteadyClock clock;
  NoPanel panel;
  SilentStatusLine quiet;
  const SteadyTime logStart = std::chrono::steady_clock::now();
  SessionLog log(workDir, [logStart] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now() - logStart).count();
  }, quiet);
  LoggedSerialPort logged(real, log);
  NoTimer timer;
  NoBeep beep;
  NoHistory history;
  CCorvaneDlg plainDlg(
      CCorvaneDlg::Environment{real, clock, panel, timer, beep, history, quiet, workDir});
  CCorvaneDlg loggedDlg(
      CCorvaneDlg::Environment{logged, clock, panel, timer, beep, history, quiet, workDir, &log});

  FarEnd far(master);
  Stats plain, withLog;
  std::vector<SteadyTime> loggedArrivals;
  std::printf("factory defaults on %s, %d rounds of plain and logged in turns\n", slaveName,
              rounds);
  for (int r = 0; r < rounds; ++r) {
    // In turns, each way first every other round, so a load on the machine that comes
    // and goes falls on both alike.
    if (r % 2 == 0) runOnce(plainDlg, far, plain, "plain");
    runOnce(loggedDlg, far, withLog, "logged", &loggedArrivals);
    if (r % 2 == 1) runOnce(plainDlg, far, plain, "plain");
  }

  const std::vector<int> expected = expectedGaps();
  std::printf("\npause overshoot as the far end saw it, microseconds (median / max of %d runs)\n",
              rounds);
  std::printf("%4s %8s %20s %20s\n", "#", "pause ms", "plain", "logged");
  std::vector<double> allPlain, allLogged;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const std::vector<double> none;
    const auto& p = i < plain.overshootUs.size() ? plain.overshootUs[i] : none;
    const auto& l = i < withLog.overshootUs.size() ? withLog.overshootUs[i] : none;
    allPlain.insert(allPlain.end(), p.begin(), p.end());
    allLogged.insert(allLogged.end(), l.begin(), l.end());
    std::printf("%4zu %8d %9.1f / %8.1f %9.1f / %8.1f\n", i + 1, expected[i], median(p), maxOf(p),
                median(l), maxOf(l));
  }
  std::printf("%4s %8s %9.1f / %8.1f %9.1f / %8.1f\n", "all", "", median(allPlain),
              maxOf(allPlain), median(allLogged), maxOf(allLogged));
  std::printf("\nbytes at the far end: %zu; session log: %ju bytes (removed with %s)\n", far.bytes(),
              static_cast<std::uintmax_t>(std::filesystem::file_size(workDir / "corvane.log")),
              workDir.c_str());

  std::vector<double> apart = stampDistancesMs(workDir / "corvane.log", logStart, loggedArrivals);
  std::printf("log tx stamp to the far end's nearest arrival, ms: median %.1f, max %.1f of %zu "
              "tx lines (a frame written byte by byte is one, at its first byte)\n", median(apart), maxOf(apart), apart.size());
  std::printf("recording one write in the log's buffer: %.0f ns (mean of %d)\n",
              recordCostNs(workDir), kRecordRuns);

  real.close();
  ::close(slaveHold);
  ::close(master);
  std::error_code ec;
  std::filesystem::remove_all(workDir, ec);
  return 0;
}
