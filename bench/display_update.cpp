// What one refresh of the "message received" display costs in CPU time, with the
// display nearly empty and with it full: in terminal mode (16 bytes a tick, the text
// held near 64 KiB) and in normal mode (a line of 25 characters a tick, about 30 lines
// kept). "cut every tick" holds the terminal text at its cap by dropping its head at
// every tick once full, as the display did before; "ReceivedDisplay" is the display's
// own rule, which drops 4 KiB more once full, so the head is cut once every few hundred
// ticks. Normal mode is the same in both (its 30-line trim is the operator's). Each is
// given for the refresh alone (MultiLineEdit::setBytes) and with the repaint it causes.
// Runs offscreen: ./build/display_update [part of a case name, e.g. "terminal, full"]

#include <time.h>

#include <QApplication>
#include <cstdio>
#include <functional>
#include <string>

#include "common/qt/multi_line_edit.h"
#include "corvane/state/received_display.h"

namespace {

constexpr std::size_t kTerminalCapBytes = ReceivedDisplay::kTerminalMaxChars - 2;
constexpr int kTicks = 600;

double threadCpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// The display after one more tick.
using Feed = std::function<void(ReceivedDisplay& display, int tick)>;

void terminalBytes(ReceivedDisplay& display, int tick) {
  std::string bytes;
  for (int i = 0; i < 16; ++i) bytes += static_cast<char>('A' + (tick + i) % 26);
  display.showRaw(bytes);
  if (tick % 5 == 0) display.show("\r\n");
}

void terminalCutEveryTick(ReceivedDisplay& display, int tick) {
  terminalBytes(display, tick);
  std::string& text = display.receivedText;
  if (text.size() > kTerminalCapBytes) text.erase(0, text.size() - kTerminalCapBytes);
}

void terminalInChunks(ReceivedDisplay& display, int tick) {
  terminalBytes(display, tick);
  display.capTerminalText();
}

void normalFeed(ReceivedDisplay& display, int tick) {
  display.showReceived("MESSAGE SUCCESS " + std::to_string(100000 + tick) + "\r\n");
  display.trimOldestLine();
}

struct Cost {
  double update;  // ms per tick, the refresh of the text alone
  double total;   // with the repaint and the rest of the event processing
};

// The display as the feed leaves it after `ticks` ticks, or once it holds `bytes`.
ReceivedDisplay filled(const Feed& feed, int ticks, std::size_t bytes) {
  ReceivedDisplay display;
  for (int tick = 0; tick < ticks && display.receivedText.size() < bytes; ++tick) feed(display, tick);
  return display;
}

Cost msPerTick(const Feed& feed, ReceivedDisplay display) {
  MultiLineEdit edit(nullptr);
  edit.resize(585, 533);  // 1003 at the 8-point dialog font
  edit.show();
  edit.setBytes(display.receivedText);
  QCoreApplication::processEvents();
  double before = threadCpuMs();
  double updating = 0;
  for (int tick = 0; tick < kTicks; ++tick) {
    feed(display, tick);
    double start = threadCpuMs();
    edit.setBytes(display.receivedText);
    updating += threadCpuMs() - start;
    QCoreApplication::processEvents();  // the repaint the change asks for
  }
  return {updating / kTicks, (threadCpuMs() - before) / kTicks};
}

}  // namespace

int main(int argc, char* argv[]) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  constexpr int kFillTicks = 1 << 20;
  constexpr std::size_t kFull = kTerminalCapBytes - 32;
  struct Case {
    const char* name;
    Feed before;
    Feed now;
    int startTicks;
    std::size_t startBytes;
  };
  const Case cases[] = {
      {"terminal, empty display ", terminalCutEveryTick, terminalInChunks, 0, 0},
      // More than the box shows, so the repaint costs as much as with a full text.
      {"terminal, 4 KiB         ", terminalCutEveryTick, terminalInChunks, kFillTicks, 4 * 1024},
      {"terminal, full 64 KiB   ", terminalCutEveryTick, terminalInChunks, kFillTicks, kFull},
      {"normal, empty display   ", normalFeed, normalFeed, 0, 0},
      {"normal, full 30 lines   ", normalFeed, normalFeed, 40, kFull},
  };
  std::printf("CPU ms per tick of the display refresh (%d ticks each)\n", kTicks);
  std::printf("%-26s %25s %25s\n", "", "cut every tick (before)", "ReceivedDisplay");
  std::printf("%-26s %12s %12s %12s %12s\n", "", "update", "+ repaint", "update", "+ repaint");
  const std::string only = argc > 1 ? argv[1] : "";
  for (const Case& c : cases) {
    if (std::string(c.name).find(only) == std::string::npos) continue;
    Cost before = msPerTick(c.before, filled(c.before, c.startTicks, c.startBytes));
    Cost now = msPerTick(c.now, filled(c.now, c.startTicks, c.startBytes));
    std::printf("%-26s %12.3f %12.3f %12.3f %12.3f\n", c.name, before.update, before.total,
                now.update, now.total);
  }
  return 0;
}
