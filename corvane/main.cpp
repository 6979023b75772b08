#include <filesystem>
#include <optional>

#include "common/command_line.h"
#include "common/qt/program_start.h"
#include "common/qt/quit_on_signals.h"
#include "common/history_file.h"
#include "common/steady_clock.h"
#include "common/stderr_status_line.h"
#include "common/termios_serial_port.h"
#include "corvane/beep.h"
#include "corvane/logged_serial_port.h"
#include "corvane/plan/plan_command.h"
#include "corvane/session_log.h"
#include "corvane/view/corvane_window.h"

// Corvane runs its one dialog modally and ends when it closes. The settings files and
// the port links live in the working directory it is started in.
int main(int argc, char* argv[]) {
  // --help, --version and the test plans (--run, --check) end here, without a display;
  // --desktop enters the shared folder.
  const ProgramInfo program{"corvane", "The control and test program of the ZM40/ZM42 alarm dialer module.", true};
  if (std::optional<int> status = startCorvaneFromCommandLine(program, argc, argv)) return *status;
  const ProgramStart start(argc, argv, "Corvane");
  const std::filesystem::path& workDir = start.workDir();
  TermiosSerialPort port(workDir);
  SteadyClock clock;
  PellixBeep beep("libpellix.so");
  LockedHistoryFile history(workDir / "zm40demohistory");
  // Every status message goes to stderr, to the window's own line and to ./corvane.log,
  // which also keeps every byte on the wire.
  StderrStatusLine toStderr("corvane");
  StatusFanOut status;
  status.add(&toStderr);
  SessionLog log(workDir, SessionLog::steadySinceNow(), status);
  status.add(&log.statusNotes());
  LoggedSerialPort loggedPort(port, log);
  CorvaneWindow window(loggedPort, clock, beep, history, status, workDir, &log);
  quitOnSignals(window);
  window.exec();
  // Enter, Escape, the close box and the quit signals all end here.
  log.noteEnd("closed");
  log.flush();  // while every status line is still there
  return 0;
}
