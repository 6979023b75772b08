#pragma once

#include "corvane/corvane_dlg.h"
#include "corvane/corvane_outside.h"
#include "fakes/fake_control_panel.h"
#include "fakes/fake_serial_port.h"
#include "fakes/temp_dir.h"
#include "fakes/virtual_clock.h"

// Corvane's logic with its port open on a fake module at COM1:, on a virtual clock,
// its files in workDir(): what a fuzz target drives through the controls and checks
// through the wire and the panel.
struct CorvaneOnFakeModule {
  // One folder for the fuzzer process: each input starts a fresh dialog in it.
  static const TempDir& workDir() {
    static const TempDir dir;
    return dir;
  }

  CorvaneOnFakeModule() : outside(workDir().path()) {
    bench.addDevice("COM1:");
    port.open("COM1:", 9600);
  }

  VirtualClock clock;
  FakeSerialBench bench{clock};
  FakeSerialPort port{bench};
  FakeControlPanel panel;
  CorvaneOutside outside;
  CCorvaneDlg dlg{outside.env(port, clock, panel)};
};
