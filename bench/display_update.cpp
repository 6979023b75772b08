// What one refresh of the "message received" display costs in CPU time, with the
// display nearly empty and with it full: in terminal mode (16 bytes a tick, the text
// held at 64 KiB) and in normal mode (a line of 25 characters a tick, about 30 lines
// kept). "whole text" is the refresh as it was, setting the whole converted text
// whenever it changed; "in place" is MultiLineEdit::setBytes, which appends the new
// tail and drops the removed head. Each is given for the refresh alone and with the
// repaint it causes.
// Runs offscreen: ./build/display_update [part of a case name, e.g. "terminal, full"]

#include <time.h>

#include <QApplication>
#include <QScrollBar>
#include <QTextDocument>
#include <cstdio>
#include <functional>
#include <string>

#include "common/qt/latin1_text.h"
#include "common/qt/multi_line_edit.h"

namespace {

constexpr std::size_t kTerminalCapBytes = 64 * 1024 - 2;
constexpr int kTicks = 300;

double threadCpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// The refresh as it was: convert the whole text, compare it with the shown one, and
// set all of it when it differs.
void setWholeText(MultiLineEdit& edit, const std::string& bytes) {
  QString shown = bytesToDisplayText(bytes);
  QString raw = edit.document()->toRawText();
  raw.replace(QChar::ParagraphSeparator, QChar(u'\n'));
  if (shown == raw) return;
  const QSignalBlocker quiet(edit);
  edit.setPlainText(shown);
  edit.moveCursor(QTextCursor::End);
  edit.ensureCursorVisible();
  edit.verticalScrollBar()->setValue(edit.verticalScrollBar()->maximum());
}

// The next text of the display after one tick.
using Feed = std::function<void(std::string& text, int tick)>;

void terminalFeed(std::string& text, int tick) {
  for (int i = 0; i < 16; ++i) text += static_cast<char>('A' + (tick + i) % 26);
  if (tick % 5 == 0) text += "\r\n";
  if (text.size() > kTerminalCapBytes) text.erase(0, text.size() - kTerminalCapBytes);
}

void normalFeed(std::string& text, int tick) {
  text += "MESSAGE SUCCESS " + std::to_string(100000 + tick) + "\r\n";
  int lines = 0;
  for (char c : text) lines += c == '\n';
  if (lines > 30) text.erase(0, text.find('\n') + 1);
}

using Update = std::function<void(MultiLineEdit&, const std::string&)>;

struct Cost {
  double update;  // ms per tick, the refresh of the text alone
  double total;   // with the repaint and the rest of the event processing
};

Cost msPerTick(const Update& update, const Feed& feed, const std::string& start) {
  MultiLineEdit edit(nullptr);
  edit.resize(585, 533);  // 1003 at the 8-point dialog font
  edit.show();
  std::string text = start;
  update(edit, text);
  QCoreApplication::processEvents();
  double before = threadCpuMs();
  double updating = 0;
  for (int tick = 0; tick < kTicks; ++tick) {
    feed(text, tick);
    double start = threadCpuMs();
    update(edit, text);
    updating += threadCpuMs() - start;
    QCoreApplication::processEvents();  // the repaint the change asks for
  }
  return {updating / kTicks, (threadCpuMs() - before) / kTicks};
}

std::string terminalText(std::size_t bytes) {
  std::string text;
  for (int tick = 0; text.size() < bytes; ++tick) terminalFeed(text, tick);
  return text;
}

std::string fullNormalText() {
  std::string text;
  for (int tick = 0; tick < 40; ++tick) normalFeed(text, tick);
  return text;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const Update whole = setWholeText;
  const Update inPlace = [](MultiLineEdit& edit, const std::string& bytes) {
    edit.setBytes(bytes);
  };
  struct Case {
    const char* name;
    Feed feed;
    std::string start;
  };
  const Case cases[] = {
      {"terminal, empty display ", terminalFeed, ""},
      // More than the box shows, so the repaint costs as much as with a full text.
      {"terminal, 4 KiB         ", terminalFeed, terminalText(4 * 1024)},
      {"terminal, full 64 KiB   ", terminalFeed, terminalText(kTerminalCapBytes)},
      {"normal, empty display   ", normalFeed, ""},
      {"normal, full 30 lines   ", normalFeed, fullNormalText()},
  };
  std::printf("CPU ms per tick of the display refresh (%d ticks each)\n",
              kTicks);
  std::printf("%-26s %25s %25s\n", "", "whole text", "in place");
  std::printf("%-26s %12s %12s %12s %12s\n", "", "update", "+ repaint", "update", "+ repaint");
  const std::string only = argc > 1 ? argv[1] : "";
  for (const Case& c : cases) {
    if (std::string(c.name).find(only) == std::string::npos) continue;
    Cost before = msPerTick(whole, c.feed, c.start);
    Cost after = msPerTick(inPlace, c.feed, c.start);
    std::printf("%-26s %12.3f %12.3f %12.3f %12.3f\n", c.name, before.update, before.total,
                after.update, after.total);
  }
  return 0;
}
