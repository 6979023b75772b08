#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/corvane_session.h"
#include "e2e/e2e_bench.h"
#include "e2e/sim_process.h"
#include "fakes/temp_dir.h"

namespace {

using namespace corvane_ids;

bool hasLine(const SimProcess& sim, const std::string& kind) {
  for (const zmsim::LogLine& line : sim.log())
    if (line.kind == kind) return true;
  return false;
}

// The frames the simulator heard after it came back under the same link.
std::vector<std::string> framesAfterReplug(const SimProcess& sim) {
  std::vector<std::string> frames;
  bool back = false;
  for (const zmsim::LogLine& line : sim.log()) {
    back |= line.kind == "replugged";
    if (back && line.kind == "rx") frames.push_back(line.text);
  }
  return frames;
}

// The module's USB adapter pulled out during a call and put back: Corvane says so,
// reports what it could not send meanwhile, and sends to the module again once its
// port is back, without a restart.
TEST(CorvaneReplug, ATransmissionAfterAReplugReachesTheModuleAndOneWhileGoneIsNotSent) {
  TempDir dir;
  dir.write("commport", "COM1:");
  dir.write("telephonenumber", "5551234");
  dir.write("alarmmessage", "123418113101015");
  SimProcess sim(dir.path(), "COM1", {"--call-ms", "3000", "--replug-after", "300:1500"});
  ASSERT_TRUE(sim.ready());
  CorvaneSession corvane(dir.path());
  EXPECT_TRUE(corvane.saidOnStderr("the module answered at 9600 baud")) << corvane.stderrText();

  corvane.click(kTransmit);
  ASSERT_TRUE(waitUntil([&] { return corvane.saidOnStderr("went away (unplugged?)"); }, 10000))
      << corvane.stderrText();
  ASSERT_FALSE(hasLine(sim, "replugged"));
  corvane.click(kTransmit);
  EXPECT_TRUE(corvane.saidOnStderr("alarm transmission not sent: COM1: ")) << corvane.stderrText();

  ASSERT_TRUE(waitUntil([&] { return corvane.saidOnStderr("is back, open again at 9600 baud"); },
                        10000))
      << corvane.stderrText();
  EXPECT_TRUE(hasLine(sim, "replugged"));
  // Coming back sends nothing: no link test, no register reads.
  EXPECT_TRUE(framesAfterReplug(sim).empty());

  corvane.click(kTransmit);
  ASSERT_TRUE(waitUntil(
      [&] {
        std::vector<std::string> frames = framesAfterReplug(sim);
        return !frames.empty() && frames.back() == "G";
      },
      5000));
  const std::vector<std::string> frames = framesAfterReplug(sim);
  EXPECT_NE(std::find(frames.begin(), frames.end(), "W3D01"), frames.end());
  EXPECT_NE(std::find(frames.begin(), frames.end(), "D5551234<CR>"), frames.end());
  // The window's own line shows the newest message; the display none of them.
  EXPECT_EQ(corvane.display().find("went away"), std::string::npos);
}

}  // namespace
