#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/corvane_session.h"
#include "e2e/e2e_bench.h"
#include "e2e/sim_process.h"
#include "fakes/temp_dir.h"

namespace {

using namespace corvane_ids;
using Frames = std::vector<std::string>;

// Registers a bench tool leaves in the module before Corvane starts: dialer time-out
// 14, kiss-off 09, AB 64 (status, debug, SIA 110 on, audio on), AC 02 (-6 dB), B1 00.
const char kPreset[] = "M8214\r\rM8309\r\rMAB64\r\rMAC02\r\rMB100\r\r";

void expectPresetShown(CorvaneSession& corvane) {
  EXPECT_EQ(corvane.text(kDialerTimeout), "14");
  EXPECT_EQ(corvane.text(kKissoffTime), "09");
  EXPECT_EQ(corvane.switchesShown(), "audio status sia110 debug -6db");
  EXPECT_EQ(corvane.logic().shadows.shadowAB, 0x64);
  EXPECT_EQ(corvane.logic().shadows.shadowAC, 0x02);
}

TEST(CorvaneStartUp, At9600TheModuleAnswersTheLinkTestAndShowsItsRegisters) {
  TempDir dir;
  dir.write("commport", "COM1:");
  SimProcess sim(dir.path(), "COM1");
  ASSERT_TRUE(sim.ready());
  presetModule(dir.path(), "COM1", 9600, kPreset, sim, "MB100");
  std::size_t before = sim.frames().size();

  CorvaneSession corvane(dir.path());
  EXPECT_EQ(tail(sim.frames(), before),
            (Frames{"<CR>", "<CR>", "<CR>", "R80", "W8055", "R80", "Q82", "Q83", "QAC", "QAB",
                    "RB1"}));
  EXPECT_EQ(corvane.display().rfind("com: 1", 0), 0u) << corvane.display();
  expectPresetShown(corvane);
  // The first tick saves the port name that answered, in Corvane's 8 bytes.
  EXPECT_TRUE(waitUntil([&] { return dir.read("commport").size() == 8; }, 5000));
  EXPECT_EQ(dir.read("commport").substr(0, 5), "COM1:");
  EXPECT_EQ(sim.skipped(), "");
}

TEST(CorvaneStartUp, At115200TheShortLinkTestEstablishesCommunication) {
  TempDir dir;
  dir.write("commport", "COM1:");
  SimProcess sim(dir.path(), "COM1", {"--baud", "115200", "--frame-timeout-ms", "40"});
  ASSERT_TRUE(sim.ready());
  presetModule(dir.path(), "COM1", 115200, kPreset, sim, "MB100");
  std::size_t before = sim.frames().size();

  CorvaneSession corvane(dir.path());
  // The module cannot hear the 9600 baud attempt; at 115200 it answers the lone "R8"
  // when the line goes quiet.
  EXPECT_EQ(sim.skipped(), "<CR><CR><CR>R80W8055R80");
  EXPECT_EQ(tail(sim.frames(), before),
            (Frames{"<CR>", "R8  # incomplete", "Q82", "Q83", "QAC", "QAB", "RB1"}));
  EXPECT_NE(corvane.display().find("communication established"), std::string::npos)
      << corvane.display();
  EXPECT_EQ(corvane.display().find("com: "), std::string::npos);
  expectPresetShown(corvane);
}

TEST(CorvaneStartUp, WithNoModuleNoLinkLineIsShown) {
  TempDir dir;
  dir.write("commport", "COM1:");
  SilentPort line(dir.path(), "COM1");
  ASSERT_TRUE(line.opened());

  CorvaneSession corvane(dir.path());
  std::string sent = line.read();
  EXPECT_NE(sent.find("\r\r\rR80W8055R80"), std::string::npos);
  EXPECT_NE(sent.find("\rR8Q82Q83QACQABRB1"), std::string::npos);
  EXPECT_EQ(corvane.display().find("com: "), std::string::npos) << corvane.display();
  EXPECT_EQ(corvane.display().find("communication established"), std::string::npos);
  EXPECT_EQ(corvane.display().substr(0, 2), "\r\n");  // the timing line alone
}

// The real program, as an installer starts it.
TEST(CorvaneStartUp, TheProgramItselfTalksToTheSimulator) {
  TempDir dir;
  dir.write("commport", "COM2:");
  SimProcess sim(dir.path(), "COM2");
  ASSERT_TRUE(sim.ready());
  ChildProcess corvane(std::filesystem::path(ZM_BINARY_DIR) / "corvane", {}, dir.path(),
                       {"QT_QPA_PLATFORM=offscreen"}, dir / "corvane.out");
  ASSERT_TRUE(waitUntil([&] { return dir.read("commport").size() == 8; }, 20000))
      << readFile(dir / "corvane.out");
  EXPECT_EQ(sim.frames(), (Frames{"<CR>", "<CR>", "<CR>", "R80", "W8055", "R80", "Q82", "Q83",
                                  "QAC", "QAB", "RB1"}));
  EXPECT_TRUE(corvane.running());
  corvane.stop();
  EXPECT_TRUE(sim.waitForText("peer", "closed", 5000));
}

}  // namespace
