#include <cstdlib>
#include <memory>
#include <string>
#include <filesystem>
#include <optional>

#include "common/command_line.h"
#include "common/status_line.h"
#include "common/qt/program_start.h"
#include "common/qt/quit_on_signals.h"
#include "common/steady_clock.h"
#include "common/stderr_status_line.h"
#include "common/termios_serial_port.h"
#include "halvard/test_email/curl_transport.h"
#include "halvard/view/halvard_window.h"

namespace {

// The loopback tests' own certificate authority, for trying the window against a test
// server; never set in use. The certificates are verified all the same.
constexpr const char* kTestAuthorityVariable = "HALVARD_TEST_CA_FILE";

}  // namespace

// Halvard runs its one dialog modally and ends when it closes. Its settings files
// live in the working directory it is started in.
int main(int argc, char* argv[]) {
  // --help and --version end here, without a display; --desktop enters the shared folder.
  const ProgramInfo program{"halvard", "The settings program of the ZM40/ZM42 module's e-mail forwarding."};
  if (std::optional<int> status = startFromCommandLine(program, argc, argv)) return *status;
  const ProgramStart start(argc, argv, "Halvard");
  const std::filesystem::path& workDir = start.workDir();
  TermiosSerialPort mainPort(workDir);
  TermiosSerialPort secondPort(workDir);
  SteadyClock clock;
  // Every message goes to stderr and, while the window lives, to its own status line.
  StderrStatusLine stderrLine("halvard");
  StatusFanOut status;
  status.add(&stderrLine);
  const char* testAuthority = std::getenv(kTestAuthorityVariable);
  std::string authority = testAuthority != nullptr ? testAuthority : "";
  HalvardWindow window(mainPort, secondPort, clock, status, workDir, std::make_unique<CurlTransport>(authority));
  if (!authority.empty()) {
    status.show("Test e-mails trust only the authority in " + authority + " (" + kTestAuthorityVariable +
                "), not the system's store");
  }
  quitOnSignals(window);
  window.exec();
  return 0;
}
