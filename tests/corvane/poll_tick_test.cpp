#include "corvane_fixture.h"
#include "wire_log.h"

using namespace corvane_ids;

class PollTickTest : public CorvaneFixture {
 protected:
  void SetUp() override {
    openModule();
    dlg.delivery.successSeen = 1;  // no time-out count unless a test wants it
  }
  std::vector<std::string> wire() const { return wireLog(bench, clock); }
};

TEST_F(PollTickTest, LinesWrapAfterTwentyFiveCharactersAndEveryCrGetsAnLf) {
  replyWith("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  tick();
  EXPECT_EQ(panel.text(kReceived), "ABCDEFGHIJKLMNOPQRSTUVWXY\r\nZ");
  EXPECT_EQ(std::tuple(dlg.display.lineCount, dlg.display.columnCount), std::tuple(1, 1));
  EXPECT_EQ(clock.pauses(), std::vector<int>{50});
  EXPECT_EQ(panel.text(kReceived), dlg.display.receivedText);

  dlg.display.receivedText.clear();
  dlg.display.columnCount = 0;
  replyWith("OK\r\n");
  tick();
  EXPECT_EQ(panel.text(kReceived), "OK\r\n");
  EXPECT_EQ(dlg.display.lineCount, 2);

  dlg.display.receivedText.clear();
  replyWith(std::string(24, 'x') + "\r");
  tick();
  EXPECT_EQ(panel.text(kReceived), std::string(24, 'x') + "\r\r\n\n");
  EXPECT_EQ(dlg.display.lineCount, 4);
}

TEST_F(PollTickTest, ThirtyOneLinesLoseTheOldestOne) {
  std::string lines;
  for (int i = 0; i < 30; ++i) lines += "line" + std::to_string(i) + "\r\n";
  dlg.display.receivedText = lines;
  dlg.display.lineCount = 30;
  replyWith("new\r");
  tick();
  EXPECT_EQ(panel.text(kReceived), lines.substr(lines.find('\n') + 1) + "new\r\n");
  EXPECT_EQ(dlg.display.lineCount, 30);

  // Without a line end in the first 1000 characters nothing sensible remains.
  dlg.display.receivedText = std::string(1200, 'x');
  replyWith("\r");
  tick();
  EXPECT_EQ(panel.text(kReceived), "");
}

TEST_F(PollTickTest, ReportIsActedOnAtTheNextQuietTick) {
  dir.write("displaymessage", std::string(20, '.'));
  int& restarts = outside.pollTimer.restarts;
  replyWith("busy");
  tick();
  EXPECT_EQ(restarts, 0);  // a tick that reads text without a report leaves the period
  dlg.display = ReceivedDisplay{};
  replyWith("MESSAGE SUCCESS\r\n");
  tick();
  EXPECT_EQ(dlg.delivery.successPending, 17);
  EXPECT_EQ(restarts, 1);
  EXPECT_EQ(dir.read("displaymessage"), std::string(20, '.'));

  dlg.delivery.successSeen = 0;
  dlg.delivery.tickCount = 40;
  tick();
  EXPECT_EQ(dir.read("displaymessage"), "MESSAGE SUCCESS\r....");
  EXPECT_EQ(std::tuple(dlg.delivery.successPending, dlg.delivery.successSeen, dlg.delivery.tickCount),
            std::tuple(0, 1, 0));
  EXPECT_EQ(restarts, 3);  // acting on the report, then the quiet line's mailbox

  std::filesystem::remove(dir / "displaymessage");
  replyWith("xM00");
  tick();
  tick();
  EXPECT_FALSE(dir.exists("displaymessage"));
  EXPECT_EQ(dlg.delivery.successSeen, 1);
}

TEST_F(PollTickTest, QuietTickAfterReportSendsTheNextMessageOfARun) {
  dir.write("alarmmessage2", "SECONDMESSAGE02");
  dlg.run.runRemaining = 8;
  dlg.run.runIndex = 1;
  dlg.delivery.successSeen = 0;
  replyWith("MESSAGE SUCCESS");
  tick();
  EXPECT_TRUE(sentBytes().empty());
  tick();
  EXPECT_EQ(sentBytes(), "\r\rSSECONDMESSAGE02\rB");
  EXPECT_EQ(dlg.run.runIndex, 2);
}

TEST_F(PollTickTest, ReportSplitOverTwoTicksOrBehindANulIsNotRecognised) {
  replyWith("MESSAGE SUC");
  tick();
  replyWith("CESS");
  tick();
  EXPECT_EQ(dlg.delivery.successPending, 0);

  replyWith(std::string("ab\0MESSAGE SUCCESS", 18));
  tick();
  EXPECT_EQ(dlg.delivery.successPending, 0);
}

TEST_F(PollTickTest, CommandByteIsSentOnceAndMarkedTaken) {
  dir.write("command", "G12");
  tick();
  tick();
  EXPECT_EQ(sentWrites(), std::vector<std::string>{"G"});
  EXPECT_EQ(dir.read("command"), "\r12");

  clearWire();
  dir.write("command", "\nG");
  tick();
  dir.write("command", "G");
  replyWith("busy");
  tick();
  EXPECT_TRUE(sentWrites().empty());
  // The quiet tick that acts on a report passes the mailbox on as well.
  replyWith("M00");
  tick();
  EXPECT_TRUE(sentWrites().empty());
  tick();
  EXPECT_EQ(sentWrites(), std::vector<std::string>{"G"});
  EXPECT_EQ(dlg.delivery.successSeen, 1);
}

TEST_F(PollTickTest, TimeoutRecordEveryFiveHundredAndOneNormalTicks) {
  ASSERT_EQ(outside.history.create().outcome, HistoryFile::Outcome::kOpen);
  dlg.delivery.successSeen = 0;
  tick(500);
  EXPECT_EQ(dir.read("zm40demohistory"), "");
  tick();
  std::string record = dir.read("zm40demohistory");
  ASSERT_EQ(record.size(), 100u);
  EXPECT_EQ(record.substr(0, 42), std::string("error: communication timeout has occured.\0", 42));
  EXPECT_EQ(panel.text(kReceived), "error: communication timeout");
  EXPECT_EQ(dlg.delivery.tickCount, 0);

  dlg.terminalSelected = 0;  // terminal mode does not count
  tick(600);
  dlg.terminalSelected = 1;
  tick(500);
  EXPECT_EQ(dir.read("zm40demohistory").size(), 100u);
  tick();
  EXPECT_EQ(dir.read("zm40demohistory").size(), 200u);
}

TEST_F(PollTickTest, ProtocolIsSavedOnlyInNormalMode) {
  dlg.protocolCode = '8';
  dlg.flags.protocolChanged = 1;
  dlg.terminalSelected = 0;
  tick();
  EXPECT_FALSE(dir.exists("protocol2"));
  EXPECT_EQ(dlg.flags.protocolChanged, 1);
  dlg.terminalSelected = 1;
  tick();
  EXPECT_EQ(dir.read("protocol2"), "8");
  EXPECT_EQ(dlg.flags.protocolChanged, 0);
}

TEST_F(PollTickTest, ForcedBreakAfterMoreThan140CharactersOfFirstReads) {
  replyWith(std::string(60, 'a'));
  tick();
  EXPECT_EQ(dlg.display.charsSinceBreak, 30);  // the second read of a tick is not counted

  dlg.display.receivedText.clear();
  dlg.display.columnCount = 0;
  dlg.display.charsSinceBreak = 139;
  replyWith("b");
  tick();
  EXPECT_EQ(panel.text(kReceived), "b");
  replyWith("c");
  tick();
  EXPECT_EQ(panel.text(kReceived), "bc\r\n");
  EXPECT_EQ(dlg.display.charsSinceBreak, 0);
}

TEST_F(PollTickTest, ChangedPortNameIsSavedByTheTail) {
  dlg.commportText = "COM3:";
  dlg.flags.commportChanged = 1;
  dlg.terminalSelected = 0;
  tick();
  EXPECT_EQ(dir.read("commport"), std::string("COM3:\0\0\0", 8));
  EXPECT_EQ(dlg.flags.commportChanged, 0);
}
