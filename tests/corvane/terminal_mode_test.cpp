#include <string>
#include <vector>

#include "corvane_fixture.h"
#include "wire_log.h"

using namespace corvane_ids;
using Strings = std::vector<std::string>;

namespace {
constexpr std::size_t kDisplayCapBytes = 64 * 1024;
// Once full, the display drops this much more than it must, so its head is cut seldom.
constexpr std::size_t kTrimBytes = 4 * 1024;
}

class TerminalModeTest : public CorvaneFixture {
 protected:
  void SetUp() override { openModule(); }
  void enableTerminal() {
    click(kTerminalEnable);
    clearWire();
  }
  std::vector<std::string> wire() const { return wireLog(bench, clock); }
};

TEST_F(TerminalModeTest, EnableClickOnlyStoresAndTurnsTheModeOn) {
  const std::string shown = panel.text(kReceived);
  const std::size_t told = outside.status.messages.size();
  click(kTerminalEnable);
  EXPECT_TRUE(panel.checked(kTerminalEnable));
  EXPECT_EQ(sentBytes(), "");
  EXPECT_TRUE(clock.pauses().empty());
  // The status line, not the display, says what the mode means, once.
  ASSERT_EQ(outside.status.messages.size(), told + 1);
  const std::string& said = outside.status.last();
  for (const char* words : {"terminal mode is on", "not interpreted", "only a restart"})
    EXPECT_NE(said.find(words), std::string::npos) << said;
  EXPECT_EQ(panel.text(kReceived), shown);
  click(kTerminalEnable);
  EXPECT_TRUE(panel.checked(kTerminalEnable));
  EXPECT_EQ(outside.status.messages.size(), told + 1);
}

TEST_F(TerminalModeTest, TypedKeyIsSentOnceEchoedAndTheFieldEmptied) {
  enableTerminal();
  typeInto(kKbdata, "a");
  EXPECT_EQ(dlg.flags.kbdataChanged, 1);
  EXPECT_EQ(clock.pauses(), (std::vector<int>{100}));
  EXPECT_EQ(sentBytes(), "");

  dlg.display.receivedText = "";
  tick();
  EXPECT_EQ(sentWrites(), (Strings{"a"}));
  EXPECT_EQ(panel.text(kReceived), "a");
  EXPECT_EQ(dlg.flags.kbdataChanged, 0);
  EXPECT_EQ(dlg.kbdataText, "");
  EXPECT_EQ(panel.text(kKbdata), "");
  EXPECT_EQ(clock.pauses(), (std::vector<int>{100, 100}));

  tick();
  EXPECT_EQ(sentWrites(), (Strings{"a"}));
}

// The operator types faster than the ticks: each key costs the handler's 100 ms, so
// about three keys fall between two ticks. None is lost: the field holds the keys
// still waiting, and each tick sends the first of them, echoes it and pauses.
TEST_F(TerminalModeTest, TenKeysTypedFasterThanTheTicksAllGoOutOnePerTickInOrder) {
  enableTerminal();
  dlg.display.receivedText = "";
  Wire expected;
  typeInto(kKbdata, "012");
  expected.pause(100).pause(100).pause(100);
  tick();
  expected.send("0").pause(100);
  EXPECT_EQ(panel.text(kKbdata), "12");
  typeInto(kKbdata, "345");
  expected.pause(100).pause(100).pause(100);
  tick();
  expected.send("1").pause(100);
  EXPECT_EQ(panel.text(kKbdata), "2345");
  typeInto(kKbdata, "6789");
  expected.pause(100).pause(100).pause(100).pause(100);
  for (char key : std::string("23456789")) {
    tick();
    expected.send(std::string(1, key)).pause(100);
  }
  EXPECT_EQ(wire(), expected.items);
  EXPECT_EQ(panel.text(kReceived), "0123456789");
  EXPECT_EQ(panel.text(kKbdata), "");
  EXPECT_EQ(dlg.flags.kbdataChanged, 0);

  tick(3);  // an empty queue sends nothing more
  EXPECT_EQ(sentBytes(), "0123456789");
}

// The field is the queue: what the operator deletes, pastes or types over before its
// tick comes is what goes out, and nothing else.
TEST_F(TerminalModeTest, TheOperatorsEditsOfTheWaitingKeysAreWhatIsSent) {
  enableTerminal();
  typeInto(kKbdata, "abc");
  tick();
  EXPECT_EQ(panel.text(kKbdata), "bc");
  replaceText(kKbdata, "b");         // Backspace over the c
  replaceText(kKbdata, "bXYZ");      // a paste of three characters
  replaceText(kKbdata, "bQ");        // XYZ selected and typed over
  tick(4);
  EXPECT_EQ(sentWrites(), (Strings{"a", "b", "Q"}));
  EXPECT_EQ(dlg.display.receivedText.substr(dlg.display.receivedText.size() - 3), "abQ");
}

TEST_F(TerminalModeTest, EnterQueuesACrBehindTheWaitingKeys) {
  enableTerminal();
  typeInto(kKbdata, "AT");
  dlg.onKbdataEnter();
  EXPECT_EQ(dlg.kbdataText, "AT\r");
  EXPECT_EQ(panel.text(kKbdata), "AT\r");  // shown waiting like any key
  EXPECT_EQ(dlg.flags.kbdataChanged, 1);
  dlg.onKbdataEnter();
  tick(5);
  EXPECT_EQ(sentWrites(), (Strings{"A", "T", "\r", "\r"}));
  EXPECT_EQ(panel.text(kKbdata), "");
}

TEST_F(TerminalModeTest, EmptiedFieldSendsNothingAndClearsTheFlag) {
  enableTerminal();
  typeInto(kKbdata, "a");
  replaceText(kKbdata, "");
  dlg.display.receivedText = "x";
  tick();
  EXPECT_EQ(sentBytes(), "");
  EXPECT_EQ(dlg.flags.kbdataChanged, 0);
  EXPECT_EQ(panel.text(kReceived), "x");
}

TEST_F(TerminalModeTest, ReceivedBytesAppearAsTheyCameSixteenAtATime) {
  enableTerminal();
  dlg.display.receivedText = "";
  replyWith("OK\r\n");
  tick();
  EXPECT_EQ(panel.text(kReceived), "OK\r\n");
  EXPECT_EQ(dlg.display.charsSinceBreak, 4);

  replyWith("0123456789abcdefXYZ");
  tick();
  EXPECT_EQ(panel.text(kReceived), "OK\r\n0123456789abcdef");
  EXPECT_EQ(dlg.display.charsSinceBreak, 20);
  tick();
  EXPECT_EQ(panel.text(kReceived), "OK\r\n0123456789abcdefXYZ");
  // The echoed key does not count as received.
  typeInto(kKbdata, "q");
  tick();
  EXPECT_EQ(dlg.display.charsSinceBreak, 23);
}

TEST_F(TerminalModeTest, KeysTypedWhileTheModeIsOffWaitForIt) {
  typeInto(kKbdata, "xy");
  tick(3);
  EXPECT_EQ(sentBytes(), "");
  EXPECT_EQ(dlg.flags.kbdataChanged, 1);
  EXPECT_EQ(panel.text(kKbdata), "xy");

  click(kTerminalEnable);
  clearWire();
  tick();
  EXPECT_EQ(wire(), Wire().send("x").pause(100).items);
  EXPECT_EQ(panel.text(kKbdata), "y");
  tick();
  EXPECT_EQ(sentBytes(), "xy");
  EXPECT_EQ(dlg.flags.kbdataChanged, 0);
}

// The protocol save belongs to the normal tick; terminal mode leaves it pending.
TEST_F(TerminalModeTest, ProtocolCodeIsNotSavedWhileTheModeIsOn) {
  enableTerminal();
  dlg.protocolCode = '1';
  dlg.flags.protocolChanged = 1;
  tick(3);
  EXPECT_FALSE(dir.exists("protocol2"));
  EXPECT_EQ(dlg.flags.protocolChanged, 1);

  // The same flag in normal mode is saved at once.
  dlg.terminalSelected = -1;
  tick();
  EXPECT_EQ(dir.read("protocol2"), "1");
  EXPECT_EQ(dlg.flags.protocolChanged, 0);
}

TEST_F(TerminalModeTest, DisplayKeepsTheNewestTextCutAtALineEnd) {
  enableTerminal();
  std::string lines;
  for (int i = 0; lines.size() < kDisplayCapBytes - 8; ++i)
    lines += "line " + std::to_string(100000 + i) + "\r\n";
  dlg.display.receivedText = lines;
  replyWith("0123456789ABCDEF");
  tick();

  const std::string& shown = dlg.display.receivedText;
  EXPECT_LE(shown.size(), kDisplayCapBytes);
  EXPECT_GT(shown.size(), kDisplayCapBytes - kTrimBytes - 64);
  EXPECT_EQ(shown.substr(shown.size() - 16), "0123456789ABCDEF");
  EXPECT_EQ(shown.substr(0, 5), "line ");
  EXPECT_EQ((lines + "0123456789ABCDEF").substr(lines.size() + 16 - shown.size()), shown);
}

TEST_F(TerminalModeTest, DisplayWithoutLineEndsKeepsExactlyTheNewestBytes) {
  enableTerminal();
  const std::string old(kDisplayCapBytes, '.');
  dlg.display.receivedText = old;
  dlg.display.charsSinceBreak = 140;  // the tick also forces a line break at its end
  replyWith("0123456789ABCDEF");
  tick();

  const std::string& shown = dlg.display.receivedText;
  EXPECT_LE(shown.size(), kDisplayCapBytes);
  EXPECT_GE(shown.size(), kDisplayCapBytes - kTrimBytes - 2);
  EXPECT_NE(shown.find("0123456789ABCDEF"), std::string::npos);
  EXPECT_EQ(shown.front(), '.');
}
