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
using Frames = std::vector<std::string>;

// A working directory with the module as COM1:, a number, three Contact-ID messages
// and a fourth file that ends a multiple run.
class CorvaneAlarm : public ::testing::Test {
 protected:
  CorvaneAlarm() {
    writeCallSettings(dir, {"123418113101015", "123418313101015", "123418111001003", "X"}, "0");
  }

  int countSent(const std::string& text) {
    int n = 0;
    for (const zmsim::LogLine& line : sim.log()) n += line.kind == "tx" && line.text.find(text) != std::string::npos;
    return n;
  }

  TempDir dir;
  SimProcess sim{dir.path(), "COM1", {"--call-ms", "1500"}};
};

TEST_F(CorvaneAlarm, OneContactIdAlarmIsDeliveredAndSnapshotted) {
  ASSERT_TRUE(sim.ready());
  CorvaneSession corvane(dir.path());
  ASSERT_NE(corvane.display().find("com: 1"), std::string::npos);
  std::size_t before = sim.frames().size();

  corvane.click(kTransmit);
  ASSERT_TRUE(waitUntil([&] { return !dir.read("displaymessage").empty(); }, 20000))
      << sim.joined("tx");

  EXPECT_EQ(tail(sim.frames(), before),
            (Frames{"<CR>", "W3D01", "WAC80", "<CR>", "W7F00", "<CR>", "<CR>", "D5551234<CR>",
                    "S123418113101015<CR>", "W3D00", "G"}));
  std::string display = corvane.logic().display.receivedText;
  EXPECT_NE(display.find("DIALING 5551234\r\n"), std::string::npos) << display;
  EXPECT_NE(display.find("SENDING CONTACT-ID\r\nMSG 123418113101015\r\n"), std::string::npos);
  EXPECT_NE(display.find("MESSAGE SUCCESS\r\n"), std::string::npos);
  EXPECT_EQ(dir.read("displaymessage"), display.substr(0, 16));
  EXPECT_EQ(corvane.logic().delivery.successSeen, 1);
  EXPECT_EQ(corvane.text(kTransmitting), "123418113101015");
}

TEST_F(CorvaneAlarm, ARunOfThreeMessagesGoesInOneCallAndEndsAtTheXFile) {
  ASSERT_TRUE(sim.ready());
  CorvaneSession corvane(dir.path());
  std::size_t before = sim.frames().size();

  corvane.click(kMultipleRun);
  ASSERT_TRUE(waitUntil([&] { return !sim.frames().empty() && sim.frames().back() == "A"; }, 40000))
      << sim.joined("tx");
  ASSERT_TRUE(sim.waitForText("tx", "ON HOOK", 5000));

  EXPECT_EQ(tail(sim.frames(), before),
            (Frames{"W3D01", "WAC82", "<CR>", "W7F00", "<CR>", "D5551234<CR>",
                    "S123418113101015<CR>", "<CR>", "W3D00", "G",
                    "<CR>", "<CR>", "S123418313101015<CR>", "B",
                    "<CR>", "<CR>", "S123418111001003<CR>", "B",
                    "<CR>", "<CR>", "S<CR>", "A"}));
  EXPECT_EQ(countSent("MESSAGE SUCCESS"), 3);
  EXPECT_EQ(countSent("NEXT MESSAGE"), 2);
  EXPECT_EQ(corvane.logic().run.runRemaining, 0);
  EXPECT_TRUE(waitUntil([&] { return corvane.logic().display.receivedText.find("ON HOOK") != std::string::npos; }, 5000));
  EXPECT_EQ(dir.read("displaymessage"), corvane.logic().display.receivedText.substr(0, 16));
}

TEST_F(CorvaneAlarm, AFailedCallIsShownAndNeverTakenForADelivery) {
  sim.stop();
  SimProcess failing(dir.path(), "COM1", {"--call-ms", "1000", "--outcome", "no-kissoff"});
  ASSERT_TRUE(failing.ready());
  CorvaneSession corvane(dir.path());
  corvane.click(kTransmit);
  ASSERT_TRUE(waitUntil([&] { return corvane.logic().display.receivedText.find("ON HOOK") != std::string::npos; }, 20000));
  EXPECT_NE(corvane.logic().display.receivedText.find("FAILED: NO KISSOFF\r\n"), std::string::npos);
  EXPECT_EQ(corvane.logic().delivery.successSeen, 0);
  EXPECT_EQ(dir.read("displaymessage"), "");
}

}  // namespace
