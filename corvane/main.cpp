#include <QApplication>
#include <filesystem>

#include "common/steady_clock.h"
#include "common/termios_serial_port.h"
#include "corvane/view/corvane_window.h"

// Corvane runs its one dialog modally and ends when it closes. The settings files and
// the port links live in the working directory it is started in.
int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Corvane"));
  std::filesystem::path workDir = std::filesystem::current_path();
  TermiosSerialPort port(workDir);
  SteadyClock clock;
  CorvaneWindow window(port, clock, workDir);
  window.exec();
  return 0;
}
