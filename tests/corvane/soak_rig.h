#pragma once

#include <time.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "corvane/control_ids.h"
#include "corvane/corvane_dlg.h"
#include "corvane_outside.h"
#include "fakes/fake_control_panel.h"
#include "fakes/fake_serial_port.h"
#include "fakes/temp_dir.h"
#include "fakes/virtual_clock.h"

// Corvane left running on the fakes for as long as asked: the whole poll tick, 100 ms
// of virtual time apart, with what the line brings each tick. Shared by the soak test
// (a day) and bench/soak (a week), so both see the same program.
class SoakRig {
 public:
  enum class Line {
    kNoModule,  // nothing ever comes: a time-out every 501 ticks
    kFlood,     // the module talks faster than the tick reads: 60 bytes of lines a tick
    kLfStream,  // line noise of LF bytes, 60 a tick
    kCrStream,  // line noise of CR bytes, 60 a tick
  };
  static constexpr std::int64_t kTicksPerDay = 24 * 60 * 60 * 10;

  explicit SoakRig(Line line, bool terminalMode = false)
      : line_(line),
        terminalMode_(terminalMode),
        bench_(clock_),
        port_(bench_),
        dlg_(outside_.env(port_, clock_, panel_)) {
    bench_.addDevice(kModule);
    port_.open(kModule, 9600);
    outside_.history.create();
    if (terminalMode) dlg_.terminalSelected = 0;
  }

  // One tick: the line's bytes for it, then the tick, then a look at the display.
  void tick() {
    bench_.replyWith(kModule, bytesForTick());
    clock_.advance(100);
    if (timed_) {
      const double start = threadCpuUs();
      dlg_.onTimer();
      tickCpuUs_ += threadCpuUs() - start;
    } else {
      dlg_.onTimer();
    }
    const ReceivedDisplay& display = dlg_.display;
    maxChars_ = std::max(maxChars_, display.receivedText.size());
    maxLines_ = std::max(maxLines_, display.lineCount);
    minLines_ = std::min(minLines_, display.lineCount);
    if (!terminalMode_) {
      const auto ends = std::count(display.receivedText.begin(), display.receivedText.end(), '\n');
      maxDrift_ = std::max<std::int64_t>(maxDrift_, display.lineCount - ends);
    }
    // The bench keeps a record of every read and pause; a day of them is not needed.
    if (++ticks_ % 10000 == 0) {
      bench_.clearEvents();
      clock_.clearPauses();
    }
  }
  // What the line brings from the next tick on; bytes queued once besides.
  void setLine(Line line) { line_ = line; }
  void replyOnce(std::string_view bytes) { bench_.replyWith(kModule, bytes); }
  void run(std::int64_t ticks) {
    for (std::int64_t i = 0; i < ticks; ++i) tick();
  }

  const CCorvaneDlg& dlg() const { return dlg_; }
  const std::string& shown() const { return dlg_.display.receivedText; }
  std::string shownInControl() const { return panel_.text(corvane_ids::kReceived); }
  std::size_t maxChars() const { return maxChars_; }
  int maxLines() const { return maxLines_; }
  int minLines() const { return minLines_; }
  // Normal mode: the most the line count ever stood above the line ends of the text.
  std::int64_t maxDrift() const { return maxDrift_; }
  std::int64_t ticks() const { return ticks_; }
  // Whether tick() measures the CPU time of the tick (two system calls a tick).
  void timeTicks(bool on) { timed_ = on; }
  // CPU time spent in the tick itself since the last call, in microseconds.
  double takeTickCpuUs() { return std::exchange(tickCpuUs_, 0.0); }
  std::string history() const { return dir_.read("zm40demohistory"); }

 private:
  static constexpr const char* kModule = "COM1:";

  static double threadCpuUs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e6 + static_cast<double>(ts.tv_nsec) / 1e3;
  }

  std::string bytesForTick() const {
    switch (line_) {
      case Line::kNoModule:
        return {};
      case Line::kFlood: {
        // Two lines a tick of a talkative module, numbered so no two ticks look alike.
        const std::string n = std::to_string(100000 + ticks_ % 900000);
        return "EVENT " + n + " IN ZONE 1234567\r\n" + "EVENT " + n + " IN ZONE 7654321\r\n";
      }
      case Line::kLfStream:
        return std::string(60, '\n');
      case Line::kCrStream:
        return std::string(60, '\r');
    }
    return {};
  }

  Line line_;
  bool terminalMode_;
  TempDir dir_;
  VirtualClock clock_;
  FakeSerialBench bench_;
  FakeSerialPort port_;
  FakeControlPanel panel_;
  CorvaneOutside outside_{dir_.path()};
  CCorvaneDlg dlg_;
  std::int64_t ticks_ = 0;
  std::size_t maxChars_ = 0;
  int maxLines_ = 0;
  int minLines_ = 0;
  std::int64_t maxDrift_ = 0;
  double tickCpuUs_ = 0;
  bool timed_ = false;
};
