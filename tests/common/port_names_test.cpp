#include "common/port_names.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "fakes/temp_dir.h"

namespace {

// A machine with two USB adapters known by id (one of them just unplugged), a few more
// USB and ACM devices and four ttyS nodes of which two have a UART.
class FakeMachine {
 public:
  FakeMachine() {
    dir.makeDir("dev/serial/by-id");
    for (const char* node : {"ttyUSB0", "ttyUSB1", "ttyUSB10", "ttyUSB2", "ttyACM0", "ttyACM1",
                             "ttyS0", "ttyS1", "ttyS2", "ttyS10", "ttyUSB", "ttyUSBx", "tty0"}) {
      dir.write(std::string("dev/") + node, "");
    }
    link("usb-Prolific_PL2303-if00-port0", "../../ttyUSB1");
    link("usb-Arduino_Uno_8543-if00", "../../ttyACM0");
    link("usb-FTDI_FT232R_A50285BI-if00-port0", "../../ttyUSB9");  // unplugged
    for (auto [node, type] : {std::pair{"ttyS0", "4\n"}, {"ttyS1", "0\n"}, {"ttyS10", "4"}}) {
      dir.makeDir(std::string("sys/class/tty/") + node);
      dir.write(std::string("sys/class/tty/") + node + "/type", type);
    }
    dir.makeDir("sys/class/tty/ttyS2");  // no type shown: no port
  }
  void link(const std::string& name, const std::string& target) {
    std::filesystem::create_symlink(target, dir / ("dev/serial/by-id/" + name));
  }
  DeviceTree tree() const { return {dir / "dev", dir / "sys"}; }
  std::filesystem::path dev(const std::string& name) const { return dir / ("dev/" + name); }

  TempDir dir;
};

TEST(PortNames, ComNumbersCountThePortsPresentInADocumentedOrder) {
  FakeMachine machine;
  const std::vector<std::filesystem::path> expected = {
      machine.dev("serial/by-id/usb-Arduino_Uno_8543-if00"),
      machine.dev("serial/by-id/usb-Prolific_PL2303-if00-port0"),
      machine.dev("ttyACM1"),
      machine.dev("ttyUSB0"),
      machine.dev("ttyUSB2"),
      machine.dev("ttyUSB10"),
      machine.dev("ttyS0"),
      machine.dev("ttyS10"),
  };
  EXPECT_EQ(serialPortsPresent(machine.tree()), expected);

  TempDir work;
  for (std::size_t n = 1; n <= expected.size(); ++n) {
    EXPECT_EQ(resolvePortName("COM" + std::to_string(n) + ":", work.path(), machine.tree()),
              expected[n - 1]);
  }
  EXPECT_EQ(resolvePortName("COM9:", work.path(), machine.tree()), std::nullopt);
  EXPECT_EQ(resolvePortName("COM1:", work.path(), DeviceTree{work / "dev", work / "sys"}),
            std::nullopt);

  // A link in ./ports still wins over what is present.
  work.makeDir("ports");
  std::filesystem::create_symlink("/dev/ttyUSB3", work / "ports/COM2");
  EXPECT_EQ(resolvePortName("COM2", work.path(), machine.tree()), work / "ports/COM2");
}

TEST(PortNames, OnlyNamesThatReadBackWholeFitTheStoredEightBytes) {
  EXPECT_TRUE(fitsStoredPortName("COM3:", 8));
  EXPECT_TRUE(fitsStoredPortName("/dev/sr0", 8));
  EXPECT_TRUE(fitsStoredPortName("", 8));
  EXPECT_FALSE(fitsStoredPortName("/dev/ttyUSB0", 8));  // would read back as "/dev/tty"
  EXPECT_FALSE(fitsStoredPortName("/dev/ttyS0", 8));
  EXPECT_FALSE(fitsStoredPortName(std::string_view("COM\0" "3:", 5), 8));
  EXPECT_TRUE(fitsStoredPortName("COM3:", 5));
  EXPECT_FALSE(fitsStoredPortName("COM3:", 4));
}

TEST(PortNames, LinkInThePortsFolderWinsEvenWhenItsTargetIsGone) {
  TempDir dir;
  dir.makeDir("ports");
  std::filesystem::create_symlink("/dev/null", dir / "ports/COM3");
  std::filesystem::create_symlink(dir / "unplugged", dir / "ports/COM4");
  EXPECT_EQ(resolvePortName("COM3:", dir.path()), dir / "ports/COM3");
  EXPECT_EQ(resolvePortName("COM3", dir.path()), dir / "ports/COM3");
  EXPECT_EQ(resolvePortName("COM4:", dir.path()), dir / "ports/COM4");
  EXPECT_EQ(resolvePortName("COM5:", dir.path(), DeviceTree{dir / "dev", dir / "sys"}),
            std::nullopt);
}

TEST(PortNames, AbsolutePathIsUsedAsItStands) {
  TempDir dir;
  EXPECT_EQ(resolvePortName("/dev/ttyUSB0", dir.path()), std::filesystem::path("/dev/ttyUSB0"));
}

TEST(PortNames, AnythingElseNamesNoPort) {
  TempDir dir;
  dir.makeDir("ports");
  dir.write("ports/foo", "");
  for (const char* name : {"", "COM", "COM:", "COM0:", "COM0", "COM10:", "COM10", "com3:",
                           "COMA:", "COM3;", "COM3::", " COM3:", "foo", "ports/COM3", "../COM3",
                           "\\\\.\\COM3"}) {
    EXPECT_EQ(resolvePortName(name, dir.path()), std::nullopt) << '"' << name << '"';
    EXPECT_EQ(comPortNumber(name), std::nullopt) << '"' << name << '"';
  }
}

}  // namespace
