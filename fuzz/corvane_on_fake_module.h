#pragma once

#include <filesystem>

#include "corvane/corvane_dlg.h"
#include "corvane/corvane_outside.h"
#include "fakes/fake_control_panel.h"
#include "fakes/fake_serial_port.h"
#include "fakes/virtual_clock.h"

// Corvane's logic with its port open on a fake module at COM1:, on a virtual clock,
// its files in the given working folder: what a fuzz target drives through the
// controls and checks through the wire and the panel.
struct CorvaneOnFakeModule {
  explicit CorvaneOnFakeModule(const std::filesystem::path& workDir) : outside(workDir) {
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
