#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corvane/control_ids.h"
#include "corvane/corvane_dlg.h"
#include "corvane_outside.h"
#include "fakes/fake_control_panel.h"
#include "fakes/operator_actions.h"
#include "fakes/fake_serial_port.h"
#include "fakes/temp_dir.h"
#include "fakes/virtual_clock.h"

// One Corvane dialog on a fake port, a virtual clock, a map of controls and a fresh
// working directory with the real history file in it. The module is a fake device "COM1:" that the port is opened on
// by openModule(); tests script its replies and read back every write with its time.
class CorvaneFixture : public ::testing::Test {
 protected:
  static constexpr const char* kModule = "COM1:";

  CorvaneFixture() : CorvaneFixture(SettingsFiles::onDisk()) {}
  // The settings and message files in files (which must outlive the fixture) instead.
  explicit CorvaneFixture(SettingsFiles& files)
      : bench(clock), port(bench), dlg(outside.env(port, clock, panel, files)) {}

  // A module on COM1: that answers through responder (may be empty), with the
  // port already open on it, as start-up would leave it.
  void openModule(FakeSerialBench::Responder responder = {}, int baud = 9600) {
    bench.addDevice(kModule, std::move(responder));
    port.open(kModule, baud);
    bench.clearEvents();
    clock.clearPauses();
  }
  void replyWith(std::string_view bytes) { bench.replyWith(kModule, bytes); }
  // The module open and message 1 ready to go to 5551234, the AC copy as a module
  // fresh from the factory holds it (full level, run bit).
  void readyToSend(const std::string& message) {
    openModule();
    dlg.telephoneNumber = "5551234";
    dlg.alarmMessage1 = message;
    dlg.shadows.shadowAC = 0x81;
  }
  // The operator's choice of format: its button alone shown selected, its code as
  // ./protocol2 holds it.
  void selectFormat(int CCorvaneDlg::*field, char code) {
    for (int CCorvaneDlg::*format : {&CCorvaneDlg::contactIdSelected, &CCorvaneDlg::fskF1Selected,
                                     &CCorvaneDlg::pulse4x2Selected, &CCorvaneDlg::fskF2Selected})
      dlg.*format = -1;
    dlg.*field = 0;
    dlg.protocolCode = code;
  }

  // Operator actions: change a control as the operator would, then the notification.
  void typeInto(int id, const std::string& text) { operator_actions::typeInto(panel, dlg, id, text); }
  void replaceText(int id, const std::string& text) {
    operator_actions::replaceText(panel, dlg, id, text);
  }
  void click(int id) { operator_actions::click(panel, dlg, id); }
  void tick(int times = 1) { operator_actions::tick(dlg, times); }

  // Everything written to the module since openModule() (or clearWire()).
  std::string sentBytes() const { return bench.written(kModule); }
  std::vector<std::string> sentWrites() const { return bench.writes(); }
  // Every port event since openModule() (or clearWire()), e.g. "write COM1: R80",
  // "gone COM1:", "lost COM1: W3D01", "stat COM1:", "reopen COM1: 9600".
  std::vector<std::string> portLog() const { return bench.log(); }
  // The module's USB adapter pulled out and put back (see FakeSerialBench).
  void unplugModule() { bench.unplug(kModule); }
  void plugModuleBack() { bench.plugBack(kModule); }
  void clearWire() {
    bench.clearEvents();
    clock.clearPauses();
  }

  TempDir dir;
  VirtualClock clock;
  FakeSerialBench bench;
  FakeSerialPort port;
  FakeControlPanel panel;
  CorvaneOutside outside{dir.path()};
  CCorvaneDlg dlg;
};
