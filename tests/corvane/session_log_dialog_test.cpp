#include <gtest/gtest.h>

#include <algorithm>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/alarm_message.h"
#include "common/log_line.h"
#include "corvane/control_ids.h"
#include "corvane/corvane_dlg.h"
#include "corvane/logged_serial_port.h"
#include "corvane/session_log.h"
#include "corvane/corvane_outside.h"
#include "fakes/fake_control_panel.h"
#include "fakes/fake_serial_port.h"
#include "fakes/operator_actions.h"
#include "fakes/recording_status_line.h"
#include "fakes/temp_dir.h"
#include "fakes/virtual_clock.h"

namespace {

using namespace corvane_ids;

// A dialog whose port is logged, with the log in its environment as main() gives it.
// Every write the module gets notes whether ./corvane.log existed at that moment.
class SessionLogDialog : public ::testing::Test {
 protected:
  SessionLogDialog()
      : bench(clock), fakePort(bench), log(dir.path(), [this] { return clock.nowMs(); }, status),
        port(fakePort, log), dlg(environment()) {
    bench.addDevice("COM1:", [this](std::string_view, int) {
      writesWhileLogExisted += dir.exists("corvane.log");
      return std::string();
    });
    port.open("COM1:", 9600);
  }

  CCorvaneDlg::Environment environment() {
    CCorvaneDlg::Environment env = outside.env(port, clock, panel);
    env.sessionLog = &log;
    return env;
  }

  std::vector<LogLine> logLines() {
    std::vector<LogLine> lines;
    std::istringstream text(dir.read("corvane.log"));
    for (std::string line; std::getline(text, line);) {
      std::optional<LogLine> parsed = parseLogLine(line);
      EXPECT_TRUE(parsed) << line;
      if (parsed) lines.push_back(*parsed);
    }
    return lines;
  }
  // The lines that are not bytes on the wire, as "kind text".
  std::vector<std::string> notes() {
    std::vector<std::string> out;
    for (const LogLine& l : logLines())
      if (l.kind != "tx" && l.kind != "rx") out.push_back(l.kind + " " + l.text);
    return out;
  }

  TempDir dir;
  VirtualClock clock;
  FakeSerialBench bench;
  FakeSerialPort fakePort;
  RecordingStatusLine status;
  SessionLog log;
  LoggedSerialPort port;
  FakeControlPanel panel;
  CorvaneOutside outside{dir.path()};
  CCorvaneDlg dlg;
  int writesWhileLogExisted = 0;
};

// A whole handler run through the logged port: the module sees the same writes with
// the same pauses, the log holds each of them at the time the module got it, and it
// is written once the click has ended, never while the sequence runs.
TEST_F(SessionLogDialog, FactoryDefaultsAreLoggedWriteByWriteAfterTheClick) {
  clock.advance(1000);
  bench.clearEvents();
  operator_actions::click(panel, dlg, kFactoryDefault);
  EXPECT_EQ(writesWhileLogExisted, 0);

  std::vector<int> pauses{20, 5000};
  pauses.insert(pauses.end(), 16, 20);
  for (int ms : {50, 10, 20}) pauses.push_back(ms);
  EXPECT_EQ(clock.pauses(), pauses);

  // Every byte the module got is in the log once, in order; a frame written byte by
  // byte is one line at its first byte's time.
  std::string wire;
  std::vector<std::int64_t> writeTimes;
  for (const FakeSerialBench::Event& e : bench.events()) {
    if (e.kind != FakeSerialBench::Event::kWrite) continue;
    wire += escapeBytes(e.bytes);
    writeTimes.push_back(e.atMs);
  }
  std::vector<LogLine> lines = logLines();
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0].kind + " " + lines[0].text, "action load factory default");
  EXPECT_EQ(lines[0].ms, 1000);
  std::string logged;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].kind, "tx");
    EXPECT_NE(std::find(writeTimes.begin(), writeTimes.end(), lines[i].ms), writeTimes.end());
    logged += lines[i].text;
  }
  EXPECT_EQ(logged, wire);
  EXPECT_EQ(lines[2].ms, 1000);
  EXPECT_EQ(lines[2].text, "W8755<CR>");
  EXPECT_EQ(lines[6].ms, 6020);
  EXPECT_EQ(lines[6].text, "S123418313101015<CR>");  // 16 writes 20 ms apart
}

TEST_F(SessionLogDialog, ATransmissionNotesItsFormatAndWhatTheMessageMeans) {
  dlg.protocolCode = '2';
  dlg.pulse4x2Selected = 0;
  dlg.alarmMessage1 = "1234A1";
  const std::int64_t clickMs = clock.nowMs();
  operator_actions::click(panel, dlg, kTransmit);
  EXPECT_EQ(writesWhileLogExisted, 0);
  const std::string summary = explainAlarmMessage('2', "1234A1").summary;
  EXPECT_NE(summary.find("not pulse digits"), std::string::npos) << summary;
  EXPECT_EQ(notes(), (std::vector<std::string>{"action transmit Pulse 4X2",
                                               "alarm message 1: " + summary}));
  // The notes come before the bytes they explain.
  EXPECT_EQ(logLines().at(2).text, "<CR>");

  // Clicks that send nothing leave nothing; the time-out is noted when it is shown.
  operator_actions::click(panel, dlg, kHexToAscii);
  operator_actions::tick(dlg, 501);
  const std::vector<std::string> after = notes();
  ASSERT_EQ(after.size(), 4u);
  EXPECT_EQ(after[2], "timeout error: communication timeout");
  // How the message ended, timed from the click.
  EXPECT_EQ(after[3], "outcome message 1 no report after " + std::to_string(clock.nowMs() - clickMs) +
                          " ms: error: communication timeout");
  EXPECT_TRUE(status.messages.empty());
}

// A tick that a nested event loop runs inside a handler (a message box, a beep that
// waits) is not the end of an event: the log waits for the handler.
TEST_F(SessionLogDialog, ATickInsideAHandlerDoesNotWriteTheLog) {
  bool existedAtBeep = true;
  outside.beep.onBeep = [&] {
    dlg.onTimer();
    existedAtBeep = dir.exists("corvane.log");
  };
  operator_actions::click(panel, dlg, kAbort);
  EXPECT_FALSE(existedAtBeep);
  EXPECT_EQ(notes(), std::vector<std::string>{"action abort"});
}

// Start-up notes the session first, with the speed the link test settled on.
TEST_F(SessionLogDialog, StartUpBeginsTheLogWithTheSession) {
  dir.write("commport", "COM1:");
  dlg.startUp();
  std::vector<LogLine> lines = logLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0].kind, "start");
  EXPECT_NE(lines[0].text.find(" port COM1: "), std::string::npos) << lines[0].text;
  EXPECT_NE(lines[0].text.find(" 115200 baud"), std::string::npos) << lines[0].text;
  EXPECT_EQ(lines[1].kind, "tx");
  EXPECT_EQ(lines[0].ms, lines[1].ms);
}

}  // namespace
