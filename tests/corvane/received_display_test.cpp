#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "corvane/state/delivery_watch.h"
#include "corvane/state/received_display.h"

namespace {

// One line a tick for a long while: the display settles at its newest 30 lines.
TEST(ReceivedDisplay, KeepsTheNewestThirtyLinesOfALongSession) {
  ReceivedDisplay display;
  std::string expected;
  for (int i = 0; i < 100; ++i) {
    const std::string line = "line " + std::to_string(i);
    display.showReceived(line + "\r\n");  // the module's LF is dropped, ours follows CR
    display.trimOldestLine();
    if (i >= 70) expected += line + "\r\n";
  }
  EXPECT_EQ(display.lineCount, 30);
  EXPECT_EQ(display.receivedText, expected);
}

TEST(ReceivedDisplay, WrapCountsEveryShownCharacterButNotTheModulesLf) {
  ReceivedDisplay display;
  display.showReceived(std::string(24, 'a') + "\n" + "bc");
  EXPECT_EQ(display.receivedText, std::string(24, 'a') + "b\r\nc");
  EXPECT_EQ(std::tuple(display.lineCount, display.columnCount), std::tuple(1, 1));
}

long lineEnds(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

// The CR LF of a forced break is a line of the display: a stream of LF bytes, which
// shows nothing but those breaks, settles at 30 lines like any other text.
TEST(ReceivedDisplay, ForcedBreakIsALineSoNoiseOfLfIsTrimmed) {
  ReceivedDisplay display;
  for (int tick = 0; tick < 1000; ++tick) {
    display.countReceived(30);
    display.showReceived(std::string(60, '\n'));
    display.trimOldestLine();
    display.breakLongRun();
    ASSERT_LE(display.lineCount, 31);
  }
  EXPECT_EQ(display.receivedText.size(), 2u * display.lineCount);
}

// After a trim the count is what the text holds: a burst of CRs that the trim empties
// in one go leaves no count behind to eat the lines that come next.
TEST(ReceivedDisplay, TrimLeavesTheCountAtTheLinesTheTextHolds) {
  ReceivedDisplay display;
  display.showReceived(std::string(40, '\r'));
  EXPECT_TRUE(display.trimOldestLine());
  EXPECT_EQ(display.lineCount, 39);
  EXPECT_EQ(lineEnds(display.receivedText), 39);

  display.showReceived(std::string(600, '\r'));
  EXPECT_TRUE(display.trimOldestLine());  // what is left is 1000 characters or more
  EXPECT_EQ(display.receivedText, "");
  EXPECT_EQ(display.lineCount, 0);
  display.showReceived("MESSAGE SUCCESS\r");
  EXPECT_FALSE(display.trimOldestLine());
  EXPECT_EQ(display.receivedText, "MESSAGE SUCCESS\r\n");
}

// The time-out notice keeps its look, glued to what follows, and counts as a line,
// so that a day of them without a module is trimmed like lines are.
TEST(ReceivedDisplay, TimeoutNoticeCountsAsALine) {
  ReceivedDisplay display;
  display.showNotice("error: communication timeout");
  display.showReceived("OK\r\n");
  EXPECT_EQ(display.receivedText, "error: communication timeoutOK\r\n");
  EXPECT_EQ(display.lineCount, 2);

  display = ReceivedDisplay{};
  for (int i = 0; i < 30; ++i) display.showNotice("error: communication timeout");
  EXPECT_FALSE(display.trimOldestLine());
  display.showNotice("error: communication timeout");
  EXPECT_TRUE(display.trimOldestLine());  // no line end within 1000 characters
  EXPECT_EQ(std::tuple(display.receivedText, display.lineCount), std::tuple("", 0));
}

// Texts the handlers show count no lines; the normal display is kept within its bytes
// all the same, from a line start, with the count of what is left.
TEST(ReceivedDisplay, NormalTextIsKeptWithinItsBytesFromALineStart) {
  ReceivedDisplay display;
  for (int i = 0; i < 800; ++i) display.show("W" + std::to_string(1000 + i) + "\r\n");
  display.capNormalText();
  EXPECT_LE(display.receivedText.size(), ReceivedDisplay::kNormalMaxChars);
  EXPECT_EQ(display.receivedText.substr(0, 1), "W");
  EXPECT_EQ(display.receivedText.substr(display.receivedText.size() - 7), "W1799\r\n");
  EXPECT_EQ(display.lineCount, lineEnds(display.receivedText));

  const std::string small = "R80\r\nOK\r\n";
  display = ReceivedDisplay{};
  display.show(small);
  display.capNormalText();
  EXPECT_EQ(std::tuple(display.receivedText, display.lineCount), std::tuple(small, 0));
}

// A full terminal display loses its head in 4 KiB steps from a line start, not a
// little at every tick, and always ends with everything the module sent last.
TEST(ReceivedDisplay, FullTerminalTextIsCutInChunksFromALineStart) {
  ReceivedDisplay display;
  std::string sent;
  int cuts = 0;
  for (int tick = 0; tick < 20000; ++tick) {
    const std::string bytes = std::string(16, static_cast<char>('A' + tick % 26)) + "\r\n";
    sent += bytes;
    const std::size_t before = display.receivedText.size() + bytes.size();
    display.showRaw(bytes);
    display.capTerminalText();
    const std::string& text = display.receivedText;
    if (text.size() == before) continue;
    ++cuts;
    ASSERT_LE(text.size(), ReceivedDisplay::kTerminalMaxChars - 2 - ReceivedDisplay::kTerminalTrimChars);
    ASSERT_GE(text.size(), ReceivedDisplay::kTerminalMaxChars - 2 - ReceivedDisplay::kTerminalTrimChars - 18);
    ASSERT_EQ(text.substr(0, 16), std::string(16, text[0]));
    ASSERT_EQ(sent.substr(sent.size() - text.size()), text);
  }
  EXPECT_LE(cuts, static_cast<int>(sent.size() / ReceivedDisplay::kTerminalTrimChars));
  EXPECT_GE(cuts, 1);
}

TEST(ReceivedDisplay, LineCountStopsAtItsLargestValue) {
  ReceivedDisplay display;
  display.lineCount = INT_MAX;
  display.charsSinceBreak = 141;
  display.breakLongRun();
  display.showReceived("\r");
  display.showNotice("x");
  EXPECT_EQ(display.lineCount, INT_MAX);
}

TEST(DeliveryWatch, ReportIsFoundOnlyAheadOfAZeroByte) {
  EXPECT_TRUE(DeliveryWatch::holdsDeliveryReport("xxMESSAGE SUCCESSyy"));
  EXPECT_TRUE(DeliveryWatch::holdsDeliveryReport("M00"));
  EXPECT_FALSE(DeliveryWatch::holdsDeliveryReport("MESSAGE SUCCES"));
  EXPECT_FALSE(DeliveryWatch::holdsDeliveryReport(std::string("M0\0" "0M00", 7)));
}

}  // namespace
