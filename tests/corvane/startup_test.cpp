#include <cstdio>
#include <utility>

#include "common/termios_serial_port.h"
#include "corvane_fixture.h"
#include "fake_module.h"

using namespace corvane_ids;

namespace {

using Writes = std::vector<std::string>;

class StartUpTest : public CorvaneFixture {
 protected:
  // The module on `name` at its baud rate, and ./commport naming it.
  void plugModule(int baud, const std::string& name = "COM3:") {
    module.baud = baud;
    bench.addDevice(name, module.responder());
    dir.write("commport", name);
  }

  // The dialer time-out and kiss-off fields, then the AC, AB and B1 register copies,
  // as start-up left them.
  std::string optionValues() const {
    char copies[16];
    std::snprintf(copies, sizeof copies, "%02X %02X %02X", dlg.shadows.shadowAC, dlg.shadows.shadowAB,
                  dlg.shadows.shadowB1);
    return panel.text(kDialerTimeout) + "|" + panel.text(kKissoffTime) + "|" + copies;
  }

  FakeModule module;
};

// Every write of the 9600 baud link test, with its virtual time, when the module
// answers: the first R80 reads the register before the W8055 sets it.
const Writes kSlowTestWrites = {"0 \r", "0 \r", "0 \r", "100 R80", "150 W8055", "250 R80"};
const std::vector<int> kSlowAnsweredPauses =
    concat({{100}, fullQueryPauses(), {100}, fullQueryPauses(), {100}});
const std::vector<int> kSlowSilentPauses =
    concat({{100}, silentQueryPauses(), {100}, silentQueryPauses(), {100}});
const std::vector<int> kFastPauses = {100, 100, 100, 100};
const std::vector<int> kTimingPause = {1};

TEST_F(StartUpTest, ModuleAnsweringAt9600StaysAt9600AndShowsThePortDigit) {
  plugModule(9600);
  dlg.startUp();

  Writes expected = kSlowTestWrites;
  for (const char* frame : {"400 Q82", "450 Q83", "500 QAC", "550 QAB", "600 RB1"})
    expected.push_back(frame);
  EXPECT_EQ(timedWrites(bench), expected);
  std::vector<int> queries = concat({fullQueryPauses(), fullQueryPauses(), fullQueryPauses(),
                                     fullQueryPauses(), fullQueryPauses()});
  EXPECT_EQ(clock.pauses(), concat({kSlowAnsweredPauses, queries, kTimingPause}));
  EXPECT_EQ(portEvents(bench), Writes{"open COM3: 9600"});
  EXPECT_EQ(port.baud(), 9600);
  EXPECT_EQ(panel.text(kReceived), "com: 3\r\n1");
  EXPECT_EQ(panel.text(kCommport), "COM3:");
  EXPECT_EQ(dlg.flags.commportChanged, 1);
}

TEST_F(StartUpTest, ModuleAnsweringOnlyAt115200IsEstablishedThere) {
  plugModule(115200);
  dlg.startUp();

  Writes all = timedWrites(bench);
  Writes link(all.begin(), all.begin() + 8);
  EXPECT_EQ(link, (Writes{"0 \r", "0 \r", "0 \r", "100 R80", "190 W8055", "290 R80", "480 \r",
                          "680 R8"}));
  EXPECT_EQ(portEvents(bench), (Writes{"open COM3: 9600", "close COM3:", "open COM3: 115200"}));
  std::vector<int> linkPauses(clock.pauses().begin(), clock.pauses().begin() + 21);
  EXPECT_EQ(linkPauses, concat({kSlowSilentPauses, kFastPauses}));
  EXPECT_EQ(port.baud(), 115200);
  EXPECT_EQ(panel.text(kReceived), "communication established\r\n1");
  EXPECT_EQ(dlg.flags.commportChanged, 0);
  // The register reads that follow are answered at the fast rate.
  EXPECT_EQ(all.at(8), "880 Q82");
  EXPECT_EQ(panel.text(kDialerTimeout), "00");
}

TEST_F(StartUpTest, PortWithNoModuleStaysOpenAt115200WithoutALinkLine) {
  bench.addDevice("COM2:");
  dir.write("commport", "COM2:");
  dlg.startUp();

  EXPECT_EQ(timedWrites(bench), (Writes{"0 \r", "0 \r", "0 \r", "100 R80", "190 W8055", "290 R80",
                                        "480 \r", "680 R8", "880 Q82", "970 Q83", "1060 QAC",
                                        "1150 QAB", "1240 RB1"}));
  std::vector<int> queries = concat({silentQueryPauses(), silentQueryPauses(), silentQueryPauses(),
                                     silentQueryPauses(), silentQueryPauses()});
  EXPECT_EQ(clock.pauses(), concat({kSlowSilentPauses, kFastPauses, queries, kTimingPause}));
  EXPECT_TRUE(port.isOpen());
  EXPECT_EQ(port.baud(), 115200);
  EXPECT_EQ(panel.text(kReceived), "\r\n1");
  EXPECT_EQ(dlg.flags.commportChanged, 0);
}

TEST_F(StartUpTest, NoSettingsFilesAndNoModuleOpensAnEmptyDialog) {
  dlg.startUp();

  EXPECT_TRUE(dir.exists("commport"));
  EXPECT_EQ(dir.read("commport"), "");
  EXPECT_EQ(portEvents(bench), (Writes{"fail ", "fail "}));
  EXPECT_TRUE(bench.writes().empty());
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(dlg.protocolCode, '0');
  EXPECT_EQ(panel.text(kReceived), "\r\n1");
  for (int id : {kTelephoneNumber, kAlarmMessage1, kCommport, kAlarmMessage2, kAlarmMessage3,
                 kAlarmMessage4, kAlarmMessage5, kAlarmMessage6, kAlarmMessage7, kAlarmMessage8,
                 kTransmitting, kAsciiMessage, kHexMessage, kKbdata, kDialerTimeout, kKissoffTime})
    EXPECT_EQ(panel.text(id), "") << id;
  EXPECT_TRUE(panel.checked(kContactId));
  for (int id : {kFskF1, kPulse4x2, kFskF2, kAudio, kTerminalEnable, kSia110, kDebug, kStatus,
                 kReduce6db, kTone1400})
    EXPECT_FALSE(panel.checked(id)) << id;
  EXPECT_EQ(dlg.shadows.shadowAB, 0);
  EXPECT_EQ(dlg.shadows.shadowAC, 0);
  EXPECT_EQ(dlg.shadows.shadowB1, 0);
  EXPECT_EQ(panel.textLimit(kKissoffTime), 2);
  EXPECT_TRUE(dir.exists("zm40demohistory"));
  EXPECT_FALSE(dir.exists("telephonenumber"));
  EXPECT_FALSE(dir.exists("protocol2"));
}

TEST_F(StartUpTest, UnknownPortNameBehavesAsNoPort) {
  dir.write("commport", "COM7:");  // nothing of that name on the bench
  dlg.startUp();
  EXPECT_EQ(portEvents(bench), (Writes{"fail COM7:", "fail COM7:"}));
  EXPECT_EQ(panel.text(kCommport), "COM7:");
  EXPECT_EQ(panel.text(kReceived), "\r\n1");
}

TEST_F(StartUpTest, NameShorterThanFourCharactersShowsNoDigit) {
  plugModule(9600, "CO");
  dir.write("commport", std::string("CO\0junk", 7));  // the name ends at the NUL
  dlg.startUp();
  EXPECT_EQ(panel.text(kCommport), "CO");
  EXPECT_EQ(panel.text(kReceived), "com: \r\n1");
}

TEST_F(StartUpTest, RegisterRepliesSetTheOptionFields) {
  plugModule(9600);
  module.registers = {{0x82, 0x0A}, {0x83, 0x14}, {0xAC, 0x7F}, {0xAB, 0x64}, {0xB1, 0x04}};
  dlg.startUp();

  EXPECT_EQ(optionValues(), "0A|14|7F 64 04");
  for (int id : {kReduce6db, kAudio, kSia110, kDebug, kStatus, kTone1400})
    EXPECT_TRUE(panel.checked(id)) << id;
}

TEST_F(StartUpTest, OppositeRegisterBitsShowTheOptionsClear) {
  plugModule(9600);
  module.registers = {{0xAC, 0xFF}, {0xAB, 0x80}, {0xB1, 0xFB}};
  dlg.startUp();

  // B1's bit 2 clear keeps 1400 Hz at its start value.
  for (int id : {kReduce6db, kAudio, kSia110, kDebug, kStatus, kTone1400})
    EXPECT_FALSE(panel.checked(id)) << id;
}

TEST_F(StartUpTest, ShortOrGarbledRepliesLeaveStartValuesAndZeroCopies) {
  plugModule(9600);
  module.registers = {{0xAC, 0x7F}, {0xAB, 0x64}, {0xB1, 0x04}};
  module.replies = {{"Q82", "0"}, {"Q83", ""}, {"QAC", "7"}, {"QAB", "ZZ"}, {"RB1", "4"}};
  dlg.startUp();

  EXPECT_EQ(optionValues(), "||00 00 00");
  for (int* field : {&dlg.reduce6dbSelected, &dlg.audioSelected, &dlg.sia110Selected,
                     &dlg.debugSelected, &dlg.statusSelected, &dlg.tone1400Selected})
    EXPECT_EQ(*field, -1);
}

// On a loaded machine each reply to a start-up read comes only after the next frame
// has gone out. No reply may then be taken as the next register's: every register
// keeps its start values (nothing wrong is shown or later written back), the operator
// is told which reply was not taken, and the wire is what it always was.
TEST_F(StartUpTest, RepliesThatComeAfterTheirWindowAreNeverTakenForTheNextRegister) {
  module.registers = {{0x82, 0x0A}, {0x83, 0x14}, {0xAC, 0x7F}, {0xAB, 0x64}, {0xB1, 0x04}};
  std::string late;
  bench.addDevice("COM3:", [&](std::string_view frame, int baud) {
    std::string now = std::exchange(late, {});
    const bool startUpRead = frame.size() == 3 && (frame[0] == 'Q' || frame == "RB1");
    (startUpRead ? late : now) += module.answer(frame, baud);
    return now;
  });
  dir.write("commport", "COM3:");
  dlg.startUp();

  Writes expected = kSlowTestWrites;
  for (const char* frame : {"400 Q82", "490 Q83", "540 QAC", "590 QAB", "640 RB1"})
    expected.push_back(frame);
  EXPECT_EQ(timedWrites(bench), expected);
  EXPECT_EQ(clock.pauses(), concat({kSlowAnsweredPauses, silentQueryPauses(), fullQueryPauses(),
                                    fullQueryPauses(), fullQueryPauses(), fullQueryPauses(),
                                    kTimingPause}));
  for (int id : {kDialerTimeout, kKissoffTime}) EXPECT_EQ(panel.text(id), "") << id;
  for (int id : {kReduce6db, kAudio, kSia110, kDebug, kStatus, kTone1400})
    EXPECT_FALSE(panel.checked(id)) << id;
  EXPECT_TRUE(outside.status.saw("Q82 no reply; Q83 \"0A\" not taken, as it may be the late "
                                 "reply to Q82; QAC \"14\" not taken"));

  // A later switch click writes the register from its start copy, not from AB's reply.
  clearWire();
  click(kAudio);
  EXPECT_EQ(bench.written("COM3:").substr(0, 6), "\rMAB80");
}

// Bytes the module sends after a reply are dropped before the next query goes out, so
// the next register still reads its own reply.
TEST_F(StartUpTest, BytesAfterAReplyAreDroppedBeforeTheNextQuery) {
  plugModule(9600);
  module.registers = {{0x83, 0x14}, {0xAC, 0x7F}};
  module.replies = {{"Q82", "0A\r\n"}, {"QAB", "6"}};
  dlg.startUp();

  EXPECT_EQ(panel.text(kDialerTimeout), "0A");
  EXPECT_EQ(panel.text(kKissoffTime), "14");
  EXPECT_TRUE(panel.checked(kReduce6db));
  EXPECT_FALSE(panel.checked(kAudio));
  EXPECT_TRUE(outside.status.saw("\"\\r\\n\" came before Q83 was sent, dropped; QAB \"6\", one "
                                 "character; RB1 \"00\" not taken"));
}

TEST(StartUpOnTheRealPort, PlainFileNamedAsThePortIsNeitherOpenedNorWritten) {
  TempDir dir;
  VirtualClock clock;
  TermiosSerialPort port(dir.path());
  FakeControlPanel panel;
  dir.makeDir("ports");
  dir.write("ports/COM3", "keep");
  dir.write("commport", "COM3:");
  CorvaneOutside outside(dir.path());
  CCorvaneDlg dlg(outside.env(port, clock, panel));
  dlg.startUp();
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(dir.read("ports/COM3"), "keep");
  EXPECT_EQ(panel.text(kReceived), "\r\n1");
}

struct ProtocolCase {
  std::string file;
  char code;
  int contactId, fskF1, pulse4x2, fskF2;
};

class ProtocolAtStartUp : public StartUpTest, public ::testing::WithParamInterface<ProtocolCase> {};

TEST_P(ProtocolAtStartUp, FirstByteChoosesTheButtons) {
  const ProtocolCase& c = GetParam();
  if (c.file != "<missing>") dir.write("protocol2", c.file);
  dlg.startUp();
  EXPECT_EQ(dlg.protocolCode, c.code);
  EXPECT_EQ(dlg.contactIdSelected, c.contactId);
  EXPECT_EQ(dlg.fskF1Selected, c.fskF1);
  EXPECT_EQ(dlg.pulse4x2Selected, c.pulse4x2);
  EXPECT_EQ(dlg.fskF2Selected, c.fskF2);
  EXPECT_EQ(panel.checked(kContactId), c.contactId == 0);
  EXPECT_EQ(panel.checked(kFskF2), c.fskF2 == 0);
}

INSTANTIATE_TEST_SUITE_P(Codes, ProtocolAtStartUp,
                         ::testing::Values(ProtocolCase{"<missing>", '0', 0, 1, 1, 1},
                                           ProtocolCase{"", '0', 0, 1, 1, 1},
                                           ProtocolCase{"0", '0', 0, 1, 1, 1},
                                           ProtocolCase{"1", '1', 1, 0, 1, 1},
                                           ProtocolCase{"2x", '2', 1, 1, 0, 1},
                                           ProtocolCase{"8", '8', 1, 1, 1, 0},
                                           ProtocolCase{"Z", 'Z', 0, 1, 1, -1}));

TEST_F(StartUpTest, SettingsFilesFillTheEdits) {
  dir.write("telephonenumber", "01 2\r\n");
  dir.write("alarmmessage", "1234\r\n");
  dir.write("alarmmessage8", "last");
  dir.write("zm40demohistory", "old records");
  dlg.startUp();

  EXPECT_EQ(panel.text(kTelephoneNumber), "012");
  EXPECT_EQ(panel.text(kAlarmMessage1), "1234\r\n");
  EXPECT_EQ(panel.text(kAlarmMessage8), "last");
  EXPECT_EQ(panel.text(kAlarmMessage2), "");
  EXPECT_EQ(dir.read("zm40demohistory"), "");
}

// A clock whose stopwatch reads a fraction of a millisecond more than the pause.
class FractionalClock : public VirtualClock {
 public:
  explicit FractionalClock(double elapsedMs) : elapsedMs_(elapsedMs) {}
  double stopwatchElapsedMs() override { return elapsedMs_; }

 private:
  double elapsedMs_;
};

TEST(TimingLine, HoldsAtMostTenCharactersAfterItsLineEnd) {
  for (double elapsed : {1.0123456789, 1.25, 12345678901.5, 0.001}) {
    FractionalClock clock(elapsed);
    FakeSerialBench bench(clock);
    FakeSerialPort port(bench);
    FakeControlPanel panel;
    TempDir dir;
    CorvaneOutside outside(dir.path());
    CCorvaneDlg dlg(outside.env(port, clock, panel));
    dlg.startUp();  // no module: the display holds only the timing line
    ASSERT_FALSE(clock.pauses().empty());
    EXPECT_EQ(clock.pauses().back(), 1);
    std::string line = dlg.display.receivedText.substr(2);
    EXPECT_EQ(dlg.display.receivedText.substr(0, 2), "\r\n");
    EXPECT_EQ(line, formatGeneral(elapsed, 10).substr(0, 10));
    EXPECT_LE(line.size(), 10u);
  }
}

}  // namespace
