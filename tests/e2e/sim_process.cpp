#include "e2e/sim_process.h"

#include <signal.h>

#include <QTest>
#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QTest::qWait(10);
  }
  return true;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

SimProcess::SimProcess(const fs::path& workDir, const std::string& portName,
                       const std::vector<std::string>& extraArgs)
    : logPath_(workDir / ("zmsim-" + portName + ".log")) {
  std::vector<std::string> args{"--link", (workDir / "ports" / portName).string(), "--log",
                                logPath_.string()};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  process_ = std::make_unique<ChildProcess>(fs::path(ZM_BINARY_DIR) / "zmsim", args, workDir,
                                            std::vector<std::string>{},
                                            workDir / ("zmsim-" + portName + ".out"));
  fs::path link = workDir / "ports" / portName;
  ready_ = waitUntil(
      [&] {
        std::error_code ec;
        return fs::is_symlink(fs::symlink_status(link, ec)) && !log().empty();
      },
      10000);
}

std::vector<zmsim::LogLine> SimProcess::log() const {
  std::vector<zmsim::LogLine> lines;
  std::istringstream in(readFile(logPath_));
  std::string text;
  while (std::getline(in, text)) {
    if (std::optional<zmsim::LogLine> line = zmsim::parseLogLine(text)) lines.push_back(*line);
  }
  return lines;
}

std::vector<std::string> SimProcess::frames() const {
  std::vector<std::string> out;
  for (const zmsim::LogLine& line : log()) {
    if (line.kind == "rx") out.push_back(line.text);
  }
  return out;
}

std::vector<std::string> SimProcess::framesFrom(const std::string& from) const {
  std::vector<std::string> all = frames();
  auto start = all.begin();
  if (!from.empty()) {
    while (start != all.end() && *start != from) ++start;
  }
  return std::vector<std::string>(start, all.end());
}

std::string SimProcess::joined(const std::string& kind) const {
  std::string out;
  for (const zmsim::LogLine& line : log()) {
    if (line.kind == kind) out += line.text;
  }
  return out;
}

std::string SimProcess::skipped() const {
  std::string out;
  for (const zmsim::LogLine& line : log()) {
    std::size_t colon = line.text.find(": ");
    if (line.kind == "skip" && colon != std::string::npos) out += line.text.substr(colon + 2);
  }
  return out;
}

bool SimProcess::waitForLog(const std::function<bool(const std::vector<zmsim::LogLine>&)>& test,
                            int timeoutMs) const {
  return waitUntil([&] { return test(log()); }, timeoutMs);
}

bool SimProcess::waitForText(const std::string& kind, const std::string& text,
                             int timeoutMs) const {
  return waitUntil([&] { return joined(kind).find(text) != std::string::npos; }, timeoutMs);
}

std::map<std::string, std::string> SimProcess::dump() {
  auto countDumps = [this] {
    int n = 0;
    for (const zmsim::LogLine& line : log()) n += line.kind == "dump" && line.text.rfind("message", 0) == 0;
    return n;
  };
  int before = countDumps();
  process_->signal(SIGUSR1);
  std::map<std::string, std::string> values;
  if (!waitUntil([&] { return countDumps() > before; }, 5000)) return values;
  // The newest dump wins: later lines overwrite earlier ones.
  for (const zmsim::LogLine& line : log()) {
    if (line.kind != "dump") continue;
    std::istringstream words(line.text);
    std::string what;
    words >> what;
    if (what == "number" || what == "message") {
      values[what] = line.text.size() > what.size() ? line.text.substr(what.size() + 1) : "";
      continue;
    }
    std::string pair;
    while (words >> pair) {
      std::size_t eq = pair.find('=');
      if (eq != std::string::npos) values[what + " " + pair.substr(0, eq)] = pair.substr(eq + 1);
    }
  }
  return values;
}
