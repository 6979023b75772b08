#include <cstddef>
#include <string>

#include "common/port_status_text.h"
#include "halvard/halvard_dlg.h"
#include "halvard/halvard_fields.h"
#include "halvard/halvard_files.h"
#include "halvard/port_wake_up.h"

namespace {

constexpr int kSettleMs = 100;
constexpr std::size_t kDiscardReadBytes = 100;

// "main port COM3: is /dev/ttyUSB0, open at 9600 baud", or why it did not open.
std::string portOpenWords(const char* role, SerialPort& port, const std::string& name) {
  if (port.isOpen()) return role + describePortOpened(name, port.device(), port.baud());
  return role + describePortProblem(name, port.problem());
}

}  // namespace

void CHalvardDlg::startUp() {
  // The second port is only held, never read: opening it keeps whatever is on it
  // from being taken for the module by the port search.
  commPort2 = files_.readPortName(halvard_files::kSecondPort);
  wakeUpPort(secondPort(), commPort2);
  // An empty ./commport2 means no second port, the usual case: nothing to say then.
  if (!commPort2.empty()) status().show(portOpenWords("second port ", secondPort(), commPort2));

  commPort = files_.readPortName(halvard_files::kMainPort);
  wakeUpPort(mainPort(), commPort);
  if (commPort.empty()) {
    status().show(std::string("no main port is stored in ") + halvard_files::kMainPort +
                  ": type one such as COM1: or use AUTO COMMPORT DETECTION");
  } else if (commPort == commPort2 && secondPort().isOpen()) {
    status().show("main port " + commPort + " is held as the second port, named in " +
                  halvard_files::kSecondPort + ": the main port is not open");
  } else {
    status().show(portOpenWords("main port ", mainPort(), commPort));
  }
  env_.clock.pauseMs(kSettleMs);
  mainPort().readAvailable(kDiscardReadBytes);  // the module's answer to the CRs

  // Every field starts empty, so each ends up with its file's text, and USER NAME
  // with user.txt's followed by username.txt's. A missing file is not created.
  for (const char* file : halvard_fields::readOrder()) {
    const halvard_fields::Field& field = *halvard_fields::byReadFile(file);
    std::string bytes = files_.readText(file, field.readBytes);
    bool printableOnly = field.read == halvard_fields::Read::kPrintableOnly;
    this->*field.text += printableOnly ? halvard_files::keepPrintable(bytes) : bytes;
  }

  // Empty fields would otherwise look like settings lost.
  if (!files_.emailFolderExists()) {
    status().show(std::string("the folder ") + halvard_files::kEmailFolder +
                  " is missing: the e-mail settings start empty; create it to save them");
  }

  bool on = files_.readEmailSwitch();
  enableEmail = on ? 0 : 1;
  emailSwitch = on ? 1 : 0;

  loadControls();
}
