#include "corvane/session_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <string>

#include "common/child_process.h"
#include "common/log_line.h"
#include "corvane/logged_serial_port.h"
#include "corvane/module_link.h"
#include "corvane/port_watch.h"
#include "fakes/fake_serial_port.h"
#include "fakes/recording_status_line.h"
#include "fakes/temp_dir.h"
#include "fakes/virtual_clock.h"

namespace {

constexpr const char* kModule = "COM1:";

class SessionLogTest : public ::testing::Test {
 protected:
  SessionLogTest() : bench(clock), fakePort(bench) {}

  SessionLog::MsSource virtualTime() {
    return [this] { return clock.nowMs(); };
  }

  // The log's lines less their wall-clock times, each checked to be one.
  std::string logText(const char* name = "corvane.log") {
    std::istringstream lines(dir.read(name));
    std::string text;
    for (std::string line; std::getline(lines, line);) {
      std::optional<LogLine> parsed = parseLogLine(line);
      EXPECT_TRUE(parsed && parsed->wallClock.size() == kWallClockChars) << line;
      text += line.substr(line.find(' ') + 1) + '\n';
    }
    return text;
  }
  static constexpr std::size_t kWallClockChars = std::string_view("2026-12-08T09:47:00.118+01:00").size();

  TempDir dir;
  VirtualClock clock;
  FakeSerialBench bench;
  FakeSerialPort fakePort;
  RecordingStatusLine status;
};

TEST_F(SessionLogTest, ShowsEachWriteAndReadOnItsOwnLineWithItsTime) {
  SessionLog log(dir.path(), virtualTime(), status);
  LoggedSerialPort port(fakePort, log);
  bench.addDevice(kModule);
  ASSERT_TRUE(port.open(kModule, 9600));

  clock.advance(412);
  port.write("\r");
  port.write("W3D01");
  EXPECT_EQ(port.readAvailable(60), "");  // a quiet read is no event
  clock.advance(9488);
  bench.replyWith(kModule, "MESSAGE SUCCESS\r\n");
  EXPECT_EQ(port.readAvailable(60), "MESSAGE SUCCESS\r\n");
  bench.replyWith(kModule, std::string("M00\0<", 5));
  clock.advance(100);
  EXPECT_EQ(port.readAvailable(3), "M00");
  EXPECT_EQ(port.readAvailable(60), std::string("\0<", 2));

  // Nothing reaches the file before the flush: recording does no I/O.
  EXPECT_FALSE(dir.exists("corvane.log"));
  log.flush();
  EXPECT_EQ(logText(),
            "     412 ms  tx <CR>\n"
            "     412 ms  tx W3D01\n"
            "    9900 ms  rx MESSAGE SUCCESS<CR><LF>\n"
            "   10000 ms  rx M00\n"
            "   10000 ms  rx <00><3C>\n");
  EXPECT_TRUE(status.messages.empty());

  // The module saw exactly the writes, one by one, as without the log.
  EXPECT_EQ(bench.writes(), (std::vector<std::string>{"\r", "W3D01"}));
}

TEST_F(SessionLogTest, AWriteOnAClosedPortIsNotRecordedAsSent) {
  SessionLog log(dir.path(), virtualTime(), status);
  LoggedSerialPort port(fakePort, log);
  port.write("G");
  log.flush();
  EXPECT_EQ(logText(), "       0 ms  unsent G  # port not open\n");
}

// The log and the status line take what became of a write from the same result: the
// frame that finds the adapter gone, the frames after it, and frames a device that
// stopped reading gave up on are unsent in both.
TEST_F(SessionLogTest, FramesTheDeviceNeverGotAreUnsentInTheLogAndOnTheStatusLine) {
  SessionLog log(dir.path(), virtualTime(), status);
  LoggedSerialPort port(fakePort, log);
  ModuleLink link(port, clock);
  RecordingStatusLine told;
  PortWatch watch(port, told);
  auto sequence = [&](const char* what, std::initializer_list<const char*> frames) {
    for (const char* frame : frames) link.sendBytes(frame);
    const ModuleLink::WriteCounts counts = link.takeWriteCounts();
    watch.afterSequence(what, counts.sent, counts.unsent, counts.failure);
  };
  bench.addDevice(kModule);
  ASSERT_TRUE(port.open(kModule, 9600));

  bench.loseWrites(kModule, 500);
  sequence("option setting", {"\r", "W3D01"});
  EXPECT_EQ(told.last(), "option setting not sent: COM1: the device stopped taking bytes: is "
                         "the other end reading?");
  bench.unstall(kModule);
  sequence("alarm transmission", {"\r"});
  bench.unplug(kModule);
  sequence("alarm transmission", {"W3D01", "W7F00"});
  EXPECT_EQ(told.last(), "alarm transmission not sent: COM1: the device went away (unplugged?)");
  log.flush();
  EXPECT_EQ(logText(),
            "       0 ms  unsent <CR>  # device stopped taking bytes\n"
            "     500 ms  unsent W3D01  # device stopped taking bytes\n"
            "    1000 ms  tx <CR>\n"
            "    1000 ms  unsent W3D01  # device gone\n"
            "    1000 ms  unsent W7F00  # port not open\n");
}

TEST_F(SessionLogTest, NotesTheSessionAndWhatTheOperatorDid) {
  SessionLog log(dir.path(), virtualTime(), status);
  clock.advance(3);
  log.sent("R80");  // start-up's bytes come before the start is known
  clock.advance(300);
  log.noteStart({"2026-12-08 09:14:03", "V4.9", "COM1:", "/dev/ttyUSB0", 9600});
  clock.advance(5);
  log.noteAction("load factory default");
  log.noteAction("transmit", "Contact-ID");
  log.noteAlarm(1, "Contact-ID 1234: new event 130 Burglary");
  log.statusNotes().show("COM1: (/dev/ttyUSB0) went away");
  clock.advance(50100);
  log.noteTimeout("error: communication timeout");
  log.flush();
  log.noteStart({"2026-12-08 09:20:00", "V4.9", "COM7:\r\n", "", 0});
  log.flush();
  EXPECT_EQ(logText(),
            "       3 ms  start 2026-12-08 09:14:03 Corvane V4.9 port COM1: /dev/ttyUSB0 9600 baud\n"
            "       3 ms  tx R80\n"
            "     308 ms  action load factory default\n"
            "     308 ms  action transmit Contact-ID\n"
            "     308 ms  alarm message 1: Contact-ID 1234: new event 130 Burglary\n"
            "     308 ms  status COM1: (/dev/ttyUSB0) went away\n"
            "   50408 ms  timeout error: communication timeout\n"
            "   50408 ms  outcome message 1 no report after 50100 ms: error: communication timeout\n"
            "   50408 ms  start 2026-12-08 09:20:00 Corvane V4.9 port COM7:<CR><LF> (no device) not open\n");
  EXPECT_TRUE(status.messages.empty());
}

TEST_F(SessionLogTest, AnotherSessionAppendsAndFlushWithoutEventsTouchesNothing) {
  dir.write("corvane.log", "       0 ms  tx X\n");
  {
    SessionLog log(dir.path(), virtualTime(), status);
    log.flush();
    EXPECT_EQ(dir.read("corvane.log"), "       0 ms  tx X\n");
    log.sent("R80");
    log.flush();
    log.flush();
    log.received("55");  // the end of the session keeps what came last, and says it ended
  }
  const std::string text = dir.read("corvane.log");
  ASSERT_EQ(text.rfind("       0 ms  tx X\n", 0), 0u);
  dir.write("corvane.log", text.substr(text.find('\n') + 1));
  EXPECT_EQ(logText(), "       0 ms  tx R80\n       0 ms  rx 55\n       0 ms  end Corvane closed\n");

  // With no event a broken log is not even looked at, so nothing is said.
  TempDir other;
  other.makeDir("corvane.log");
  SessionLog idle(other.path(), virtualTime(), status);
  idle.flush();
  EXPECT_TRUE(status.messages.empty());
}

TEST_F(SessionLogTest, MovesAFullLogAsideKeepingOnePreviousFile) {
  const std::string line = "       0 ms  tx W3D01<CR>\n";  // less its wall-clock time
  const std::size_t lineBytes = kWallClockChars + 1 + line.size();
  SessionLog log(dir.path(), virtualTime(), status, 4 * lineBytes);
  auto flushLines = [&](int n) {
    for (int i = 0; i < n; ++i) log.sent("W3D01\r");
    log.flush();
  };
  flushLines(3);
  flushLines(1);  // exactly at the limit: still one file
  EXPECT_FALSE(dir.exists("corvane.log.1"));
  EXPECT_EQ(dir.read("corvane.log").size(), 4 * lineBytes);

  log.sent("R80");
  log.flush();  // would pass the limit: the full file moves aside first
  EXPECT_EQ(dir.read("corvane.log.1").size(), 4 * lineBytes);
  EXPECT_EQ(logText(), "       0 ms  tx R80\n");

  flushLines(4);  // the older previous file is replaced, whole lines only
  EXPECT_EQ(logText("corvane.log.1"), "       0 ms  tx R80\n");
  EXPECT_EQ(logText(), line + line + line + line);
  EXPECT_TRUE(status.messages.empty());

  // When the full file cannot be moved aside, it keeps growing rather than lose lines.
  std::filesystem::remove(dir / "corvane.log.1");
  dir.makeDir("corvane.log.1");
  flushLines(1);
  flushLines(1);
  EXPECT_EQ(logText(), line + line + line + line + line + line);
  ASSERT_EQ(status.messages.size(), 1u);
  EXPECT_EQ(status.last().rfind("session log ./corvane.log: it could not be moved to corvane.log.1", 0), 0u)
      << status.last();
}

TEST_F(SessionLogTest, ALogThatCannotBeWrittenIsSaidOnceAndNothingIsClaimed) {
  dir.makeDir("corvane.log");
  SessionLog log(dir.path(), virtualTime(), status);
  LoggedSerialPort port(fakePort, log);
  bench.addDevice(kModule, [](std::string_view, int) { return std::string("55"); });
  ASSERT_TRUE(port.open(kModule, 9600));
  for (int i = 0; i < 3; ++i) {
    port.write("R80");
    EXPECT_EQ(port.readAvailable(2), "55");  // the port works as before
    log.flush();
  }
  ASSERT_EQ(status.messages.size(), 1u);
  EXPECT_EQ(status.last(), "session log ./corvane.log not written: it is a folder");

  // Once it can be written again, the log says how much of the record is missing.
  std::filesystem::remove(dir / "corvane.log");
  clock.advance(300);
  port.write("W3D00");
  log.flush();
  EXPECT_EQ(logText(),
            "     300 ms  lost 6 events not written: it is a folder\n"
            "     300 ms  tx W3D00\n");
  EXPECT_EQ(status.messages.size(), 1u);
}

TEST_F(SessionLogTest, AFifoOrAMissingFolderIsRefusedWithoutWaiting) {
  ASSERT_EQ(::mkfifo((dir / "corvane.log").c_str(), 0600), 0);
  SessionLog fifo(dir.path(), virtualTime(), status);
  fifo.sent("X");
  fifo.flush();  // a reader-less fifo would block an open for writing
  fifo.sent("X");
  fifo.flush();
  ASSERT_EQ(status.messages.size(), 1u);
  EXPECT_EQ(status.last(), "session log ./corvane.log not written: it is not a regular file");

  SessionLog missing(dir / "gone", virtualTime(), status);
  missing.sent("X");
  missing.flush();
  EXPECT_EQ(status.messages.size(), 2u);
  EXPECT_TRUE(status.saw("No such file or directory"));
}

// Run as a user without rights when the test runs as root, for whom every folder
// may be written.
TEST_F(SessionLogTest, AFolderThatMayNotBeWrittenIsSaidOnce) {
  using std::filesystem::perms;
  std::filesystem::permissions(dir.path(), perms::owner_read | perms::owner_exec |
                                               perms::group_read | perms::group_exec |
                                               perms::others_read | perms::others_exec);
  auto session = [&] {
    if (::geteuid() == 0 && !becomeNobody()) return std::string("setup");
    SessionLog log(dir.path(), virtualTime(), status);
    for (int i = 0; i < 3; ++i) {
      log.sent("X");
      log.flush();
    }
    std::string said;
    for (const std::string& message : status.messages) said += message + '\n';
    return said;
  };
  std::optional<std::string> said = ::geteuid() == 0 ? inChild(session) : session();
  std::filesystem::permissions(dir.path(), perms::owner_all);
  ASSERT_TRUE(said);
  EXPECT_EQ(*said, "session log ./corvane.log not written: Permission denied\n");
  EXPECT_FALSE(dir.exists("corvane.log"));
}

}  // namespace

namespace {

// Each alarm message gets one line saying how it ended, timed from its start: the
// module's failure words, the delivery report's arrival, a time-out, the program's end.
TEST_F(SessionLogTest, EachAlarmEndsWithOneOutcomeLine) {
  {
    SessionLog log(dir.path(), virtualTime(), status);
    log.noteAlarm(1, "Contact-ID 1234");
    clock.advance(3000);
    log.received("FAIL");  // a report line not yet ended is not judged
    clock.advance(100);
    log.received("ED: NO ANSWER\r\n");
    log.noteTimeout("error: communication timeout");  // already ended: no second line
    log.noteAlarm(2, "Contact-ID 5678");
    clock.advance(9000);
    log.received("MESSAGE SUCC");
    clock.advance(10);
    log.received("ESS\r\n");
    clock.advance(100);
    log.noteDelivered();  // the dialog acts on it at the next quiet tick
    log.noteAlarm(3, "Contact-ID 9999");
    log.sent("W3D");
    log.sent("01\r");
    clock.advance(500);
  }
  EXPECT_EQ(logText(),
            "       0 ms  alarm message 1: Contact-ID 1234\n"
            "    3000 ms  rx FAIL\n"
            "    3100 ms  rx ED: NO ANSWER<CR><LF>\n"
            "    3100 ms  outcome message 1 failed after 3100 ms: FAILED: NO ANSWER\n"
            "    3100 ms  timeout error: communication timeout\n"
            "    3100 ms  alarm message 2: Contact-ID 5678\n"
            "   12100 ms  rx MESSAGE SUCC\n"
            "   12110 ms  rx ESS<CR><LF>\n"
            "   12210 ms  outcome message 2 delivered after 9010 ms\n"
            "   12210 ms  alarm message 3: Contact-ID 9999\n"
            "   12210 ms  tx W3D01<CR>\n"
            "   12710 ms  outcome message 3 no report after 500 ms: the program ended\n"
            "   12710 ms  end Corvane closed\n");
}

}  // namespace
