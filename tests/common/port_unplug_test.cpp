// A device that goes away while open, and comes back under the same name.
#include <gtest/gtest.h>
#include <termios.h>

#include <filesystem>
#include <memory>
#include <string>

#include "common/port_status_text.h"
#include "common/termios_serial_port.h"
#include "fakes/temp_dir.h"
#include "pty_pair.h"

namespace {

using namespace std::chrono_literals;
using Kind = PortProblem::Kind;

class PortUnplug : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(module->ok());
    dir.makeDir("ports");
    dir.makeDir("lock");
    plugIn();
  }

  // What the module simulator does: a pty and a link to it under ports/COM1.
  void plugIn() {
    std::filesystem::remove(dir / "ports/COM1");
    std::filesystem::create_symlink(module->slavePath(), dir / "ports/COM1");
  }
  void unplug() {
    module->closeMaster();
    std::filesystem::remove(dir / "ports/COM1");
  }

  TempDir dir;
  std::unique_ptr<PtyPair> module = std::make_unique<PtyPair>();
  TermiosSerialPort port{dir.path(), PortPlaces{{dir / "dev", dir / "sys"}, {dir / "lock"}}};
  Watchdog watchdog{20s, "a port call on a vanished device"};
};

TEST_F(PortUnplug, AReadThatFindsTheDeviceGoneClosesThePortAndTellsWhy) {
  ASSERT_TRUE(port.open("COM1:", 115200));
  const std::string device = module->slavePath();
  EXPECT_EQ(port.device(), device);
  module->closeMaster();

  EXPECT_EQ(port.readAvailable(60), "");
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(port.problem().kind, Kind::kGone);
  EXPECT_EQ(describePortProblem(port.name(), port.problem()),
            "COM1: " + device + " went away (unplugged?)");
  EXPECT_FALSE(dir.exists("lock/LCK.." + std::filesystem::path(device).filename().string()));
  // Closed for good: every later call returns at once with nothing.
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(port.readAvailable(60), "");
  for (int i = 0; i < 100; ++i) port.write("W8055");
  port.purgeInput();
  EXPECT_EQ(port.problem().kind, Kind::kGone);
  EXPECT_EQ(port.name(), "COM1:");
  EXPECT_EQ(port.baud(), 115200);
}

// The write says what became of its bytes: none written, the device gone; later
// writes find the port closed.
TEST_F(PortUnplug, AWriteThatFindsTheDeviceGoneClosesThePort) {
  ASSERT_TRUE(port.open("COM1:", 9600));
  module->closeMaster();
  const PortWriteResult lost = port.write("W3D01");
  EXPECT_EQ(lost.written, 0u);
  EXPECT_EQ(lost.failure, Kind::kGone);
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(port.problem().kind, Kind::kGone);
  EXPECT_EQ(port.problem().osError, EIO);
  EXPECT_EQ(port.write("W7F00").failure, Kind::kNotOpen);
}

TEST_F(PortUnplug, ReplugUnderTheSameNameReopensAtTheSameSpeed) {
  ASSERT_TRUE(port.open("COM1:", 115200));
  unplug();
  EXPECT_EQ(port.readAvailable(60), "");
  ASSERT_EQ(port.problem().kind, Kind::kGone);
  for (int i = 0; i < 100; ++i) EXPECT_FALSE(port.reopenIfBack());
  EXPECT_EQ(port.problem().kind, Kind::kGone);

  module = std::make_unique<PtyPair>();
  ASSERT_TRUE(module->ok());
  plugIn();
  ASSERT_TRUE(port.reopenIfBack());
  EXPECT_TRUE(port.isOpen());
  EXPECT_EQ(port.problem().kind, Kind::kNone);
  EXPECT_EQ(port.device(), module->slavePath());
  termios tio{};
  ASSERT_EQ(tcgetattr(module->slave(), &tio), 0);
  EXPECT_EQ(cfgetospeed(&tio), B115200);
  EXPECT_FALSE(tio.c_lflag & ICANON);
  EXPECT_EQ(describePortFoundAgain(port.name(), module->slavePath(), port.baud()),
            "COM1: " + module->slavePath() + " is back, open again at 115200 baud");

  port.write("R80");
  EXPECT_EQ(module->receiveAtModule(3), "R80");
  module->sendFromModule("55");
  ASSERT_TRUE(module->waitForSlaveInput(2));
  EXPECT_EQ(port.readAvailable(10), "55");
  EXPECT_FALSE(port.reopenIfBack());  // open: nothing to do
}

TEST_F(PortUnplug, APortClosedOnPurposeIsNotReopened) {
  ASSERT_TRUE(port.open("COM1:", 9600));
  module->closeMaster();
  port.write("x");
  ASSERT_EQ(port.problem().kind, Kind::kGone);
  port.close();
  EXPECT_EQ(port.problem().kind, Kind::kNone);
  module = std::make_unique<PtyPair>();
  plugIn();
  EXPECT_FALSE(port.reopenIfBack());
  EXPECT_FALSE(port.isOpen());
}

}  // namespace
