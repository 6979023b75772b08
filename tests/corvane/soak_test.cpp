#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "corvane/state/received_display.h"
#include "soak_rig.h"

// A day of Corvane on the bench, tick by tick on the virtual clock: whatever the line
// brings, the "message received" display stays within its lines and its bytes, and
// still looks as it does in a short session.
namespace {

// Under the sanitizers a tick costs many times more, and three hours of each line
// already pass every bound many times over; bench/soak runs for a week.
#ifdef __SANITIZE_ADDRESS__
constexpr std::int64_t kSoakTicks = SoakRig::kTicksPerDay / 8;
#else
constexpr std::int64_t kSoakTicks = SoakRig::kTicksPerDay;
#endif

using Line = SoakRig::Line;

constexpr const char* kTimeout = "error: communication timeout";
constexpr std::size_t kTimeoutChars = 28;

long lineEnds(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

TEST(Soak, ADayWithNoModuleKeepsTheTimeoutsButNotWithoutEnd) {
  SoakRig rig(Line::kNoModule);
  rig.run(kSoakTicks);
  // A time-out every 501 ticks (1,724 in a day), each recorded and shown; the display
  // holds at most the last 30 of them, glued together as they always were.
  EXPECT_EQ(rig.history().size(), static_cast<std::size_t>(kSoakTicks / 501) * 100u);
  EXPECT_LE(rig.maxChars(), 30 * kTimeoutChars);
  EXPECT_LE(rig.maxLines(), 31);
  std::string expected;
  while (expected.size() < rig.shown().size()) expected += kTimeout;
  EXPECT_EQ(rig.shown(), expected);
  EXPECT_EQ(rig.shownInControl(), rig.shown());
}

TEST(Soak, ADayOfLfNoiseKeepsAboutThirtyLines) {
  SoakRig rig(Line::kLfStream);
  rig.run(kSoakTicks);
  // The module's LFs are dropped; the forced breaks after 140 characters are lines
  // like any other, so the trim keeps them near 30.
  EXPECT_LE(rig.maxLines(), 31);
  EXPECT_LT(rig.maxChars(), 31 * (2 + kTimeoutChars));
  EXPECT_LE(rig.maxDrift(), 1);
}

TEST(Soak, ADayOfFloodStaysTrimmed) {
  SoakRig rig(Line::kFlood);
  rig.run(kSoakTicks);
  // Four lines come a tick and the trim takes one, so the display fills up to the
  // trim's 1000 characters and is emptied, again and again; the count never runs
  // ahead of the text (but for the time-out notice, a line without a line end).
  EXPECT_LE(rig.maxChars(), ReceivedDisplay::kTrimWindowChars + 2);
  EXPECT_LE(rig.maxDrift(), 1);
  EXPECT_NE(rig.shown().find(" IN ZONE 1234"), std::string::npos);
}

// After hours of CR noise the display is back to normal at once: a report that comes
// when the noise stops stays on the display, and the count is what the text holds.
TEST(Soak, AfterADayOfCrNoiseANewReportStays) {
  SoakRig rig(Line::kCrStream);
  rig.run(kSoakTicks);
  EXPECT_LE(rig.maxChars(), ReceivedDisplay::kTrimWindowChars + 2);
  EXPECT_LE(rig.maxDrift(), 1);

  rig.setLine(Line::kNoModule);
  rig.replyOnce("MESSAGE SUCCESS\r\n");
  rig.run(600);  // a minute, a time-out among it
  EXPECT_NE(rig.shown().find("MESSAGE SUCCESS\r\n"), std::string::npos) << rig.shown().size();
  EXPECT_LE(rig.dlg().display.lineCount, 30);
  EXPECT_LE(lineEnds(rig.shown()), 31);
}

TEST(Soak, ADayOfCrNoiseInTerminalModeStaysWithinItsCap) {
  SoakRig rig(Line::kCrStream, /*terminalMode=*/true);
  rig.run(kSoakTicks);
  EXPECT_LE(rig.maxChars(), ReceivedDisplay::kTerminalMaxChars);
  EXPECT_GE(rig.minLines(), 0);
}

}  // namespace
