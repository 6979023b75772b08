#include "common/port_status_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Kind = PortProblem::Kind;

TEST(PortStatusText, EveryProblemWithALongByIdPathFitsTheStatusLine) {
  const std::string device =
      "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";  // 62 characters
  for (Kind kind : {Kind::kNoDevice, Kind::kPermission, Kind::kBusy, Kind::kNotSerial,
                    Kind::kControllingTerminal, Kind::kLineSettings, Kind::kGone, Kind::kOther}) {
    PortProblem problem;
    problem.kind = kind;
    problem.device = device;
    problem.group = "dialout";
    problem.holderPid = 4194303;
    problem.holderName = "0123456789abcde";  // the longest name the kernel keeps
    problem.osError = EOVERFLOW;
    std::string text = describePortProblem("COM3:", problem);
    EXPECT_EQ(text.rfind("COM3: ", 0), 0u) << text;
    EXPECT_NE(text.find("/dev/serial/by-id/usb-FTDI_"), std::string::npos) << text;
    EXPECT_NE(text.find("-if00-port0"), std::string::npos) << text;
    EXPECT_LE(text.size(), 120u) << text;
  }
  EXPECT_LE(describePortOpened("COM3:", device, 115200).size(), 80u);
  EXPECT_EQ(describePortProblem("COM3:", PortProblem{}), "");
}

TEST(PortStatusText, TheOperatorLearnsWhatToDo) {
  PortProblem denied{Kind::kPermission, "/dev/ttyUSB0", "dialout", 0, EACCES, ""};
  EXPECT_EQ(describePortProblem("COM3", denied),
            "COM3: /dev/ttyUSB0 may not be opened by this user: join the group dialout and "
            "log in again");
  PortProblem busy{Kind::kBusy, "/dev/ttyUSB0", "", 1234, 0, ""};
  EXPECT_EQ(describePortProblem("COM3:", busy),
            "COM3: /dev/ttyUSB0 is held by another program (process 1234)");
  busy.holderName = "halvard";
  EXPECT_EQ(describePortProblem("COM3:", busy), "COM3: /dev/ttyUSB0 is held by halvard (process 1234)");
  PortProblem empty{Kind::kNoName, "", "", 0, 0, ""};
  EXPECT_EQ(describePortProblem("", empty),
            "no port is named: type one such as COM1: or /dev/ttyUSB0");
  EXPECT_EQ(describePortOpened("/dev/ttyUSB0", "/dev/ttyUSB0", 9600),
            "/dev/ttyUSB0: open at 9600 baud");
}

}  // namespace
