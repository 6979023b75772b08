#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <memory>

#include "common/history_file.h"
#include "common/status_line.h"
#include "corvane/beep.h"
#include "corvane/view/corvane_window.h"
#include "fakes/fake_serial_port.h"
#include "fakes/recording_status_line.h"
#include "fakes/temp_dir.h"
#include "fakes/virtual_clock.h"

// The real Corvane window in a fresh working directory, on a fake bench and a virtual
// clock, so its start-up takes no real time. A test writes the settings files it wants
// first, then opens the window; the poll timer is stopped after start-up, and the
// test ticks by hand. `beyond` records what the status line tells stderr and the
// session log.
class CorvaneWindowFixture : public ::testing::Test {
 protected:
  CorvaneWindowFixture() : bench(clock), port(bench) { status.add(&beyond); }

  void openWindow() {
    window = std::make_unique<CorvaneWindow>(port, clock, beep, history, status, dir.path());
    timerWasActive = window->pollTimer().isActive();
    window->pollTimer().stop();
  }
  QLineEdit* edit(int id) { return qobject_cast<QLineEdit*>(window->control(id)); }
  void tick(int times = 1) {
    for (int i = 0; i < times; ++i) window->logic().onTimer();
  }

  TempDir dir;
  VirtualClock clock;
  FakeSerialBench bench;
  FakeSerialPort port;
  PellixBeep beep{"libpellix-missing.so"};
  LockedHistoryFile history{dir / "zm40demohistory"};
  RecordingStatusLine beyond;
  StatusFanOut status;
  std::unique_ptr<CorvaneWindow> window;
  bool timerWasActive = false;
};
