#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

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

using Timed = std::vector<std::pair<std::int64_t, std::string>>;

// A whole handler run through the logged port: the module sees the same writes with
// the same pauses, and the log holds each of them at the time the module got it.
TEST(SessionLogDialog, FactoryDefaultsAreLoggedWriteByWriteAndTimedAsBefore) {
  TempDir dir;
  VirtualClock clock;
  FakeSerialBench bench(clock);
  FakeSerialPort fakePort(bench);
  RecordingStatusLine status;
  SessionLog log(dir.path(), [&clock] { return clock.nowMs(); }, status);
  LoggedSerialPort port(fakePort, log);
  FakeControlPanel panel;
  CorvaneOutside outside(dir.path());
  CCorvaneDlg dlg(outside.env(port, clock, panel));
  bench.addDevice("COM1:");
  ASSERT_TRUE(port.open("COM1:", 9600));
  clock.advance(1000);

  operator_actions::click(panel, dlg, corvane_ids::kFactoryDefault);
  EXPECT_FALSE(dir.exists("corvane.log"));  // nothing written inside the sequence
  log.flush();

  std::vector<int> pauses{20, 5000};
  pauses.insert(pauses.end(), 16, 20);
  for (int ms : {50, 10, 20}) pauses.push_back(ms);
  EXPECT_EQ(clock.pauses(), pauses);

  Timed wire;
  for (const FakeSerialBench::Event& e : bench.events())
    if (e.kind == FakeSerialBench::Event::kWrite) wire.emplace_back(e.atMs, escapeBytes(e.bytes));
  Timed logged;
  std::istringstream lines(dir.read("corvane.log"));
  for (std::string line; std::getline(lines, line);) {
    std::optional<LogLine> parsed = parseLogLine(line);
    ASSERT_TRUE(parsed) << line;
    EXPECT_EQ(parsed->kind, "tx") << line;
    logged.emplace_back(parsed->ms, parsed->text);
  }
  EXPECT_EQ(logged, wire);
  ASSERT_EQ(logged.size(), 26u);
  EXPECT_EQ(logged[1], (std::pair<std::int64_t, std::string>{1000, "W8755"}));
  EXPECT_EQ(logged[4], (std::pair<std::int64_t, std::string>{6020, "<CR>"}));
}

}  // namespace
