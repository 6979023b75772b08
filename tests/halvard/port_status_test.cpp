#include <functional>
#include <string>
#include <vector>

#include "halvard_fixture.h"

using namespace halvard_ids;

namespace {

// What start-up says about the main port COM3: (the adapter /dev/ttyUSB0) and the
// second port COM2: (/dev/ttyS1) under each fault of the bench.
struct Case {
  std::function<void(FakeSerialBench&)> fault;
  std::string told;
};

}  // namespace

TEST(HalvardPortStatus, StartUpSaysWhatEachPortNameOpenedOrWhyNot) {
  const Case kCases[] = {
      {[](FakeSerialBench&) {}, "main port COM3: is /dev/ttyUSB0, open at 9600 baud"},
      {[](FakeSerialBench& b) { b.refusePermission("COM3:", "dialout"); },
       "main port COM3: /dev/ttyUSB0 may not be opened by this user: join the group dialout and "
       "log in again"},
      {[](FakeSerialBench& b) { b.refuseBusy("COM3:", 4321, "picocom"); },
       "main port COM3: /dev/ttyUSB0 is held by picocom (process 4321)"},
      {[](FakeSerialBench& b) { b.unplug("COM3:"); }, "main port COM3: no such device /dev/ttyUSB0"},
      {[](FakeSerialBench& b) { b.refuseNotSerial("COM3:"); },
       "main port COM3: /dev/ttyUSB0 is not a serial device"},
      {[](FakeSerialBench& b) { b.refuseControllingTerminal("COM3:"); },
       "main port COM3: /dev/ttyUSB0 is this program's own terminal, not a port"},
  };
  for (const Case& c : kCases) {
    TempDir dir;
    dir.makeDir("program");
    dir.makeDir("programEmail");
    dir.write("program/commport", "COM3:");
    dir.write("commport2", "COM2:");
    VirtualClock clock;
    FakeSerialBench bench(clock);
    for (const char* name : {"COM2:", "COM3:"}) bench.addDevice(name);
    bench.setDevicePath("COM3:", "/dev/ttyUSB0");
    bench.setDevicePath("COM2:", "/dev/ttyS1");
    c.fault(bench);
    FakeSerialPort mainPort(bench), secondPort(bench);
    FakeControlPanel panel;
    RecordingStatusLine status;
    CHalvardDlg dlg(CHalvardDlg::Environment{mainPort, secondPort, clock, panel, status, dir.path()});
    dlg.startUp();
    EXPECT_EQ(status.messages, (std::vector<std::string>{
                                   "second port COM2: is /dev/ttyS1, open at 9600 baud", c.told}));
  }
}

TEST_F(HalvardFixture, StartWithoutFoldersSaysWhatIsMissing) {
  start();  // no folders: no second port name, no main one, no e-mail settings
  EXPECT_EQ(status.messages,
            (std::vector<std::string>{"no main port is stored in ./program/commport: type one "
                                      "such as COM1: or use AUTO COMMPORT DETECTION",
                                      "the folder ./programEmail is missing: the e-mail settings "
                                      "start empty; create it to save them"}));
}

class HalvardPortSearchStatus : public HalvardFixture {
 protected:
  void SetUp() override {
    makeFolders();
    dir.write("commport2", "COM3:");
  }
  void search() {
    start();
    status.messages.clear();
    click(kAutoDetect);
  }
};

TEST_F(HalvardPortSearchStatus, OneLineSaysWhatWasTriedAndWhatAnswered) {
  bench.addDevice("COM3:");  // held as our second port
  bench.refuseBusy("COM2:", 4321, "picocom");
  search();
  EXPECT_EQ(status.messages,
            (std::vector<std::string>{"port search at 9600 baud: no module answered (COM1: not "
                                      "present; COM2: held by picocom (process 4321); COM3: held "
                                      "as the second port; COM4: to COM9: not present)"}));

  bench.addDevice("COM1:");
  bench.refusePermission("COM2:", "dialout");
  bench.addDevice("COM4:", [](std::string_view written, int) {
    return written == "R50" ? std::string("1A") : std::string();
  });
  bench.setDevicePath("COM4:", "/dev/ttyUSB0");
  click(kAutoDetect);
  EXPECT_EQ(status.last(),
            "port search at 9600 baud: COM4: answered, /dev/ttyUSB0 is the main port now (COM1: "
            "silent; COM2: permission denied; COM3: held as the second port); join the group "
            "dialout and log in again");
}
