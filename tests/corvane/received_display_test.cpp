#include <gtest/gtest.h>

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

TEST(DeliveryWatch, ReportIsFoundOnlyAheadOfAZeroByte) {
  EXPECT_TRUE(DeliveryWatch::holdsDeliveryReport("xxMESSAGE SUCCESSyy"));
  EXPECT_TRUE(DeliveryWatch::holdsDeliveryReport("M00"));
  EXPECT_FALSE(DeliveryWatch::holdsDeliveryReport("MESSAGE SUCCES"));
  EXPECT_FALSE(DeliveryWatch::holdsDeliveryReport(std::string("M0\0" "0M00", 7)));
}

}  // namespace
