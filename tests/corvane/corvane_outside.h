#pragma once

#include <filesystem>
#include <functional>

#include "common/history_file.h"
#include "corvane/beep.h"
#include "corvane/corvane_dlg.h"
#include "corvane/poll_timer.h"
#include "fakes/recording_status_line.h"

// Stand-ins for the parts of Corvane's outside that are its own interfaces.

// Counts the restarts the tick asks for.
struct RecordingPollTimer : PollTimer {
  void restart() override { ++restarts; }
  int restarts = 0;
};

// A beep that counts its calls and runs onBeep, so a test can see what had happened
// on the line at the moment of the beep.
struct RecordingBeep : Beep {
  void load() override { ++loads; }
  void beep() override {
    ++beeps;
    if (onBeep) onBeep();
  }
  int loads = 0;
  int beeps = 0;
  std::function<void()> onBeep;
};

// Everything a CCorvaneDlg is given besides its port, clock and panel: the stand-ins
// above, the status line that records what the user is told, and the real history
// file in dir.
struct CorvaneOutside {
  explicit CorvaneOutside(const std::filesystem::path& dir)
      : workDir(dir), history(dir / "zm40demohistory") {}

  CCorvaneDlg::Environment env(SerialPort& port, Clock& clock, ControlPanel& panel,
                               SettingsFiles& files = SettingsFiles::onDisk()) {
    return CCorvaneDlg::Environment{port,   clock,   panel,   pollTimer, beep,
                                    history, status, workDir, nullptr,   files};
  }

  std::filesystem::path workDir;
  RecordingPollTimer pollTimer;
  RecordingBeep beep;
  LockedHistoryFile history;
  RecordingStatusLine status;
};
