#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_control_panel.h"
#include "fakes/operator_actions.h"
#include "fakes/recording_status_line.h"
#include "fakes/fake_serial_port.h"
#include "fakes/temp_dir.h"
#include "fakes/virtual_clock.h"
#include "halvard/control_ids.h"
#include "halvard/halvard_dlg.h"

// One Halvard dialog on two fake ports of one bench, a virtual clock, a map of
// controls and a fresh working directory. Tests lay out the files and devices they
// need, then call start().
class HalvardFixture : public ::testing::Test {
 protected:
  using Event = FakeSerialBench::Event;

  HalvardFixture() : HalvardFixture(SettingsFiles::onDisk()) {}
  // The settings files in files (which must outlive the fixture) instead.
  explicit HalvardFixture(SettingsFiles& files)
      : bench(clock),
        mainPort(bench),
        secondPort(bench),
        dlg(CHalvardDlg::Environment{mainPort, secondPort, clock, panel, status, dir.path(), files}) {}

  // The two folders of an installed copy, empty.
  void makeFolders() {
    dir.makeDir("program");
    dir.makeDir("programEmail");
  }
  void start() { dlg.startUp(); }

  // Operator actions: change a control as the operator would, then the notification.
  void typeInto(int id, const std::string& text) { operator_actions::typeInto(panel, dlg, id, text); }
  void replaceText(int id, const std::string& text) {
    operator_actions::replaceText(panel, dlg, id, text);
  }
  void click(int id) { operator_actions::click(panel, dlg, id); }
  void tick(int times = 1) { operator_actions::tick(dlg, times); }

  // Every port event in order, e.g. "open COM1: 9600", "write COM1: R50", "fail COM4:".
  std::vector<std::string> portLog() const {
    return bench.log();
  }
  void clearLog() {
    bench.clearEvents();
    clock.clearPauses();
  }

  TempDir dir;
  VirtualClock clock;
  FakeSerialBench bench;
  FakeSerialPort mainPort;
  FakeSerialPort secondPort;
  FakeControlPanel panel;
  RecordingStatusLine status;  // what the operator was told
  CHalvardDlg dlg;
};
