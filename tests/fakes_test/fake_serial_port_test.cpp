#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_serial_port.h"
#include "fakes/virtual_clock.h"

// The fault switches of the fake bench behave as the real port does, so that code
// tested against them meets the same faults on a bench with a real module.
namespace {

using Kind = PortProblem::Kind;
using Lines = std::vector<std::string>;

std::string echo(std::string_view written, int) { return std::string(written); }

class FakeSerialPortTest : public ::testing::Test {
 protected:
  FakeSerialPortTest() : bench(clock), port(bench) {}

  Lines log() const { return bench.log(); }

  VirtualClock clock;
  FakeSerialBench bench;
  FakeSerialPort port;
};

TEST_F(FakeSerialPortTest, ARefusedOpenSaysWhyAndTheClosedPortSwallowsEverything) {
  bench.refusePermission("COM3:", "dialout");
  bench.setDevicePath("COM3:", "/dev/ttyUSB0");
  bench.refuseBusy("COM4:", 4242, "picocom");
  bench.refuseNotSerial("COM5:");
  bench.refuseControllingTerminal("COM6:");
  bench.refuseNoDevice("COM7:");

  EXPECT_FALSE(port.open("COM3:", 9600));
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(port.problem().kind, Kind::kPermission);
  EXPECT_EQ(port.problem().group, "dialout");
  EXPECT_EQ(port.problem().device, "/dev/ttyUSB0");
  EXPECT_EQ(port.name(), "COM3:");  // kept after the failure, for the status line
  EXPECT_EQ(port.baud(), 9600);
  port.write("R80");
  port.purgeInput();
  EXPECT_EQ(port.readAvailable(100), "");

  EXPECT_FALSE(port.open("COM4:", 9600));
  EXPECT_EQ(port.problem().kind, Kind::kBusy);
  EXPECT_EQ(port.problem().holderPid, 4242);
  EXPECT_EQ(port.problem().holderName, "picocom");
  for (const char* name : {"COM5:", "COM6:", "COM7:"}) EXPECT_FALSE(port.open(name, 9600));
  EXPECT_EQ(port.problem().kind, Kind::kNoDevice);
  EXPECT_FALSE(port.open("COM9:", 9600));  // on no bench at all
  EXPECT_EQ(port.problem().kind, Kind::kNoName);
  EXPECT_EQ(port.device(), "");
  EXPECT_FALSE(port.reopenIfBack());  // only a lost device is looked for again

  EXPECT_EQ(log(), (Lines{"fail COM3:", "fail COM4:", "fail COM5:", "fail COM6:", "fail COM7:",
                          "fail COM9:"}));
  bench.allowOpen("COM3:");
  EXPECT_TRUE(port.open("COM3:", 9600));
  EXPECT_EQ(port.problem().kind, Kind::kNone);
}

TEST_F(FakeSerialPortTest, ADeviceHeldByAnotherPortIsBusyUntilThatPortCloses) {
  bench.addDevice("COM1:");
  FakeSerialPort other(bench);
  ASSERT_TRUE(other.open("COM1:", 9600));
  EXPECT_FALSE(port.open("COM1:", 9600));
  EXPECT_EQ(port.problem().kind, Kind::kBusy);
  other.close();
  EXPECT_TRUE(port.open("COM1:", 115200));
}

TEST_F(FakeSerialPortTest, AnUnpluggedDeviceIsNoticedAtTheNextWriteAndFoundAgainAtTheSameSpeed) {
  bench.addDevice("COM1:", echo);
  ASSERT_TRUE(port.open("COM1:", 115200));
  port.write("R8");
  bench.unplug("COM1:");
  EXPECT_TRUE(port.isOpen());  // nothing tells the port before it uses the line

  EXPECT_EQ(port.write("R80").failure, Kind::kGone);
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(port.problem().kind, Kind::kGone);
  EXPECT_FALSE(bench.isHeld("COM1:"));
  EXPECT_EQ(port.write("R81").failure, Kind::kNotOpen);
  EXPECT_EQ(port.readAvailable(100), "");

  FakeSerialPort other(bench);
  EXPECT_FALSE(other.open("COM1:", 9600));
  EXPECT_EQ(other.problem().kind, Kind::kNoDevice);

  EXPECT_FALSE(port.reopenIfBack());
  EXPECT_FALSE(port.reopenIfBack());
  EXPECT_EQ(bench.statCount("COM1:"), 2);  // one check per call, never a busy loop
  bench.plugBack("COM1:");
  EXPECT_TRUE(port.reopenIfBack());
  EXPECT_TRUE(port.isOpen());
  EXPECT_EQ(port.problem().kind, Kind::kNone);
  port.write("R82");
  EXPECT_EQ(port.readAvailable(100), "R82");  // the bytes before the loss went with it

  EXPECT_EQ(log(), (Lines{"open COM1: 115200", "write COM1: R8", "gone COM1:", "lost COM1: R80",
                          "lost COM1: R81", "fail COM1:", "stat COM1:", "stat COM1:",
                          "stat COM1:", "reopen COM1: 115200", "write COM1: R82",
                          "read COM1: R82"}));
  EXPECT_EQ(bench.written("COM1:"), "R8R82");
}

TEST_F(FakeSerialPortTest, AReadAlsoNoticesTheLossAndACloseForgetsIt) {
  bench.addDevice("COM1:");
  bench.replyWith("COM1:", "55");
  ASSERT_TRUE(port.open("COM1:", 9600));
  bench.unplug("COM1:");
  EXPECT_EQ(port.readAvailable(100), "");
  EXPECT_EQ(port.problem().kind, Kind::kGone);

  port.close();
  EXPECT_EQ(port.problem().kind, Kind::kNone);
  bench.plugBack("COM1:");
  EXPECT_FALSE(port.reopenIfBack());
  EXPECT_EQ(bench.statCount("COM1:"), 0);
  EXPECT_EQ(bench.pendingInput("COM1:"), 0u);  // a device that comes back starts empty
}

TEST_F(FakeSerialPortTest, StalledWritesTakeTheirTimeOnTheOneTimeline) {
  bench.addDevice("COM1:", echo);
  ASSERT_TRUE(port.open("COM1:", 9600));
  bench.stallWrites("COM1:", 2000);
  port.write("A");
  clock.pauseMs(30);
  bench.loseWrites("COM1:", 500);
  const PortWriteResult lost = port.write("B");
  EXPECT_EQ(lost.written, 0u);
  EXPECT_EQ(lost.failure, Kind::kStalled);
  EXPECT_TRUE(port.isOpen());  // a peer that stops reading is not a lost device
  bench.unstall("COM1:");
  EXPECT_EQ(port.write("C").written, 1u);

  EXPECT_EQ(clock.nowMs(), 2530);
  EXPECT_EQ(clock.timeline().format({WireTimeline::Entry::kStall, WireTimeline::Entry::kWrite,
                                     WireTimeline::Entry::kLost, WireTimeline::Entry::kPause},
                                    WireTimeline::Words::kEvents, WireTimeline::Times::kShown),
            (Lines{"0 stall COM1: 2000", "2000 write COM1: A", "2000 pause 30",
                   "2030 stall COM1: 500", "2530 lost COM1: B", "2530 write COM1: C"}));
  EXPECT_EQ(port.readAvailable(100), "AC");
}

}  // namespace
