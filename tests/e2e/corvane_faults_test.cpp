#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "e2e/corvane_session.h"
#include "e2e/e2e_bench.h"
#include "e2e/sim_process.h"
#include "fakes/temp_dir.h"

namespace {

using namespace corvane_ids;

// A module that misbehaves during a call, and what Corvane makes of it.
class CorvaneFaults : public ::testing::Test {
 protected:
  CorvaneFaults() { writeCallSettings(dir, {"123418113101015"}); }
  bool shown(CorvaneSession& corvane, const std::string& text) {
    return corvane.logic().display.receivedText.find(text) != std::string::npos;
  }
  TempDir dir;
};

TEST_F(CorvaneFaults, AReportBehindAZeroByteOrSplitOverTwoPollsIsNotADelivery) {
  for (const char* fault : {"--nul-before-report", "--split-report"}) {
    SimProcess sim(dir.path(), "COM1", {"--call-ms", "800", fault});
    ASSERT_TRUE(sim.ready());
    {
      CorvaneSession corvane(dir.path());
      corvane.click(kTransmit);
      ASSERT_TRUE(waitUntil([&] { return shown(corvane, "ON HOOK"); }, 15000)) << fault;
      EXPECT_TRUE(sim.waitForText("tx", "SUCCESS<CR><LF>", 1000)) << fault;
      EXPECT_EQ(corvane.logic().delivery.successSeen, 0) << fault;
      EXPECT_EQ(dir.read("displaymessage"), "") << fault;
    }
    sim.stop();
  }
}

TEST_F(CorvaneFaults, AModuleUnpluggedInTheMiddleOfACallLeavesCorvaneWorking) {
  SimProcess sim(dir.path(), "COM1", {"--call-ms", "3000", "--unplug-after", "300"});
  ASSERT_TRUE(sim.ready());
  CorvaneSession corvane(dir.path());
  corvane.click(kTransmit);
  ASSERT_TRUE(waitUntil([&] { return !sim.process().running(); }, 10000));
  bool unplugged = false;
  for (const zmsim::LogLine& line : sim.log()) unplugged |= line.kind == "unplugged";
  EXPECT_TRUE(unplugged);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir / "ports/COM1")));

  // Writes to the dead line fail at once and reads find nothing: the ticks go on and
  // a click still returns.
  auto start = std::chrono::steady_clock::now();
  corvane.click(kAbort);
  corvane.click(kTransmit);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  int ticks = corvane.logic().delivery.tickCount;
  EXPECT_TRUE(waitUntil([&] { return corvane.logic().delivery.tickCount >= ticks + 5; }, 5000));
  EXPECT_FALSE(shown(corvane, "MESSAGE SUCCESS"));
}

}  // namespace
