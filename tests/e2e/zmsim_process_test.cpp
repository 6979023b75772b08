#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "common/termios_serial_port.h"
#include "e2e/e2e_bench.h"
#include "e2e/sim_process.h"
#include "fakes/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::string askPort(const fs::path& dir, const std::string& name, int baud, const std::string& frame) {
  TermiosSerialPort port(dir);
  if (!port.open(name, baud)) return "not opened";
  port.write(frame);
  std::string reply;
  waitUntil([&] {
    reply += port.readAvailable(100);
    return reply.size() >= 2;
  }, 2000);
  return reply;
}

TEST(Zmsim, SeveralSimulatorsAnswerEachOnItsOwnPortAndSpeed) {
  TempDir dir;
  linkNowhere(dir.path(), "COM1");  // a stale link from a simulator that was killed
  SimProcess first(dir.path(), "COM1");
  SimProcess second(dir.path(), "COM2", {"--baud", "115200"});
  ASSERT_TRUE(first.ready());
  ASSERT_TRUE(second.ready());

  EXPECT_EQ(askPort(dir.path(), "COM1:", 9600, "W8012R80"), "12");
  EXPECT_EQ(askPort(dir.path(), "COM2:", 115200, "R80"), "00");
  EXPECT_EQ(askPort(dir.path(), "COM2:", 9600, "R80"), "");
  EXPECT_EQ(second.skipped(), "R80");
  EXPECT_EQ(first.frames(), (std::vector<std::string>{"W8012", "R80"}));

  first.stop();
  second.stop();
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "ports/COM1")));
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "ports/COM2")));
  EXPECT_EQ(first.log().back().kind, "end");
}

TEST(Zmsim, EndsWhenThePcHasClosedThePortForGood) {
  TempDir dir;
  SimProcess sim(dir.path(), "COM5", {"--exit-when-closed"});
  ASSERT_TRUE(sim.ready());
  EXPECT_EQ(askPort(dir.path(), "COM5:", 9600, "Q82"), "0A");
  auto closed = std::chrono::steady_clock::now();
  ASSERT_TRUE(waitUntil([&] { return !sim.process().running(); }, 10000));
  EXPECT_GE(std::chrono::steady_clock::now() - closed, std::chrono::milliseconds(2500));
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "ports/COM5")));
  bool gone = false;
  for (const zmsim::LogLine& line : sim.log()) gone |= line.kind == "peer" && line.text == "gone";
  EXPECT_TRUE(gone);
}

}  // namespace
