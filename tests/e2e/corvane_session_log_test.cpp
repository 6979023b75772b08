#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "common/alarm_message.h"
#include "common/log_line.h"
#include "e2e/corvane_session.h"
#include "e2e/sim_process.h"
#include "fakes/temp_dir.h"

// What an installer shows after a bench session: Corvane's ./corvane.log against the
// simulator's protocol log of the same session, and what a station understood.

namespace {

using namespace corvane_ids;

constexpr const char* kIncomplete = "  # incomplete";

class CorvaneSessionLog : public ::testing::Test {
 protected:
  CorvaneSessionLog() {
    dir.write("commport", "COM1:");
    dir.write("telephonenumber", "5551234");
    dir.write("protocol2", "0");
    dir.write("alarmmessage", "123418113101015");
    dir.write("alarmmessage2", "123418313101015");
    dir.write("alarmmessage3", "123418160201003");
    dir.write("alarmmessage4", "X");
    dir.write("displaymessage", "");
  }

  std::vector<LogLine> corvaneLog() const {
    std::vector<LogLine> lines;
    std::istringstream text(dir.read("corvane.log"));
    for (std::string line; std::getline(text, line);) {
      std::optional<LogLine> parsed = parseLogLine(line);
      EXPECT_TRUE(parsed) << line;
      if (parsed) lines.push_back(*parsed);
    }
    return lines;
  }
  std::vector<std::string> texts(const std::vector<LogLine>& log, const std::string& kind) const {
    std::vector<std::string> out;
    for (const LogLine& line : log)
      if (line.kind == kind) out.push_back(line.text);
    return out;
  }

  // Every frame the simulator heard is in Corvane's tx lines, byte for byte and in
  // order (a frame written byte by byte is one line there). When they were stamped is
  // the benchmark's business (bench/session_log_timing.cpp): two processes on a busy
  // machine wake up late.
  void expectTxIsWhatTheSimulatorHeard() {
    std::vector<std::string> tx = texts(corvaneLog(), "tx");
    std::vector<std::string> rx;
    for (const zmsim::LogLine& line : sim.log())
      if (line.kind == "rx") rx.push_back(line.text.substr(0, line.text.find(kIncomplete)));
    ASSERT_FALSE(rx.empty());

    std::string sent, heard;
    for (const std::string& text : tx) sent += text;
    for (const std::string& text : rx) heard += text;
    ASSERT_EQ(sent, heard);
  }

  // Corvane's note of each alarm it sent, and what the simulated station understood
  // of it, say the same.
  void expectStationUnderstoodWhatWasNoted(const std::vector<std::string>& messages) {
    std::vector<std::string> noted = texts(corvaneLog(), "alarm");
    std::vector<std::string> understood;
    for (const zmsim::LogLine& line : sim.log())
      if (line.kind == "station") understood.push_back(line.text);
    ASSERT_EQ(noted.size(), messages.size());
    ASSERT_EQ(understood.size(), messages.size());
    for (std::size_t i = 0; i < messages.size(); ++i) {
      const std::string summary = explainAlarmMessage('0', messages[i]).summary;
      EXPECT_EQ(noted[i], "message " + std::to_string(i + 1) + ": " + summary);
      EXPECT_EQ(understood[i], summary);
    }
  }

  TempDir dir;
  SimProcess sim{dir.path(), "COM1", {"--call-ms", "1500"}};
};

TEST_F(CorvaneSessionLog, ATransmissionIsLoggedAsTheSimulatorHeardIt) {
  ASSERT_TRUE(sim.ready());
  {
    CorvaneSession corvane(dir.path());
    corvane.click(kTransmit);
    ASSERT_TRUE(waitUntil([&] { return !dir.read("displaymessage").empty(); }, 20000));
    // The tick that saw the report has ended: its bytes are in the log.
    ASSERT_TRUE(waitUntil([&] { return dir.read("corvane.log").find("MESSAGE SUCCESS") != std::string::npos; }, 2000));
  }
  std::vector<LogLine> log = corvaneLog();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[0].kind, "start");
  EXPECT_NE(log[0].text.find(" port COM1: /dev/pts/"), std::string::npos) << log[0].text;
  EXPECT_NE(log[0].text.find(" 9600 baud"), std::string::npos) << log[0].text;
  EXPECT_EQ(texts(log, "action"), std::vector<std::string>{"transmit Contact-ID"});
  expectTxIsWhatTheSimulatorHeard();
  expectStationUnderstoodWhatWasNoted({"123418113101015"});

  // What the module said came in too, in the order it said it.
  std::string received;
  for (const std::string& text : texts(log, "rx")) received += text;
  std::string said;
  for (const zmsim::LogLine& line : sim.log())
    if (line.kind == "tx") said += line.text;
  EXPECT_NE(said.find(received.substr(received.find("DIALING"))), std::string::npos);
  EXPECT_NE(received.find("MESSAGE SUCCESS<CR><LF>"), std::string::npos) << received;
}

TEST_F(CorvaneSessionLog, AMultipleRunIsLoggedMessageByMessage) {
  ASSERT_TRUE(sim.ready());
  {
    CorvaneSession corvane(dir.path());
    corvane.click(kMultipleRun);
    ASSERT_TRUE(waitUntil([&] { return !sim.frames().empty() && sim.frames().back() == "A"; }, 40000))
        << sim.joined("tx");
    ASSERT_TRUE(waitUntil([&] { return dir.read("corvane.log").find("tx A\n") != std::string::npos; }, 2000));
  }
  EXPECT_EQ(texts(corvaneLog(), "action"), std::vector<std::string>{"multiple run Contact-ID"});
  expectTxIsWhatTheSimulatorHeard();
  expectStationUnderstoodWhatWasNoted({"123418113101015", "123418313101015", "123418160201003"});
}

}  // namespace

