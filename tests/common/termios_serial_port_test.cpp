#include "common/termios_serial_port.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>

#include <filesystem>
#include <string>

#include "common/port_status_text.h"
#include "fakes/temp_dir.h"
#include "pty_port_fixture.h"

namespace {

using namespace std::chrono_literals;

std::string allByteValues() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  return bytes;
}

class TermiosPortTest : public PtyAtCom3 {
 protected:
  // Reads through the port until count bytes came or the module stays quiet.
  std::string readFromPort(TermiosSerialPort& p, std::size_t count) {
    std::string got;
    while (got.size() < count) {
      if (!pty.waitForSlaveInput(1, 2s)) break;
      got += p.readAvailable(count - got.size());
    }
    return got;
  }

  termios slaveSettings() const {
    termios tio{};
    tcgetattr(pty.slave(), &tio);
    return tio;
  }

  PortPlaces places{DeviceTree{}, {dir / "lock"}};
  TermiosSerialPort port{dir.path(), places};
  Watchdog watchdog{20s, "a termios port call"};
};

TEST_F(TermiosPortTest, EveryByteValuePassesBothWaysAtBothRates) {
  for (int baud : {9600, 115200}) {
    SCOPED_TRACE(baud);
    ASSERT_TRUE(port.open("COM3:", baud));
    EXPECT_TRUE(port.isOpen());
    const speed_t expected = baud == 9600 ? B9600 : B115200;
    termios tio = slaveSettings();
    EXPECT_EQ(cfgetospeed(&tio), expected);
    EXPECT_EQ(cfgetispeed(&tio), expected);

    port.write(allByteValues());
    EXPECT_EQ(pty.receiveAtModule(256), allByteValues());

    pty.sendFromModule(allByteValues());
    EXPECT_EQ(readFromPort(port, 256), allByteValues());
  }
}

TEST_F(TermiosPortTest, LineSettingsAreRawEightBitsWithoutFlowControl) {
  ASSERT_TRUE(port.open("COM3", 9600));
  termios tio = slaveSettings();
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_TRUE(tio.c_cflag & CLOCAL);
  EXPECT_TRUE(tio.c_cflag & CREAD);
  EXPECT_FALSE(tio.c_cflag & (CRTSCTS | HUPCL | PARENB | CSTOPB));
  EXPECT_FALSE(tio.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP));
  EXPECT_FALSE(tio.c_oflag & OPOST);
  EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN));
  EXPECT_EQ(tio.c_cc[VMIN], 0);
  EXPECT_EQ(tio.c_cc[VTIME], 0);
}

TEST_F(TermiosPortTest, ReadReturnsAtOnceWithNothing) {
  ASSERT_TRUE(port.open("COM3:", 115200));
  for (int i = 0; i < 100; ++i) EXPECT_EQ(port.readAvailable(100), "");
  pty.sendFromModule("55");
  EXPECT_EQ(readFromPort(port, 2), "55");
  EXPECT_EQ(port.readAvailable(100), "");
}

TEST_F(TermiosPortTest, ReadTakesNoMoreThanAsked) {
  ASSERT_TRUE(port.open("COM3:", 115200));
  pty.sendFromModule("ABC");
  ASSERT_TRUE(pty.waitForSlaveInput(3));
  EXPECT_EQ(port.readAvailable(1), "A");
  EXPECT_EQ(port.readAvailable(100), "BC");
}

TEST_F(TermiosPortTest, OpenAndPurgeDropWhatArrivedBefore) {
  // Until the port sets raw mode the line is cooked: only a whole line counts as input.
  pty.sendFromModule("stale\n");
  ASSERT_TRUE(pty.waitForSlaveInput(6));
  ASSERT_TRUE(port.open("COM3:", 9600));
  EXPECT_EQ(port.readAvailable(100), "");

  pty.sendFromModule("junk");
  ASSERT_TRUE(pty.waitForSlaveInput(4));
  port.purgeInput();
  EXPECT_EQ(port.readAvailable(100), "");
  pty.sendFromModule("OK");
  EXPECT_EQ(readFromPort(port, 2), "OK");
}

TEST_F(TermiosPortTest, HeldPortDoesNotOpenTwiceUntilClosed) {
  ASSERT_TRUE(port.open("COM3:", 9600));
  TermiosSerialPort second(dir.path(), places);
  EXPECT_FALSE(second.open("COM3:", 9600));
  EXPECT_FALSE(second.isOpen());
  EXPECT_FALSE(second.open(pty.slavePath(), 115200));

  port.close();
  EXPECT_FALSE(port.isOpen());
  ASSERT_TRUE(second.open("COM3:", 115200));
  second.write("x");
  EXPECT_EQ(pty.receiveAtModule(1), "x");
}

// A program that holds the line in exclusive mode only (no flock, no lock file) keeps
// it, for root too: nothing is written into its line and its mode stays set.
TEST_F(TermiosPortTest, ALineHeldInExclusiveModeOnlyIsRefusedAsHeld) {
  ASSERT_EQ(::ioctl(pty.slave(), TIOCEXCL), 0);
  EXPECT_FALSE(port.open("COM3:", 9600));
  EXPECT_EQ(describePortProblem(port.name(), port.problem()),
            "COM3: " + pty.slavePath() + " is held by another program");
  port.write("R80");
  EXPECT_EQ(pty.receiveAtModule(1, 100ms), "");
  EXPECT_TRUE(slaveSettings().c_lflag & ICANON);  // its line settings untouched
  int exclusive = 0;
  ASSERT_EQ(::ioctl(pty.slave(), TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 1);

  ASSERT_EQ(::ioctl(pty.slave(), TIOCNXCL), 0);  // the holder lets go
  EXPECT_TRUE(port.open("COM3:", 9600));
}

TEST_F(TermiosPortTest, OpeningAnotherPortLetsGoOfTheFirst) {
  PtyPair other;
  ASSERT_TRUE(other.ok());
  std::filesystem::create_symlink(other.slavePath(), dir / "ports/COM4");
  ASSERT_TRUE(port.open("COM3:", 9600));
  ASSERT_TRUE(port.open("COM4:", 9600));
  TermiosSerialPort second(dir.path(), places);
  EXPECT_TRUE(second.open("COM3:", 9600));
  port.write("4");
  EXPECT_EQ(other.receiveAtModule(1), "4");
}

TEST_F(TermiosPortTest, ClosedPortLosesWritesAndReadsNothing) {
  port.write("lost");
  EXPECT_EQ(port.readAvailable(10), "");
  port.purgeInput();
  ASSERT_TRUE(port.open("COM3:", 9600));
  port.close();
  port.close();
  port.write("lost");
  // The first byte the module sees comes from the next open, not from the closed one.
  ASSERT_TRUE(port.open("COM3:", 9600));
  port.write("y");
  EXPECT_EQ(pty.receiveAtModule(1), "y");
}

TEST_F(TermiosPortTest, RefusesWhatIsNotATerminalAndNeverCreatesAFile) {
  dir.write("plain", "keep");
  std::filesystem::create_symlink(dir / "plain", dir / "ports/COM5");
  std::filesystem::create_symlink(dir / "missing", dir / "ports/COM6");
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink(dir / "fifo", dir / "ports/COM7");

  EXPECT_FALSE(port.open("COM5:", 9600));
  EXPECT_FALSE(port.open((dir / "plain").string(), 9600));
  EXPECT_FALSE(port.open("/dev/null", 9600));
  EXPECT_FALSE(port.open("COM6:", 9600));
  EXPECT_FALSE(port.open((dir / "absent").string(), 9600));
  EXPECT_FALSE(port.open("COM7:", 9600));
  EXPECT_FALSE(port.open(dir.path().string(), 9600));
  EXPECT_FALSE(port.isOpen());

  EXPECT_EQ(dir.read("plain"), "keep");
  EXPECT_FALSE(dir.exists("missing"));
  EXPECT_FALSE(dir.exists("absent"));
}

TEST_F(TermiosPortTest, RefusesNamesThatNameNoPortAndRatesTermiosLacks) {
  EXPECT_FALSE(port.open("", 9600));
  EXPECT_FALSE(port.open("COM10:", 9600));
  EXPECT_FALSE(port.open("ports/COM3", 9600));
  EXPECT_FALSE(port.open("COM3:", 12345));
  EXPECT_FALSE(port.open("COM3:", 0));
  EXPECT_FALSE(port.isOpen());
  EXPECT_TRUE(port.open("COM3:", 57600));
}

TEST_F(TermiosPortTest, VanishedPeerNeverBlocksAReadOrAWrite) {
  ASSERT_TRUE(port.open("COM3:", 115200));
  pty.closeMaster();
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(port.readAvailable(60), "");
  for (int i = 0; i < 100; ++i) port.write("W8055");
  port.purgeInput();
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(port.problem().kind, PortProblem::Kind::kGone);
  port.close();
  EXPECT_FALSE(port.isOpen());
}

TEST_F(TermiosPortTest, AnAdapterKnownByIdIsComOneAndTheStatusLineSaysWhichItIs) {
  dir.makeDir("dev/serial/by-id");
  const auto byId = dir / "dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
  std::filesystem::create_symlink(pty.slavePath(), byId);
  TermiosSerialPort found(dir.path(), PortPlaces{{dir / "dev", dir / "sys"}, {}});
  ASSERT_TRUE(found.open("COM1:", 9600));
  EXPECT_EQ(found.device(), byId.string());
  std::string text = describePortOpened(found.name(), found.device(), found.baud());
  EXPECT_EQ(text.rfind("COM1: is ", 0), 0u) << text;
  EXPECT_NE(text.find("-if00-port0, open at 9600 baud"), std::string::npos) << text;
  EXPECT_LE(text.size(), 80u) << text;
  found.write("x");
  EXPECT_EQ(pty.receiveAtModule(1), "x");
}

// A program at the other end that stops reading fills the line's buffers; the
// write gives up after a short stall instead of holding the caller forever. The
// fastest rate keeps that stall short.
TEST_F(TermiosPortTest, PeerThatStopsReadingNeverHoldsAWriteForever) {
  ASSERT_TRUE(port.open("COM3:", 4000000));
  const PortWriteResult stalled = port.write(std::string(1 << 20, 'x'));
  EXPECT_EQ(stalled.failure, PortProblem::Kind::kStalled);
  EXPECT_GT(stalled.written, 0u);  // what the buffers took
  EXPECT_LT(stalled.written, 1u << 20);

  // The following pieces of a frame find the line still full and do not wait out
  // the stall again (each would take half a second).
  auto before = std::chrono::steady_clock::now();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(port.write("W3D00").written, 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - before, 400ms);

  // Once the peer reads again, writes go through again.
  EXPECT_FALSE(pty.receiveAtModule(1 << 20, 200ms).empty());
  EXPECT_TRUE(port.write("G").complete());
  EXPECT_EQ(pty.receiveAtModule(1), "G");
}

}  // namespace
