#include <dlfcn.h>

#include "corvane_fixture.h"
#include "wire_log.h"

using namespace corvane_ids;

namespace {
const std::string kFirst = "FIRSTMESSAGE001";  // 15 characters
std::string fileMessage(int n) { return "MESSAGE" + std::to_string(n) + "ABCDEFG"; }  // 15
}  // namespace

class MultipleRunTest : public CorvaneFixture {
 protected:
  void SetUp() override {
    readyToSend(kFirst);
    dlg.contactIdSelected = 0;
  }
  void writeFiles(int from, int to) {
    for (int n = from; n <= to; ++n) dir.write("alarmmessage" + std::to_string(n), fileMessage(n));
  }
  void start() {
    click(kMultipleRun);
    clearWire();
  }
  // The module reports delivery, then the line goes quiet: what the quiet tick sent.
  std::vector<std::string> deliver() {
    replyWith("MESSAGE SUCCESS\r\n");
    tick();
    clearWire();
    tick();
    return wireLog(bench, clock);
  }
  static Wire sPathStep(const std::string& chars) {
    Wire w;
    w.send("\r").send("\r").pause(100).send("S").each(chars, 30);
    return w.send("\r").pause(500).send("B");
  }
};

TEST_F(MultipleRunTest, StartSendsTheFirstMessageWithTheRunBitSet) {
  dlg.delivery.successSeen = 1;
  dlg.delivery.tickCount = 9;
  click(kMultipleRun);
  Wire expected;
  expected.send("W3D01").pause(50).send("WAC").send("83").pause(100).send("\r");
  expected.send("W7F0").send("0").send("\r").pause(100);
  expected.send("D").each("5551234").send("\r").send("S").each(kFirst, 30).send("\r").send("\r");
  expected.send("W3D00").pause(50).send("G");
  EXPECT_EQ(wireLog(bench, clock), expected.items);
  EXPECT_EQ(dlg.shadows.shadowAC, 0x83);
  EXPECT_EQ(panel.text(kReceived), "D5551234\r\nS" + kFirst);
  EXPECT_EQ(panel.text(kTransmitting), kFirst);
  EXPECT_EQ(std::tuple(dlg.run.runRemaining, dlg.run.runIndex, dlg.delivery.successSeen, dlg.delivery.tickCount),
            std::tuple(8, 1, 0, 0));
}

TEST_F(MultipleRunTest, EightMessagesGoThroughEightReportsThenCrAndA) {
  writeFiles(2, 8);
  start();
  for (int n = 2; n <= 8; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(deliver(), sPathStep(fileMessage(n)).items);
    EXPECT_EQ(panel.text(kTransmitting), fileMessage(n));
    EXPECT_EQ(std::tuple(dlg.run.runIndex, dlg.run.runRemaining, dlg.delivery.successSeen), std::tuple(n, 9 - n, 0));
  }
  EXPECT_EQ(deliver(), (std::vector<std::string>{"\r", "A"}));
  EXPECT_EQ(std::tuple(dlg.run.runRemaining, dlg.delivery.successSeen), std::tuple(0, 0));
  EXPECT_TRUE(deliver().empty());
}

TEST_F(MultipleRunTest, MissingOrXFileEndsTheRunOnTheSPath) {
  writeFiles(2, 2);
  dir.write("alarmmessage4", "X and the rest");
  start();
  deliver();
  EXPECT_EQ(deliver(), Wire().send("\r").send("\r").pause(100).send("S").send("\r").send("A").items);
  EXPECT_EQ(dlg.run.runRemaining, 0);

  dir.write("alarmmessage3", fileMessage(3));
  start();
  deliver();
  deliver();
  EXPECT_EQ(deliver(), Wire().send("\r").send("\r").pause(100).send("S").send("\r").send("A").items);
  EXPECT_EQ(std::tuple(dlg.run.runRemaining, dlg.run.runIndex), std::tuple(0, 4));
}

TEST_F(MultipleRunTest, FskF1RunSendsKFramesAndAnXFileEndsItWithA) {
  selectFormat(&CCorvaneDlg::fskF1Selected, '1');
  dlg.alarmMessage1 = "4142";
  dir.write("alarmmessage2", "434445");
  dir.write("alarmmessage3", "X4");
  click(kMultipleRun);
  std::vector<std::string> startWire = wireLog(bench, clock);
  Wire tail;
  tail.send("\r").pause(10).send("K").send("D0").send("41").pause(100);
  tail.send("K").send("D1").send("42").pause(100).send("\r");
  tail.send("W3D00").pause(50).send("G");
  ASSERT_GE(startWire.size(), tail.items.size());
  EXPECT_EQ(std::vector<std::string>(startWire.end() - static_cast<long>(tail.items.size()),
                                     startWire.end()),
            tail.items);

  clearWire();
  Wire step;
  step.send("\r").send("\r").pause(10);
  step.send("K").send("D0").send("43").pause(100).send("K").send("D1").send("44").pause(100);
  step.send("K").send("D2").send("45").pause(100).send("\r").pause(100).send("B");
  EXPECT_EQ(deliver(), step.items);
  EXPECT_EQ(panel.text(kTransmitting), "434445");
  EXPECT_EQ(deliver(), (std::vector<std::string>{"\r", "A"}));
  EXPECT_EQ(dlg.run.runRemaining, 0);
}

TEST_F(MultipleRunTest, PulseSendsFifteenCharactersFirstAndSixFromFiles) {
  dlg.contactIdSelected = 1;
  dlg.pulse4x2Selected = 0;
  writeFiles(2, 2);
  click(kMultipleRun);
  EXPECT_NE(sentBytes().find("S" + kFirst + "\r\r"), std::string::npos);
  clearWire();
  EXPECT_EQ(deliver(), sPathStep(fileMessage(2).substr(0, 6)).items);
}

TEST_F(MultipleRunTest, AbortHangsUpAndLeavesTheRunGoing) {
  writeFiles(2, 3);
  start();
  deliver();
  clearWire();
  auto state = [this] { return std::tuple(dlg.run.runRemaining, dlg.run.runIndex, dlg.delivery.successSeen, dlg.delivery.tickCount); };
  auto before = state();
  click(kAbort);
  EXPECT_EQ(wireLog(bench, clock), (std::vector<std::string>{"\r", "A"}));
  EXPECT_EQ(state(), before);
  EXPECT_EQ(deliver(), sPathStep(fileMessage(3)).items);
}

TEST_F(MultipleRunTest, AbortBeepsBeforeItsTwoBytes) {
  std::size_t writesAtBeep = 99;
  outside.beep.onBeep = [&] { writesAtBeep = bench.writes().size(); };
  click(kAbort);
  EXPECT_EQ(outside.beep.beeps, 1);
  EXPECT_EQ(writesAtBeep, 0u);
  EXPECT_EQ(sentWrites(), (std::vector<std::string>{"\r", "A"}));
}

// The real beep: MyBeep of the outside library, found at start-up by its file name.
TEST(PellixBeep, CallsMyBeepOfTheLibraryAndIsSilentWithoutIt) {
  PellixBeep missing("libpellix-missing.so");
  missing.load();
  EXPECT_FALSE(missing.found());
  missing.beep();

  PellixBeep beep(ZM_PELLIX_FILE);
  beep.load();
  ASSERT_TRUE(beep.found());
  void* library = ::dlopen(ZM_PELLIX_FILE, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr);
  auto pellixCalls = reinterpret_cast<int (*)()>(::dlsym(library, "pellixTestCalls"));
  ASSERT_NE(pellixCalls, nullptr);
  int before = pellixCalls();
  beep.beep();
  EXPECT_EQ(pellixCalls(), before + 1);
  ::dlclose(library);
}
