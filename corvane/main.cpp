#include <QApplication>
#include <filesystem>

#include "common/history_file.h"
#include "common/steady_clock.h"
#include "common/stderr_status_line.h"
#include "common/termios_serial_port.h"
#include "corvane/beep.h"
#include "corvane/view/corvane_window.h"

// Corvane runs its one dialog modally and ends when it closes. The settings files and
// the port links live in the working directory it is started in.
int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Corvane"));
  std::filesystem::path workDir = std::filesystem::current_path();
  TermiosSerialPort port(workDir);
  SteadyClock clock;
  PellixBeep beep("libpellix.so");
  LockedHistoryFile history(workDir / "zm40demohistory");
  StderrStatusLine status("corvane");
  CorvaneWindow window(port, clock, beep, history, status, workDir);
  window.exec();
  return 0;
}
