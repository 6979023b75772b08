// A stored port that another program holds when Corvane starts: what the operator is
// told, how often the port is tried again, and that it opens once it is free.
#include <string>
#include <vector>

#include "corvane_fixture.h"

using namespace corvane_ids;

namespace {

using Lines = std::vector<std::string>;

TEST_F(CorvaneFixture, AHeldPortIsTriedOnceASecondNamingItsHolderAndSaidOpenWhenFree) {
  dir.write("commport", kModule);
  bench.addDevice(kModule);
  bench.setDevicePath(kModule, "/dev/ttyUSB0");
  bench.refuseBusy(kModule, 16645, "halvard");
  dlg.startUp();
  const Lines& told = outside.status.messages;
  EXPECT_EQ(told, Lines{"COM1: /dev/ttyUSB0 is held by halvard (process 16645)"});

  clearWire();
  tick(9);
  EXPECT_TRUE(portLog().empty());
  bench.refuseBusy(kModule, 4321, "picocom");
  tick(11);  // tries on the tenth tick and the twentieth; a new holder is said once
  EXPECT_EQ(portLog(), (Lines{"fail COM1:", "fail COM1:"}));
  EXPECT_EQ(told.back(), "COM1: /dev/ttyUSB0 is held by picocom (process 4321)");
  EXPECT_EQ(told.size(), 2u);

  bench.allowOpen(kModule);
  clearWire();
  tick(10);
  // At the speed of start-up's last open, and nothing is sent with it.
  EXPECT_EQ(portLog(), Lines{"open COM1: 115200"});
  EXPECT_EQ(told.back(), "COM1: /dev/ttyUSB0 is free now, open at 115200 baud; the link is "
                         "tested at the next start");
  click(kAbort);
  EXPECT_EQ(sentBytes(), "\rA");

  // Detection closes every name it tried, held or not: none of them is tried again.
  bench.refuseBusy(kModule, 4321, "picocom");
  click(kDetectPort);
  clearWire();
  tick(30);
  EXPECT_TRUE(portLog().empty());
}

}  // namespace
