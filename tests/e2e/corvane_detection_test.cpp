#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "e2e/corvane_session.h"
#include "e2e/e2e_bench.h"
#include "e2e/sim_process.h"
#include "fakes/temp_dir.h"

namespace {

using namespace corvane_ids;
using Frames = std::vector<std::string>;

TEST(CorvaneDetection, FindsTheModuleOnCom3AndARestartOpensIt) {
  TempDir dir;
  dir.write("commport", "");
  linkNowhere(dir.path(), "COM1");
  SilentPort com2(dir.path(), "COM2");
  ASSERT_TRUE(com2.opened());
  // Detection tries 115200 baud only.
  SimProcess sim(dir.path(), "COM3", {"--baud", "115200", "--frame-timeout-ms", "40"});
  ASSERT_TRUE(sim.ready());

  auto corvane = std::make_unique<CorvaneSession>(dir.path());
  EXPECT_TRUE(sim.frames().empty());  // an empty ./commport opens no port
  corvane->click(kDetectPort);

  EXPECT_EQ(corvane->display(), "communication port: 3  Please exit and reenter");
  EXPECT_EQ(com2.read(), "\r\r\rR50W5055R50");
  EXPECT_EQ(sim.frames(), (Frames{"<CR>", "<CR>", "<CR>", "R50", "W5055", "R50"}));
  ASSERT_TRUE(waitUntil([&] { return dir.read("commport").rfind("COM3:", 0) == 0; }, 5000));
  EXPECT_EQ(dir.read("commport").size(), 8u);

  corvane.reset();
  std::size_t before = sim.frames().size();
  corvane = std::make_unique<CorvaneSession>(dir.path());
  EXPECT_NE(corvane->display().find("communication established"), std::string::npos)
      << corvane->display();
  EXPECT_EQ(tail(sim.frames(), before),
            (Frames{"<CR>", "R8  # incomplete", "Q82", "Q83", "QAC", "QAB", "RB1"}));
  EXPECT_EQ(corvane->text(kDialerTimeout), "0A");
}

TEST(CorvaneDetection, ReportsWhenNoPortAnswers) {
  TempDir dir;
  dir.write("commport", "");
  for (const char* name : {"COM1", "COM2", "COM3", "COM4", "COM6", "COM7", "COM8", "COM9"}) {
    linkNowhere(dir.path(), name);
  }
  // A module at the wrong speed does not count.
  SimProcess sim(dir.path(), "COM5");
  ASSERT_TRUE(sim.ready());
  CorvaneSession corvane(dir.path());
  corvane.click(kDetectPort);
  EXPECT_EQ(corvane.display(), "commport not detected");
  EXPECT_TRUE(sim.frames().empty());
  EXPECT_EQ(sim.skipped(), "<CR><CR><CR>R50W5055R50");
}

}  // namespace
