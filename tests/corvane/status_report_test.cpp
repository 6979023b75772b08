// What the operator reads on the status line about the port and the settings files,
// through the dialog on the fake bench: the window's own texts stay as they were.
#include <filesystem>
#include <string>
#include <vector>

#include "corvane_fixture.h"
#include "fake_module.h"

using namespace corvane_ids;

namespace {

using Kind = PortProblem::Kind;
using Lines = std::vector<std::string>;

class StatusReportTest : public CorvaneFixture {
 protected:
  const Lines& told() const { return outside.status.messages; }
  void startWithModuleOn(const std::string& name, int baud) {
    dir.write("commport", name);
    module.baud = baud;
    bench.addDevice(name, module.responder());
    dlg.startUp();
  }

  FakeModule module{9600, {}, {}};
};

TEST_F(StatusReportTest, StartUpSaysWhereTheNameLedAndAtWhichSpeedTheModuleAnswered) {
  bench.setDevicePath("COM1:", "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A601-if00-port0");
  startWithModuleOn("COM1:", 9600);
  // The long by-id name is shortened in the middle; its maker and its tail stay.
  EXPECT_EQ(told(), Lines{"COM1: is /dev/serial/by-id/usb-FTDI_...1-if00-port0: the module "
                          "answered at 9600 baud"});
  EXPECT_EQ(dlg.display.receivedText.substr(0, 6), "com: 1");
}

TEST_F(StatusReportTest, StartUpSaysTheFastSpeedOrThatNothingAnswered) {
  startWithModuleOn("COM1:", 115200);
  EXPECT_EQ(told(), Lines{"COM1: the module answered at 115200 baud"});

  CorvaneOutside silentOutside(dir.path());
  FakeSerialPort silentPort(bench);
  FakeControlPanel silentPanel;
  bench.addDevice("COM2:");
  dir.write("commport", "COM2:");
  CCorvaneDlg silent(silentOutside.env(silentPort, clock, silentPanel));
  silent.startUp();
  ASSERT_FALSE(silentOutside.status.messages.empty());
  EXPECT_EQ(silentOutside.status.messages.front(), "COM2: no answer at 9600 or 115200 baud");
}

// Each reason an open is refused, said once although the test opens twice; the
// display shows no link line, as always without a module.
TEST_F(StatusReportTest, AnOpenRefusedAtStartUpIsSaidOnceWithItsReason) {
  struct Case {
    std::function<void()> refuse;
    std::string said;
  };
  const std::vector<Case> cases = {
      {[&] { bench.refusePermission("COM3:", "dialout"); },
       "COM3: /dev/ttyUSB0 may not be opened by this user: join the group dialout and log in "
       "again"},
      {[&] { bench.refuseBusy("COM3:", 4321); },
       "COM3: /dev/ttyUSB0 is held by another program (process 4321)"},
      {[&] { bench.refuseNoDevice("COM3:"); }, "COM3: no such device /dev/ttyUSB0"},
      {[&] { bench.refuseNotSerial("COM3:"); }, "COM3: /dev/ttyUSB0 is not a serial device"},
      {[&] { bench.refuseControllingTerminal("COM3:"); },
       "COM3: /dev/ttyUSB0 is this program's own terminal, not a port"},
  };
  dir.write("commport", "COM3:");
  for (const Case& c : cases) {
    bench.addDevice("COM3:", module.responder());
    bench.setDevicePath("COM3:", "/dev/ttyUSB0");
    c.refuse();
    CorvaneOutside fresh(dir.path());
    FakeSerialPort freshPort(bench);
    FakeControlPanel freshPanel;
    CCorvaneDlg d(fresh.env(freshPort, clock, freshPanel));
    d.startUp();
    EXPECT_EQ(fresh.status.messages, Lines{c.said});
    EXPECT_EQ(d.display.receivedText.find("com"), std::string::npos);
    bench.allowOpen("COM3:");
  }
}

TEST_F(StatusReportTest, DetectionSaysInOneLineWhatEachNameDid) {
  module.baud = 115200;
  bench.addDevice("COM1:");
  bench.addDevice("COM2:");
  bench.setDevicePath("COM2:", "/dev/ttyS1");
  bench.refusePermission("COM2:", "dialout");
  bench.addDevice("COM4:", module.responder());
  bench.setDevicePath("COM4:", "/dev/ttyUSB0");
  click(kDetectPort);
  EXPECT_EQ(outside.status.last(),
            "auto detect at 115200 baud: the module answered on COM4: (/dev/ttyUSB0); no "
            "answer on COM1:; no port present for COM3:; COM2: /dev/ttyS1 may not be opened by "
            "this user: join the group dialout and log in again");
  EXPECT_EQ(told().size(), 1u);

  bench.unplug("COM4:");
  click(kDetectPort);
  EXPECT_EQ(outside.status.last(),
            "auto detect at 115200 baud: no module answered; no answer on COM1:; no port "
            "present for COM3: to COM9:; COM2: /dev/ttyS1 may not be opened by this user: join "
            "the group dialout and log in again");
  EXPECT_EQ(panel.text(kReceived), "commport not detected");
}

// The module pulled out in the middle of the work and put back: what the operator is
// told, what the port costs meanwhile, and that the port comes back by itself.
TEST_F(StatusReportTest, ADeviceLostIsSaidClicksAreReportedNotSentAndItComesBack) {
  openModule(module.responder());
  unplugModule();
  click(kTransmit);
  EXPECT_EQ(outside.status.last(),
            "alarm transmission not sent: COM1: the device went away (unplugged?)");
  click(kAudio);
  EXPECT_EQ(outside.status.last(), "option setting not sent: COM1: the device went away (unplugged?)");
  EXPECT_TRUE(sentBytes().empty());

  clearWire();
  tick(20);
  EXPECT_EQ(bench.statCount(kModule), 20);  // one cheap check a tick, nothing else
  EXPECT_EQ(portLog(), Lines(20, "stat COM1:"));

  plugModuleBack();
  const std::size_t before = told().size();
  clearWire();
  tick();
  EXPECT_EQ(portLog(), (Lines{"stat COM1:", "reopen COM1: 9600"}));  // no link test, no reads
  EXPECT_EQ(told().size(), before + 1);
  EXPECT_EQ(outside.status.last(), "COM1: the device is back, open again at 9600 baud");
  tick(3);
  EXPECT_EQ(bench.statCount(kModule), 1);

  clearWire();
  click(kAbort);
  EXPECT_EQ(sentBytes(), "\rA");
  EXPECT_EQ(told().size(), before + 1);  // nothing more to say
}

TEST_F(StatusReportTest, ADeviceLostWhileOnlyTheTickReadsIsSaidOnce) {
  openModule(module.responder());
  unplugModule();
  tick(5);
  EXPECT_EQ(told(), Lines{"COM1: the device went away (unplugged?): it is opened again when it "
                          "is back"});
}

TEST_F(StatusReportTest, ClicksWithoutAnOpenPortSayWhyNothingWasSent) {
  dir.write("commport", "COM5:");
  bench.refusePermission("COM5:", "dialout");
  dlg.startUp();
  click(kFactoryDefault);
  EXPECT_EQ(outside.status.last(),
            "factory default not sent: COM5: the device may not be opened by this user: join the "
            "group dialout and log in again");
  // A click that sends nothing says nothing.
  const std::size_t before = told().size();
  click(kFskF1);
  tick();
  EXPECT_EQ(told().size(), before);
}

// Reproduces "/dev/ttyUSB0" typed into the commport edit being stored as "/dev/tty":
// the next start would have opened the operator's own terminal.
TEST_F(StatusReportTest, ACommportNameTooLongForTheFileLeavesItAsItWasAndSaysWhatToDo) {
  dir.write("commport", "COM2:");
  dlg.startUp();
  replaceText(kCommport, "/dev/ttyUSB0");
  tick();
  EXPECT_EQ(dir.read("commport"), "COM2:");
  EXPECT_EQ(outside.status.last(),
            "commport \"/dev/ttyUSB0\" not saved: ./commport holds 8 characters and keeps "
            "\"COM2:\"; make a link (ln -s /dev/ttyUSB0 ports/COM1) and type COM1:");
  const std::size_t said = told().size();
  tick(3);
  EXPECT_EQ(dir.read("commport"), "COM2:");
  EXPECT_EQ(told().size(), said);  // not again at every tick

  replaceText(kCommport, "COM1:");
  tick();
  EXPECT_EQ(dir.read("commport"), std::string("COM1:\0\0\0", 8));
  EXPECT_EQ(outside.status.last(), "./commport saved");

  // A name that fills the file, pasted over, then a longer one pasted over it: the file
  // keeps exactly the name it held, as the status line says.
  replaceText(kCommport, "ABCDEFGH");
  tick();
  replaceText(kCommport, "ABCDEFGHIJ");
  tick();
  EXPECT_EQ(dir.read("commport"), "ABCDEFGH");
  EXPECT_TRUE(outside.status.saw("commport \"ABCDEFGHIJ\" not saved: ./commport holds 8 "
                                 "characters and keeps \"ABCDEFGH\";"));
}

// Typed a key a tick, the name passes through "/dev/tty", which fits and is stored on
// the way; once the name no longer fits, the file gets back the name it held before.
TEST_F(StatusReportTest, ATooLongNameTypedKeyByKeyLeavesNoPrefixStored) {
  dir.write("commport", "COM2:");
  dlg.startUp();
  const std::string typed = "/dev/ttyUSB0";
  for (std::size_t n = 1; n <= typed.size(); ++n) {
    replaceText(kCommport, typed.substr(0, n));
    tick();
  }
  EXPECT_EQ(dir.read("commport"), std::string("COM2:\0\0\0", 8));
  EXPECT_TRUE(outside.status.saw("commport \"/dev/ttyU\" not saved"));
}

TEST_F(StatusReportTest, ASettingThatCannotBeSavedIsSaidOnceKeptAndSavedWhenItCan) {
  dlg.startUp();
  const std::size_t before = told().size();
  std::filesystem::create_directory(dir / "telephonenumber");
  std::filesystem::create_directory(dir / "protocol2");
  typeInto(kTelephoneNumber, "5551234");
  click(kFskF1);
  tick(5);
  EXPECT_EQ(told().size(), before + 2);
  EXPECT_TRUE(outside.status.saw("./telephonenumber not saved: it is a folder, not a file"))
      << outside.status.last();
  EXPECT_TRUE(outside.status.saw("./protocol2 not saved: it is a folder, not a file"));

  std::filesystem::remove(dir / "telephonenumber");
  std::filesystem::remove(dir / "protocol2");
  tick();
  EXPECT_EQ(dir.read("telephonenumber"), "5551234");
  EXPECT_EQ(dir.read("protocol2"), "1");
  EXPECT_EQ(told().size(), before + 4);
  EXPECT_TRUE(outside.status.saw("./telephonenumber saved"));
  EXPECT_TRUE(outside.status.saw("./protocol2 saved"));
  tick(3);
  EXPECT_EQ(told().size(), before + 4);
}

}  // namespace
