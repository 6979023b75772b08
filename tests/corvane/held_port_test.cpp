// A stored port that another program holds when Corvane starts: what the operator is
// told, how often the port is tried again, and that it opens once it is free.
#include <string>
#include <vector>

#include "corvane_fixture.h"
#include "fake_module.h"

using namespace corvane_ids;

namespace {

using Lines = std::vector<std::string>;

class HeldPortTest : public CorvaneFixture {
 protected:
  void startWhileHeld() {
    dir.write("commport", kModule);
    bench.addDevice(kModule, module.responder());
    bench.setDevicePath(kModule, "/dev/ttyUSB0");
    bench.refuseBusy(kModule, 16645, "halvard");
    dlg.startUp();
    clearWire();
  }
  const Lines& told() const { return outside.status.messages; }

  FakeModule module{115200, {}, {}};
};

TEST_F(HeldPortTest, IsTriedOnceASecondNamingItsHolderAndSaidOpenWhenFree) {
  startWhileHeld();
  EXPECT_EQ(told(), Lines{"COM1: /dev/ttyUSB0 is held by halvard (process 16645)"});
  click(kTransmit);
  EXPECT_EQ(outside.status.last(),
            "alarm transmission not sent: COM1: /dev/ttyUSB0 is held by halvard (process 16645)");

  clearWire();
  tick(9);
  EXPECT_TRUE(portLog().empty());
  tick(11);  // one try on the tenth tick and one on the twentieth
  EXPECT_EQ(portLog(), (Lines{"fail COM1:", "fail COM1:"}));
  EXPECT_EQ(told().size(), 2u);  // the same holder is not said again

  bench.allowOpen(kModule);  // the other program closes the port
  clearWire();
  tick(10);
  // At the speed of start-up's last open, and nothing is sent with it.
  EXPECT_EQ(portLog(), Lines{"open COM1: 115200"});
  EXPECT_EQ(outside.status.last(),
            "COM1: /dev/ttyUSB0 is free now, open at 115200 baud; the link is tested at the next "
            "start");
  clearWire();
  tick(20);
  EXPECT_TRUE(portLog().empty());
  click(kAbort);
  EXPECT_EQ(sentBytes(), "\rA");
}

TEST_F(HeldPortTest, ANewHolderIsSaidAndAPortFoundByDetectionIsNotTriedAgain) {
  startWhileHeld();
  bench.refuseBusy(kModule, 4321, "picocom");
  tick(10);
  EXPECT_EQ(outside.status.last(), "COM1: /dev/ttyUSB0 is held by picocom (process 4321)");

  // Detection closes the port and tries every name: a name held then is not the stored
  // port, and is not tried again by the tick.
  click(kDetectPort);
  clearWire();
  tick(30);
  EXPECT_TRUE(portLog().empty());
}

}  // namespace
